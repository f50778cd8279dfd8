#include "app/database_browser.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/settings_option_store.h"
#include "tables/table_environment.h"

TmdiBrowser::TmdiBrowser(IChildHost &childHost) : TAbstractMDIChild(childHost) {
    setWindowTitle("BDE Database Browser");
    lvAliases = new QTreeWidget(this);
    lvAliases->setColumnCount(2);
    lvAliases->setHeaderLabels({"Alias", "Database"});
    lvAliases->setRootIsDecorated(false);
    lvAliases->header()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Aliases:", this));
    layout->addWidget(lvAliases);
    Refresh();
}

void TmdiBrowser::Refresh() {
    lvAliases->clear();
    CSettingsOptionStore *store = host.Store();
    if (store == nullptr) return;
    for (const QString &alias : store->ValueNames(CTableEnvironment::kAliasKey)) {
        if (alias.isEmpty()) continue;
        std::string database;
        store->ReadText(CTableEnvironment::kAliasKey, alias.toStdString(), database);
        new QTreeWidgetItem(lvAliases, {alias, QString::fromStdString(database)});
    }
    lvAliases->resizeColumnToContents(0);
}
