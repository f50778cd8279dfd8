#include "app/alias_dialog.h"

#include <QComboBox>
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

}  // namespace

TfrmAlias::TfrmAlias(QWidget *parent) : QDialog(parent) {
    setWindowTitle("Database Alias");
    setModal(true);
    edName = new QLineEdit(this);
    cbEngine = new QComboBox(this);
    for (CEngineKind kind : kEngines) cbEngine->addItem(EngineKindName(kind));
    edLocation = new QLineEdit(this);
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
    form->addRow("&Location:", edLocation);
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
    connect(bttOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bttCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edName, &QLineEdit::textChanged, this, &TfrmAlias::UpdateButtons);
    connect(edLocation, &QLineEdit::textChanged, this, &TfrmAlias::UpdateButtons);
    connect(edLocation, &QLineEdit::textEdited, this, [this](const QString &text) {
        // Suggest the engine the location's form asks for.
        if (IsPostgresLocation(text.toStdString())) cbEngine->setCurrentText(EngineKindName(CEngineKind::Postgres));
    });
    UpdateButtons();
}

void TfrmAlias::Load(const CAliasDefinition &alias, bool isNew) {
    edName->setText(QString::fromStdString(alias.name));
    edName->setReadOnly(!isNew);
    cbEngine->setCurrentText(EngineKindName(alias.kind));
    edLocation->setText(QString::fromStdString(alias.location));
    lbTestResult->clear();
    UpdateButtons();
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

void TfrmAlias::UpdateButtons() {
    const bool complete = !edName->text().trimmed().isEmpty() && !edLocation->text().trimmed().isEmpty();
    bttOK->setEnabled(complete);
    bttTest->setEnabled(complete);
}
