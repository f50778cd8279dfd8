// The database browser and the alias dialog over a stand-in host, and the
// console's reading of the aliases the desktop stores.
#include <sqlite3.h>

#include <cstdio>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "app/alias_dialog.h"
#include "app_fixture.h"
#include "scripted_user.h"
#include "app/main_form.h"
#include "app/child_host.h"
#include "app/database_browser.h"
#include "app/settings_option_store.h"
#include "foundation/ini_option_store.h"
#include "tables/table_environment.h"
#include "ui/message_box.h"

namespace {

// A host with an option store and nothing else to offer.
class TStoreHost : public IChildHost, public IMessageBox {
public:
    explicit TStoreHost(const QString &iniPath) : store(std::make_unique<CSettingsOptionStore>(iniPath)) {}
    QAction *Command(THostCommand) const override { return nullptr; }
    CAllRetrievers *Registry() const override { return nullptr; }
    CSettingsOptionStore *Store() const override { return store.get(); }
    IMessageBox &Messages() override { return *this; }
    QString ChooseFile(TFileDialogKind, const QString &) override { return QString(); }
    void OpenConsultation(std::unique_ptr<CInfControl>, const QString &, TAbstractMDIChild *) override {}
    void ShowResult(const std::vector<CGridRow> &, const TNodeDescriber &) override {}
    int ListDecimals() const override { return TGridLook::kAsWritten; }
    void ShowNextQuestions(const TNextQuestions &) override {}
    void ShowMessage(const CString &, const CString &, TMessageIcon) override {}
    TYesNoCancel AskYesNoCancel(const CString &, const CString &) override { return TYesNoCancel::cancel; }

    std::unique_ptr<CSettingsOptionStore> store;
};

void MakeDatabase(const QString &path) {
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    std::string script =
        "CREATE TABLE claims (claim_id TEXT PRIMARY KEY, amount REAL, status TEXT);"
        "CREATE TABLE verdicts (claim_id TEXT, suspicious REAL);"
        "INSERT INTO claims VALUES ('O''Neill-7', 6.0, 'open'), ('C-2042', 38.0, 'open'), ('C-2043', 4.0, 'closed');";
    for (int i = 0; i < 150; ++i) script += "INSERT INTO verdicts VALUES ('v" + std::to_string(i) + "', NULL);";
    QCOMPARE(sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QStringList ChildTexts(QTreeWidgetItem *item, int column) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i) texts.append(item->child(i)->text(column));
    return texts;
}

QStringList Column(const QTableWidget *grid, int column) {
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row) texts.append(grid->item(row, column)->text());
    return texts;
}

}  // namespace

class DatabaseBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void BrowsesTablesFieldsAndPagesOfRecords();
    void TheAliasDialogTestsALocationWithoutShowingItsPassword();
    void TheConsoleReadsTheAliasesTheDesktopWrites();
    void TheDatabaseMenuActsInTheActiveBrowser();
};

void DatabaseBrowserTest::BrowsesTablesFieldsAndPagesOfRecords() {
    QTemporaryDir dir;
    const QString database = dir.path() + "/claims.db";
    MakeDatabase(database);
    TStoreHost host(dir.path() + "/quorvin.ini");
    TmdiBrowser browser(host);
    QCOMPARE(browser.lvAliases->topLevelItemCount(), 0);

    QVERIFY(browser.DefineAlias({"claims", CEngineKind::Sqlite, database.toStdString()}));
    std::string stored;
    QVERIFY(host.store->ReadText(CTableEnvironment::kAliasKey, "claims", stored));
    QCOMPARE(QString::fromStdString(stored), database);
    QCOMPARE(browser.lvAliases->topLevelItemCount(), 1);
    QTreeWidgetItem *alias = browser.lvAliases->topLevelItem(0);
    QCOMPARE(alias->text(2), QString("SQLite"));
    QCOMPARE(browser.CurrentAlias(), QString("claims"));

    browser.lvAliases->expandItem(alias);
    QCOMPARE(ChildTexts(alias, 0), QStringList({"claims", "verdicts"}));
    QTreeWidgetItem *claims = alias->child(0);
    browser.lvAliases->expandItem(claims);
    QCOMPARE(ChildTexts(claims, 0), QStringList({"claim_id", "amount", "status"}));
    QCOMPARE(ChildTexts(claims, 1), QStringList({"TEXT", "REAL", "TEXT"}));

    // Choosing a table shows its records; choosing a field puts it in the
    // query row.
    browser.lvAliases->setCurrentItem(claims->child(1));
    QCOMPARE(browser.grdRecords->columnCount(), 3);
    QCOMPARE(Column(browser.grdRecords, 0), QStringList({"O'Neill-7", "C-2042", "C-2043"}));
    // A column shows its whole name where it fits, and its tip gives it always.
    QCOMPARE(browser.grdRecords->horizontalHeaderItem(0)->toolTip(), QString("claim_id"));
    QVERIFY(browser.grdRecords->columnWidth(0) >= browser.grdRecords->fontMetrics().horizontalAdvance("O'Neill-7"));
    QCOMPARE(browser.cbField->currentText(), QString("amount"));
    browser.cbComparison->setCurrentText(">=");
    browser.edValue->setText("6");
    browser.bttRun->click();
    QCOMPARE(Column(browser.grdRecords, 0), QStringList({"O'Neill-7", "C-2042"}));
    browser.cbField->setCurrentText("claim_id");
    browser.cbComparison->setCurrentText("=");
    browser.edValue->setText("O'Neill-7");
    browser.bttRun->click();
    QCOMPARE(Column(browser.grdRecords, 1), QStringList({"6.0"}));
    QVERIFY(browser.grdRecords->editTriggers() == QAbstractItemView::NoEditTriggers);

    // A page at a time; nulls are marked.
    browser.lvAliases->setCurrentItem(alias->child(1));
    QCOMPARE(browser.grdRecords->rowCount(), TmdiBrowser::kPageSize);
    QCOMPARE(browser.grdRecords->item(0, 1)->text(), QString("(null)"));
    QVERIFY(browser.bttNext->isEnabled());
    QVERIFY(!browser.bttPrevious->isEnabled());
    browser.bttNext->click();
    QCOMPARE(browser.grdRecords->rowCount(), 50);
    QCOMPARE(browser.grdRecords->item(0, 0)->text(), QString("v100"));
    QVERIFY(!browser.bttNext->isEnabled());
    QCOMPARE(browser.lbStatus->text(), QString("Records 101 to 150"));

    // A query the database refuses is said, not shown as an empty table.
    browser.cbField->setCurrentText("suspicious");
    browser.cbComparison->setCurrentText("<");
    browser.edValue->setText("x");
    QVERIFY(std::remove(database.toUtf8().constData()) == 0);
    browser.bttRun->click();
    QVERIFY2(browser.lbStatus->text().startsWith("Cannot query the table"), qPrintable(browser.lbStatus->text()));
    QCOMPARE(browser.grdRecords->rowCount(), 0);

    browser.lvAliases->setCurrentItem(alias);
    browser.RemoveAlias();
    QCOMPARE(browser.lvAliases->topLevelItemCount(), 0);
    QVERIFY(!host.store->ReadText(CTableEnvironment::kAliasKey, "claims", stored));
    QCOMPARE(browser.grdRecords->rowCount(), 0);
}

void DatabaseBrowserTest::TheAliasDialogTestsALocationWithoutShowingItsPassword() {
    QTemporaryDir dir;
    MakeDatabase(dir.path() + "/claims.db");
    TfrmAlias dialog(nullptr);
    dialog.Load(CAliasDefinition(), true);
    QVERIFY(!dialog.bttOK->isEnabled());
    dialog.edName->setText("claims");
    dialog.edLocation->setText(dir.path() + "/claims.db");
    QVERIFY(dialog.bttOK->isEnabled());
    dialog.bttTest->click();
    QCOMPARE(dialog.lbTestResult->text(), QString("Opened: 2 table(s)."));

    dialog.cbEngine->setCurrentText("PostgreSQL");
    dialog.edLocation->setText("host=" + dir.path() + "/none dbname=claims password=s3cret");
    dialog.bttTest->click();
    QVERIFY2(dialog.lbTestResult->text().startsWith("Cannot open the database: cannot connect: "),
             qPrintable(dialog.lbTestResult->text()));
    QVERIFY(!dialog.lbTestResult->text().contains("s3cret"));
    const CAliasDefinition alias = dialog.Alias();
    QCOMPARE(alias.kind, CEngineKind::Postgres);
    QCOMPARE(QString::fromStdString(alias.name), QString("claims"));

    // Browse chooses a database file; a server has nothing to browse.
    QVERIFY(!dialog.bttBrowse->isEnabled());
    dialog.cbEngine->setCurrentText("SQLite");
    QVERIFY(dialog.bttBrowse->isEnabled());
    TScriptedUser user;
    QFileDialog *files = nullptr;
    user.Then([&] {
        // Typed into its file name field, as a user may.
        files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *typed = files != nullptr ? files->findChild<QLineEdit *>("fileNameEdit") : nullptr;
        if (typed != nullptr) typed->setText(dir.path() + "/claims.db");
        return typed != nullptr;
    });
    user.Then([&] {
        QMetaObject::invokeMethod(files, "accept");  // what its Open button does
        return true;
    });
    dialog.bttBrowse->click();
    QVERIFY(user.Done());
    QCOMPARE(dialog.edLocation->text(), dir.path() + "/claims.db");

    // An existing alias keeps its name.
    dialog.Load({"files", CEngineKind::Dbase, "/data/dbf"}, false);
    QVERIFY(dialog.edName->isReadOnly());
    QCOMPARE(dialog.cbEngine->currentText(), QString("dBASE"));
}

void DatabaseBrowserTest::TheConsoleReadsTheAliasesTheDesktopWrites() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/quorvin.ini";
    const std::string key = CTableEnvironment::kAliasKey;
    const std::vector<std::pair<std::string, std::string>> aliases = {
        {"claims", "host=/run/postgresql dbname=claims user=ann"},
        {"cars and vans", "/data/garage db.sqlite"},
        {"caf\xC3\xA9", "postgresql://ann@db.example/caf\xC3\xA9?sslmode=require"},
        {"odd", "@first; \"quoted\", back\\slash = x  "},
        {"", "\tleading tab"}};
    {
        CSettingsOptionStore store(path);
        for (const auto &[name, location] : aliases) QVERIFY(store.WriteText(key, name, location));
        QVERIFY(store.WriteText(CAliasRegistry::kAliasEngineKey, "claims", "PostgreSQL"));
        QVERIFY(store.WriteBool("\\Software\\Quorvin\\Global", "SaveOnExit", true));
        QVERIFY(store.Sync());
    }
    const CIniOptionStore console(path.toStdString());
    const CSettingsOptionStore desktop(path);
    QCOMPARE(console.ValueNamesOf(key), desktop.ValueNamesOf(key));
    for (const auto &[name, location] : aliases) {
        std::string read;
        QVERIFY2(console.ReadText(key, name, read), name.c_str());
        QCOMPARE(QString::fromStdString(read), QString::fromStdString(location));
    }
    std::string engine;
    QVERIFY(console.ReadText(CAliasRegistry::kAliasEngineKey, "claims", engine));
    QCOMPARE(QString::fromStdString(engine), QString("PostgreSQL"));
    bool flag = false;
    QVERIFY(console.ReadBool("\\Software\\Quorvin\\Global", "SaveOnExit", flag));
    QVERIFY(flag);
    QVERIFY(console.KeyExists("\\Software\\Quorvin\\Global"));
    QVERIFY(!console.KeyExists("\\Software\\Quorvin\\Nothing"));
    // The console keeps its hands off the file.
    CIniOptionStore writable(path.toStdString());
    QVERIFY(!writable.WriteText(key, "new", "new.db"));
}

void DatabaseBrowserTest::TheDatabaseMenuActsInTheActiveBrowser() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QList<QAction *> menu;
    for (QAction *entry : main.menuBar()->actions())
        if (entry->text() == "&Database") menu = entry->menu()->actions();
    QVERIFY(menu.contains(main.actNewAlias) && menu.contains(main.actEditAlias) && menu.contains(main.actRemoveAlias));
    QVERIFY(main.ActiveChild() == nullptr);

    // With no browser about, one is opened for the command.
    main.actRemoveAlias->trigger();
    auto *browser = dynamic_cast<TmdiBrowser *>(main.ActiveChild());
    QVERIFY(browser != nullptr);
    QVERIFY(browser->DefineAlias({"claims", CEngineKind::Sqlite, "claims.db"}));
    QVERIFY(browser->DefineAlias({"other", CEngineKind::Dbase, "tables"}));
    browser->lvAliases->setCurrentItem(browser->lvAliases->topLevelItem(0));
    main.actRemoveAlias->trigger();
    QCOMPARE(main.Children().size(), 1);
    QCOMPARE(browser->lvAliases->topLevelItemCount(), 1);
    QCOMPARE(browser->lvAliases->topLevelItem(0)->text(0), QString("other"));
    QCOMPARE(browser->lvAliases->topLevelItem(0)->text(2), QString("dBASE"));
}

QTEST_MAIN(DatabaseBrowserTest)
#include "database_browser_test.moc"
