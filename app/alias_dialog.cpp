#include "app/alias_dialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/memory_option_store.h"
#include "tables/database_engine.h"
#include "tables/table_environment.h"

namespace {

constexpr CEngineKind kEngines[] = {CEngineKind::Sqlite, CEngineKind::Postgres, CEngineKind::Dbase};

// Wide enough for a connection string or a path of some depth.
constexpr int kLocationWidth = 380;

// An example of each engine's location, shown while the field is empty.
QString LocationExample(CEngineKind kind) {
    switch (kind) {
    case CEngineKind::Sqlite: return "claims.db";
    case CEngineKind::Postgres: return "host=/run/postgresql dbname=claims";
    case CEngineKind::Dbase: return "a folder of .dbf files";
    }
    return QString();
}

}  // namespace

TfrmAlias::TfrmAlias(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Database Alias");
    setModal(true);
    edName = new QLineEdit(this);
    cbEngine = new QComboBox(this);
    for (CEngineKind kind : kEngines) cbEngine->addItem(EngineKindName(kind));
    edLocation = new QLineEdit(this);
    edLocation->setMinimumWidth(kLocationWidth);
    bttBrowse = new QPushButton("&Browse...", this);
    bttBrowse->setAutoDefault(false);
    bttBrowse->setToolTip("Choose the database file, or the folder of .dbf files");
    edLocation->setToolTip("A database file, a postgresql:// URI or host=... dbname=... keywords, "
                           "or a directory of .dbf files. Keep passwords in PGPASSWORD or ~/.pgpass.");
    lbTestResult = new QLabel(this);
    lbTestResult->setWordWrap(true);
    bttTest = new QPushButton("&Test", this);
    bttTest->setAutoDefault(false);
    bttOK = new QPushButton("&OK", this);
    bttOK->setDefault(true);
    bttCancel = new QPushButton("&Cancel", this);
    bttCancel->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow("&Name:", edName);
    form->addRow("&Engine:", cbEngine);
    auto *location = new QHBoxLayout;
    location->addWidget(edLocation, 1);
    location->addWidget(bttBrowse);
    form->addRow("&Location:", location);
    // The label's buddy is the field, not the row's layout.
    if (auto *label = qobject_cast<QLabel *>(form->labelForField(location))) label->setBuddy(edLocation);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bttTest);
    buttons->addStretch();
    buttons->addWidget(bttOK);
    buttons->addWidget(bttCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lbTestResult);
    layout->addLayout(buttons);

    connect(bttTest, &QPushButton::clicked, this, &TfrmAlias::TestConnection);
    connect(bttBrowse, &QPushButton::clicked, this, &TfrmAlias::BrowseLocation);
    connect(cbEngine, &QComboBox::currentTextChanged, this, &TfrmAlias::UpdateControls);
    connect(bttOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bttCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edName, &QLineEdit::textChanged, this, &TfrmAlias::UpdateControls);
    connect(edLocation, &QLineEdit::textChanged, this, &TfrmAlias::UpdateControls);
    connect(edLocation, &QLineEdit::textEdited, this, [this](const QString &text) {
        // Suggest the engine the location's form asks for.
        if (IsPostgresLocation(text.toStdString())) cbEngine->setCurrentText(EngineKindName(CEngineKind::Postgres));
    });
    UpdateControls();
}

void TfrmAlias::Load(const CAliasDefinition &alias, bool isNew) {
    edName->setText(QString::fromStdString(alias.name));
    edName->setReadOnly(!isNew);
    cbEngine->setCurrentText(EngineKindName(alias.kind));
    edLocation->setText(QString::fromStdString(alias.location));
    lbTestResult->clear();
    UpdateControls();
}

CAliasDefinition TfrmAlias::Alias() const {
    CAliasDefinition alias;
    alias.name = edName->text().trimmed().toStdString();
    alias.location = edLocation->text().trimmed().toStdString();
    EngineKindFromName(cbEngine->currentText().toStdString(), alias.kind);
    return alias;
}

void TfrmAlias::TestConnection() {
    // The alias as it stands in the dialog, not yet stored.
    CMemoryOptionStore trial;
    CAliasRegistry(&trial).Define(Alias());
    CTableEnvironment environment;
    environment.aliasStore = &trial;
    std::vector<std::string> tables;
    const CString name = Alias().name.c_str();
    if (environment.Engine().ListTables(name, tables) == 0)
        lbTestResult->setText(QString("Opened: %1 table(s).").arg(tables.size()));
    else
        lbTestResult->setText("Cannot open the database: " +
                              QString::fromStdString(environment.Engine().LastFailure()));
}

void TfrmAlias::BrowseLocation() {
    const CEngineKind kind = Alias().kind;
    // A location of another engine's form (a connection string) is no
    // place to start from.
    QString now = edLocation->text().trimmed();
    if (!QFileInfo::exists(now)) now.clear();
    const QString chosen =
        kind == CEngineKind::Dbase
            ? QFileDialog::getExistingDirectory(this, "Folder of .dbf files", now)
            : QFileDialog::getOpenFileName(this, "Database file", now,
                                           "SQLite databases (*.db *.sqlite *.sqlite3);;All files (*)");
    if (!chosen.isEmpty()) edLocation->setText(chosen);
}

void TfrmAlias::UpdateControls() {
    const bool complete = !edName->text().trimmed().isEmpty() && !edLocation->text().trimmed().isEmpty();
    bttOK->setEnabled(complete);
    bttTest->setEnabled(complete);
    // A server is named by its connection string: there is nothing to browse.
    const CEngineKind kind = Alias().kind;
    bttBrowse->setEnabled(kind != CEngineKind::Postgres);
    edLocation->setPlaceholderText(LocationExample(kind));
}
