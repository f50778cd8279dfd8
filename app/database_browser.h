// TmdiBrowser: the database browser child window, "BDE Database Browser".
//
// On the left a tree of the aliases defined in the host's option store,
// each with its location (passwords left out) and engine; an alias opens to
// its tables, a table to its fields with their types. On the right, for the
// chosen table, a query row (field, comparison, value; no field: every
// record) and a read-only grid of the matching records, a page at a time.
// Aliases are added, changed and removed through the alias dialog and stored
// in the option store, the registry the tables and batches use too. The
// browser opens databases through an engine of its own, so browsing never
// disturbs a consultation's connections; relative locations are taken in
// the current directory, as there is no knowledge base to resolve them by.
#pragma once

#include <memory>
#include <string>

#include "app/mdi_child.h"
#include "tables/database_location.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class CTableEnvironment;

class TmdiBrowser : public TAbstractMDIChild {
    Q_OBJECT
public:
    explicit TmdiBrowser(IChildHost &host);
    ~TmdiBrowser() override;

    int ChildKind() const override { return kChildBrowser; }
    QString HelpTopic() const override { return "browser"; }
    // Reads the aliases again.
    void Refresh();

    // The alias commands of the Database menu: each shows the alias dialog
    // (New, Edit) or removes the alias chosen in the tree.
    void NewAlias();
    void EditAlias();
    void RemoveAlias();
    // Stores an alias and shows it; false when the store refuses.
    bool DefineAlias(const CAliasDefinition &alias);
    // The alias of the chosen tree item; empty when none is chosen.
    QString CurrentAlias() const;

    // Shows the first page of the records of the query row.
    void RunQuery();
    void ShowPage(int page);

    static constexpr int kPageSize = 100;

    QTreeWidget *lvAliases;
    QComboBox *cbField, *cbComparison;
    QLineEdit *edValue;
    QPushButton *bttRun, *bttPrevious, *bttNext;
    QTableWidget *grdRecords;
    QLabel *lbStatus;

private:
    void Expand(QTreeWidgetItem *item);
    void Choose(QTreeWidgetItem *item);
    void ShowFailure(const QString &what);

    std::unique_ptr<CTableEnvironment> environment;
    QString alias, table;  // what the grid shows
    int page = 0;
    bool morePages = false;
};
