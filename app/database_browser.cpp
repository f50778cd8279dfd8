#include "app/database_browser.h"

#include <algorithm>

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/alias_dialog.h"
#include "app/settings_option_store.h"
#include "tables/database_engine.h"
#include "tables/table_environment.h"

namespace {

// What a tree item stands for, kept in its first column's user data.
enum TItemKind { kItemAlias = 1, kItemTable = 2, kItemField = 3 };
constexpr int kKindRole = Qt::UserRole;
constexpr int kLoadedRole = Qt::UserRole + 1;
// The widest a record column starts; the user may widen it.
constexpr int kWidestColumn = 240;

struct TComparisonRow {
    const char *text;
    CComparison comparison;
};
constexpr TComparisonRow kComparisons[] = {
    {"=", CComparison::Equal},   {"<>", CComparison::NotEqual},        {"<", CComparison::Less},
    {"<=", CComparison::LessOrEqual}, {">", CComparison::Greater}, {">=", CComparison::GreaterOrEqual}};

QTreeWidgetItem *MakeItem(QTreeWidgetItem *parent, TItemKind kind, const QStringList &texts) {
    auto *item = new QTreeWidgetItem(parent, texts);
    item->setData(0, kKindRole, kind);
    // Aliases and tables open to what they hold, read when first opened.
    if (kind != kItemField) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

}  // namespace

TmdiBrowser::TmdiBrowser(IChildHost &childHost)
    : TAbstractMDIChild(childHost), environment(std::make_unique<CTableEnvironment>()) {
    setWindowTitle("BDE Database Browser");
    environment->aliasStore = host.Store();

    lvAliases = new QTreeWidget(this);
    lvAliases->setColumnCount(3);
    lvAliases->setHeaderLabels({"Alias", "Database", "Engine"});
    lvAliases->header()->setStretchLastSection(true);

    cbField = new QComboBox(this);
    cbComparison = new QComboBox(this);
    for (const TComparisonRow &row : kComparisons) cbComparison->addItem(row.text);
    edValue = new QLineEdit(this);
    bttRun = new QPushButton("&Run", this);
    bttPrevious = new QPushButton("&Previous", this);
    bttNext = new QPushButton("&Next", this);
    grdRecords = new QTableWidget(this);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->horizontalHeader()->setTextElideMode(Qt::ElideMiddle);
    lbStatus = new QLabel(this);

    auto *queryRow = new QHBoxLayout;
    queryRow->addWidget(cbField, 2);
    queryRow->addWidget(cbComparison);
    queryRow->addWidget(edValue, 3);
    queryRow->addWidget(bttRun);
    auto *pageRow = new QHBoxLayout;
    pageRow->addWidget(lbStatus, 1);
    pageRow->addWidget(bttPrevious);
    pageRow->addWidget(bttNext);
    auto *records = new QWidget(this);
    auto *recordsLayout = new QVBoxLayout(records);
    recordsLayout->setContentsMargins(0, 0, 0, 0);
    recordsLayout->addLayout(queryRow);
    recordsLayout->addWidget(grdRecords);
    recordsLayout->addLayout(pageRow);
    auto *splitter = new QSplitter(this);
    splitter->addWidget(lvAliases);
    splitter->addWidget(records);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Aliases:", this));
    layout->addWidget(splitter, 1);  // the label keeps its height

    connect(lvAliases, &QTreeWidget::itemExpanded, this, &TmdiBrowser::Expand);
    connect(lvAliases, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { Choose(item); });
    connect(bttRun, &QPushButton::clicked, this, &TmdiBrowser::RunQuery);
    connect(edValue, &QLineEdit::returnPressed, this, &TmdiBrowser::RunQuery);
    connect(bttPrevious, &QPushButton::clicked, this, [this] { ShowPage(page - 1); });
    connect(bttNext, &QPushButton::clicked, this, [this] { ShowPage(page + 1); });
    Refresh();
}

TmdiBrowser::~TmdiBrowser() = default;

void TmdiBrowser::Refresh() {
    lvAliases->clear();
    for (const CAliasDefinition &defined : CAliasRegistry(host.Store()).Aliases()) {
        const CDatabaseLocation where = environment->Locate(defined.name.c_str());
        MakeItem(lvAliases->invisibleRootItem(), kItemAlias,
                 {QString::fromStdString(defined.name), QString::fromStdString(WithoutPassword(defined.location)),
                  EngineKindName(where.kind)});
    }
    lvAliases->resizeColumnToContents(0);
    lvAliases->resizeColumnToContents(1);
    bttPrevious->setEnabled(false);
    bttNext->setEnabled(false);
}

void TmdiBrowser::Expand(QTreeWidgetItem *item) {
    if (item->data(0, kLoadedRole).toBool()) return;
    item->setData(0, kLoadedRole, true);
    const int kind = item->data(0, kKindRole).toInt();
    CDatabaseEngine &engine = environment->Engine();
    if (kind == kItemAlias) {
        std::vector<std::string> tables;
        if (engine.ListTables(item->text(0).toStdString().c_str(), tables) != 0) ShowFailure("Cannot open the database");
        for (const std::string &name : tables) MakeItem(item, kItemTable, {QString::fromStdString(name)});
    } else if (kind == kItemTable) {
        std::vector<CEngineField> fields;
        if (engine.ListFields(item->parent()->text(0).toStdString().c_str(), item->text(0).toStdString().c_str(),
                              fields) != 0)
            ShowFailure("Cannot read the table");
        for (const CEngineField &field : fields)
            MakeItem(item, kItemField, {QString::fromStdString(field.name), QString::fromStdString(field.type)});
    }
    if (item->childCount() == 0) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    // Tables and fields stand indented below their alias: names cut short
    // to the alias's width would be unreadable.
    lvAliases->resizeColumnToContents(0);
}

void TmdiBrowser::Choose(QTreeWidgetItem *item) {
    if (item == nullptr) return;
    const int kind = item->data(0, kKindRole).toInt();
    QTreeWidgetItem *tableItem = kind == kItemField ? item->parent() : (kind == kItemTable ? item : nullptr);
    if (tableItem == nullptr) return;
    const QString chosenAlias = tableItem->parent()->text(0), chosenTable = tableItem->text(0);
    if (chosenAlias == alias && chosenTable == table) {
        if (kind == kItemField) cbField->setCurrentText(item->text(0));
        return;
    }
    alias = chosenAlias;
    table = chosenTable;
    Expand(tableItem);
    cbField->clear();
    cbField->addItem(QString());  // no field: every record
    for (int i = 0; i < tableItem->childCount(); ++i) cbField->addItem(tableItem->child(i)->text(0));
    edValue->clear();
    RunQuery();
    // A chosen field waits in the query row for its value.
    if (kind == kItemField) cbField->setCurrentText(item->text(0));
}

void TmdiBrowser::RunQuery() { ShowPage(0); }

void TmdiBrowser::ShowPage(int wanted) {
    if (table.isEmpty() || wanted < 0) return;
    CRecordQuery query;
    query.table = table.toStdString();
    query.field = cbField->currentText().toStdString();
    query.comparison = kComparisons[std::max(0, cbComparison->currentIndex())].comparison;
    query.value = edValue->text().toStdString();
    query.offset = static_cast<int64_t>(wanted) * kPageSize;
    query.limit = kPageSize;
    CRecordPage records;
    grdRecords->clear();
    grdRecords->setRowCount(0);
    if (environment->Engine().QueryRecords(alias.toStdString().c_str(), query, records) != 0) {
        ShowFailure("Cannot query the table");
        bttPrevious->setEnabled(false);
        bttNext->setEnabled(false);
        return;
    }
    page = wanted;
    morePages = records.more;
    grdRecords->setColumnCount(static_cast<int>(records.columns.size()));
    for (int column = 0; column < grdRecords->columnCount(); ++column) {
        const QString name = QString::fromStdString(records.columns[static_cast<size_t>(column)]);
        auto *header = new QTableWidgetItem(name);
        header->setToolTip(name);
        grdRecords->setHorizontalHeaderItem(column, header);
    }
    grdRecords->setRowCount(static_cast<int>(records.rows.size()));
    for (int row = 0; row < grdRecords->rowCount(); ++row) {
        for (int column = 0; column < grdRecords->columnCount(); ++column) {
            const std::optional<std::string> &value = records.rows[row][column];
            auto *cell = new QTableWidgetItem(value ? QString::fromStdString(*value) : QString("(null)"));
            if (!value) cell->setForeground(Qt::gray);
            grdRecords->setItem(row, column, cell);
        }
    }
    // Columns as wide as their names and values, up to a limit; longer names
    // are cut in the middle, where columns that share a prefix differ least.
    grdRecords->resizeColumnsToContents();
    for (int column = 0; column < grdRecords->columnCount(); ++column)
        grdRecords->setColumnWidth(column, std::min(grdRecords->columnWidth(column), kWidestColumn));
    const int first = page * kPageSize + 1;
    lbStatus->setText(records.rows.empty() ? QString("No records.")
                                           : QString("Records %1 to %2").arg(first).arg(first + grdRecords->rowCount() - 1));
    bttPrevious->setEnabled(page > 0);
    bttNext->setEnabled(morePages);
}

void TmdiBrowser::ShowFailure(const QString &what) {
    const std::string reason = environment->Engine().LastFailure();
    lbStatus->setText(reason.empty() ? what + "." : what + ": " + QString::fromStdString(reason));
}

QString TmdiBrowser::CurrentAlias() const {
    QTreeWidgetItem *item = lvAliases->currentItem();
    while (item != nullptr && item->parent() != nullptr) item = item->parent();
    return item == nullptr ? QString() : item->text(0);
}

bool TmdiBrowser::DefineAlias(const CAliasDefinition &defined) {
    if (!CAliasRegistry(host.Store()).Define(defined)) return false;
    alias.clear();
    table.clear();
    Refresh();
    const QList<QTreeWidgetItem *> found = lvAliases->findItems(QString::fromStdString(defined.name), Qt::MatchExactly);
    if (!found.isEmpty()) lvAliases->setCurrentItem(found.first());
    return true;
}

void TmdiBrowser::NewAlias() {
    TfrmAlias dialog(this);
    dialog.Load(CAliasDefinition(), true);
    if (dialog.exec() == QDialog::Accepted) DefineAlias(dialog.Alias());
}

void TmdiBrowser::EditAlias() {
    CAliasDefinition defined;
    bool engineGiven = false;
    if (!CAliasRegistry(host.Store()).Find(CurrentAlias().toStdString(), defined, engineGiven)) return;
    if (!engineGiven) defined.kind = environment->Locate(defined.name.c_str()).kind;
    TfrmAlias dialog(this);
    dialog.Load(defined, false);
    if (dialog.exec() == QDialog::Accepted) DefineAlias(dialog.Alias());
}

void TmdiBrowser::RemoveAlias() {
    const QString chosen = CurrentAlias();
    if (chosen.isEmpty() || !CAliasRegistry(host.Store()).Remove(chosen.toStdString())) return;
    alias.clear();
    table.clear();
    grdRecords->clear();
    grdRecords->setRowCount(0);
    grdRecords->setColumnCount(0);
    Refresh();
}
