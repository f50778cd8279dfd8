// The main window: start-up and shut-down, its commands, menus, status bar,
// option dialogs, about box, help and database browser.
#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include "app/about_box.h"
#include "app/consult_window.h"
#include "app/database_browser.h"
#include "app/editor_window.h"
#include "app/file_type_registration.h"
#include "app/help_window.h"
#include "app/main_form.h"
#include "app/option_dialogs.h"
#include "app/settings_option_store.h"
#include "app_fixture.h"
#include "consult/global_params.h"
#include "scripted_user.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"

namespace {

QStringList MenuTitles(QMainWindow &window) {
    QStringList titles;
    for (QAction *action : window.menuBar()->actions()) titles.append(action->text());
    return titles;
}

QStringList Captions(TMainForm &main) {
    QStringList captions;
    for (TAbstractMDIChild *child : main.Children()) captions.append(child->windowTitle());
    return captions;
}

// A child of no particular kind that says what a test tells it to.
class TProbeChild : public TAbstractMDIChild {
public:
    explicit TProbeChild(IChildHost &host) : TAbstractMDIChild(host) { AddMenu("&Probe"); }
    void Run(bool running) { SetRunning(running); }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void StartupOpensEveryArgumentInOrder();
    void StartupWithoutArgumentsCreatesNewFileWhenAsked();
    void NewNumbersUntitledFilesWithoutReuse();
    void SaveIsEnabledOnlyForAnEditor();
    void WindowCaptionStatusBarAndToolBar();
    void ChildMenusJoinTheMainMenus();
    void OptionDialogsStoreOnlyOnOk();
    void ShutdownSavesTheOptions();
    void StartupRegistersTheFileTypeAndTheCommandReports();
    void AboutBoxOpensAddressesAndReportsFailures();
    void HelpShowsTheManual();
    void DatabaseBrowserListsAliases();
    void WindowArrangements();
    void ExitAsksEveryChildFirst();
    void ChildSignalsReachTheMainWindow();
};

void MainWindowTest::StartupOpensEveryArgumentInOrder() {
    QTemporaryDir files;
    const QString first = files.path() + "/first.qvb";
    QFile file(first);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("nodes {\r\n  a { (bayesian, 0.5, goal) }\r\n}\r\n");
    file.close();
    const QString missing = files.path() + "/second.qvb";

    TAppFixture fixture({first, missing});
    TMainForm &main = fixture.Main();
    QCOMPARE(Captions(main), QStringList({"first.qvb", "second.qvb"}));
    auto *one = qobject_cast<TmdiEditor *>(main.Children()[0]);
    auto *two = qobject_cast<TmdiEditor *>(main.Children()[1]);
    // Line ends written on Windows read as ours; the text is not modified.
    QCOMPARE(one->Memo()->toPlainText(), QString("nodes {\n  a { (bayesian, 0.5, goal) }\n}\n"));
    QVERIFY(!one->IsModified());
    QCOMPARE(one->FilePath(), first);
    QVERIFY(one->Named());
    // A file that does not exist opens an empty editor under its path.
    QCOMPARE(two->Memo()->toPlainText(), QString());
    QCOMPARE(two->FilePath(), missing);
    QVERIFY(two->Named());
    // With two arguments no new file is made, whatever the options say.
    QCOMPARE(main.untitledCount, 0);
}

void MainWindowTest::StartupWithoutArgumentsCreatesNewFileWhenAsked() {
    {
        TAppFixture fixture({}, true);
        QCOMPARE(Captions(fixture.Main()), QStringList({"Noname1.qvb"}));
        QVERIFY(!fixture.ActiveEditor()->Named());
    }
    TAppFixture fixture;
    QVERIFY(fixture.Main().Children().isEmpty());
}

void MainWindowTest::NewNumbersUntitledFilesWithoutReuse() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.actNew->trigger();
    main.actNew->trigger();
    main.actNew->trigger();
    QCOMPARE(Captions(main), QStringList({"Noname1.qvb", "Noname2.qvb", "Noname3.qvb"}));
    for (TAbstractMDIChild *child : main.Children()) {
        auto *editor = qobject_cast<TmdiEditor *>(child);
        QVERIFY(!editor->Named());
        QVERIFY(!editor->IsModified());
    }
    main.CloseAll();
    QTRY_VERIFY(main.Children().isEmpty());
    main.NewFile();
    QCOMPARE(Captions(main), QStringList({"Noname4.qvb"}));
}

void MainWindowTest::SaveIsEnabledOnlyForAnEditor() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QVERIFY(!main.actSave->isEnabled());
    main.NewFile();
    QVERIFY(main.actSave->isEnabled());
    TmdiConsult *window = main.OpenConsultationWindow("Noname1.qvb 10:00 1/1/24");
    QCOMPARE(main.ActiveChild(), window);
    QCOMPARE(main.StatusPanel(0), QString("Consultation..."));
    QCOMPARE(window->ChildKind(), 2);
    QVERIFY(!main.actSave->isEnabled());
    main.BrowseTables();
    QCOMPARE(main.ActiveChild()->ChildKind(), 3);
    QVERIFY(!main.actSave->isEnabled());
    main.Activate(main.Children()[0]);
    QVERIFY(main.actSave->isEnabled());
    // Consult stays enabled while no window runs a consultation.
    QVERIFY(main.actConsult->isEnabled());
}

void MainWindowTest::WindowCaptionStatusBarAndToolBar() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QCOMPARE(main.windowTitle(), QString("Quorvin"));
    QCOMPARE(main.minimumSize(), QSize(500, 400));
    QCOMPARE(main.StatusPanel(0), QString("Welcome to Quorvin!"));
    const QList<QLabel *> panels = main.statusBar()->findChildren<QLabel *>();
    QCOMPARE(panels.size(), 3);
    QCOMPARE(panels[0]->width(), 300);
    QCOMPARE(panels[1]->width(), 65);
    QCOMPARE(panels[2]->width(), 50);

    // Hints: the short one as tool tip, the long one in the first panel
    // while the command is under the pointer.
    QCOMPARE(main.actNew->toolTip(), QString("New"));
    QCOMPARE(main.actNew->statusTip(), QString("Create a new file"));
    QCOMPARE(main.actNew->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(main.actConsult->shortcut(), QKeySequence("F9"));
    QCOMPARE(main.actBuildNet->shortcut(), QKeySequence("Ctrl+F9"));
    main.actOpen->showStatusText(&main);
    QCOMPARE(main.StatusPanel(0), QString("Open a file"));
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&main, &leave);
    QCOMPARE(main.StatusPanel(0), QString("Welcome to Quorvin!"));

    // The tool bar can be hidden; the command's check mark follows it.
    QCOMPARE(main.StandardToolBar()->actions().size(), 11);
    QVERIFY(main.actToolBar->isChecked());
    main.actToolBar->trigger();
    QVERIFY(!main.StandardToolBar()->isVisible());
    QVERIFY(!main.actToolBar->isChecked());
    main.actToolBar->trigger();
    QVERIFY(main.StandardToolBar()->isVisible());
}

void MainWindowTest::ChildMenusJoinTheMainMenus() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QCOMPARE(MenuTitles(main), QStringList({"&File", "&Database", "&Options", "&Window", "&Help"}));
    main.NewFile();
    QCOMPARE(MenuTitles(main), QStringList({"&File", "&Edit", "&Project", "&Consultation", "&Database", "&Options",
                                            "&Window", "&Help"}));
    // The editor's own "&File" menu stands in for the main window's.
    QMenu *file = main.menuBar()->actions()[0]->menu();
    QVERIFY(file->actions().contains(fixture.ActiveEditor()->actSaveAs));
    main.OpenConsultationWindow("x");
    QCOMPARE(MenuTitles(main),
             QStringList({"&File", "&Consultation", "&Database", "&Options", "&Window", "&Help"}));
    main.CloseAll();
    QTRY_COMPARE(MenuTitles(main), QStringList({"&File", "&Database", "&Options", "&Window", "&Help"}));
}

void MainWindowTest::OptionDialogsStoreOnlyOnOk() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TfrmOptGlob *global = main.GlobalOptionsDialog();
    TScriptedUser user;
    user.Then([global] {
        if (!global->isVisible()) return false;
        global->chbNewFile->click();
        global->chbMaximize->click();
        global->bttCancel->click();
        return true;
    });
    main.actEnvironment->trigger();
    QVERIFY(user.Done());
    QCOMPARE(GlobalParams().CreateNewFile, false);
    QCOMPARE(GlobalParams().AutoMaximize, true);

    // Each showing loads the boxes from the options again.
    user.Then([global] {
        if (!global->isVisible()) return false;
        if (global->chbNewFile->isChecked() || !global->chbMaximize->isChecked()) return false;
        global->chbNewFile->click();
        global->chbMaximize->click();
        global->bttOK->click();
        return true;
    });
    main.actEnvironment->trigger();
    QVERIFY(user.Done());
    QCOMPARE(GlobalParams().CreateNewFile, true);
    QCOMPARE(GlobalParams().AutoMaximize, false);

    TfrmOptCons *consultation = main.ConsultationOptionsDialog();
    QCOMPARE(consultation->windowTitle(), QString("Consultation Options"));
    QCOMPARE(consultation->pages->tabText(0), QString("&Show"));
    QCOMPARE(consultation->pages->tabText(1), QString("&HTML"));
    user.Then([consultation] {
        if (!consultation->isVisible()) return false;
        consultation->chbCallStack->click();
        consultation->chbHtml->click();
        consultation->bttOK->click();
        return true;
    });
    main.actConsultation->trigger();
    QCOMPARE(GlobalParams().ShowCallStack, false);
    QCOMPARE(GlobalParams().UseHTML, false);
    QCOMPARE(GlobalParams().ShowHypotheses, true);

    // A new window follows the options: not maximised, without the viewer,
    // with the call stack unticked.
    TmdiConsult *window = main.OpenConsultationWindow("x");
    QVERIFY(!window->HasHtmlViewer());
    QVERIFY(!window->CheckBox(TConsultationList::callStack)->isChecked());
    QVERIFY(window->CheckBox(TConsultationList::orderedGoals)->isChecked());
    QVERIFY(!main.MdiArea()->activeSubWindow()->isMaximized());
}

void MainWindowTest::ShutdownSavesTheOptions() {
    QString optionFile;
    {
        TAppFixture fixture;
        optionFile = fixture.OptionFile();
        GlobalParams().ShowNodes = false;
        GlobalParams().CreateNewFile = true;
        QVERIFY(fixture.App().Shutdown());
        CSettingsOptionStore store(optionFile);
        CGlobalParams saved;
        QVERIFY(saved.Load(store));
        QCOMPARE(saved.ShowNodes, false);
        QCOMPARE(saved.CreateNewFile, true);
    }
}

void MainWindowTest::StartupRegistersTheFileTypeAndTheCommandReports() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QVERIFY(FileTypeRegistered(QCoreApplication::applicationFilePath()));
    QVERIFY(QFile::exists(fixture.Dir() + "/data/applications/quorvin.desktop"));

    TScriptedUser user;
    main.actRegisterFiles->trigger();
    QCOMPARE(user.messages, QStringList({"Information: File .qvb successfuly registered."}));
    // The global options dialog's button runs the same command.
    user.Then([&main] {
        if (!main.GlobalOptionsDialog()->isVisible()) return false;
        main.GlobalOptionsDialog()->bttRegister->click();
        return true;
    });
    user.Then([&main, &user] {
        if (user.messages.size() < 2) return false;
        main.GlobalOptionsDialog()->bttCancel->click();
        return true;
    });
    main.actEnvironment->trigger();
    QCOMPARE(user.messages.size(), 2);

    // Where nothing can be written, the command says so.
    QFile blocker(fixture.Dir() + "/blocked");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", (fixture.Dir() + "/blocked").toUtf8());
    main.RegisterFiles();
    QCOMPARE(user.messages.last(), QString("Error: Cannot open registry - insufficient privilegies?"));
}

void MainWindowTest::AboutBoxOpensAddressesAndReportsFailures() {
    TAppFixture fixture;
    TAboutBox *about = fixture.Main().AboutBox();
    QList<QUrl> opened;
    bool works = true;
    about->SetUrlOpener([&](const QUrl &address) {
        opened.append(address);
        return works;
    });
    TScriptedUser user;
    user.Then([about] {
        if (!about->isVisible()) return false;
        about->lMail->linkActivated(QString(about->lMail->text()).section('"', 1, 1));
        about->lProductWeb->linkActivated(TAboutBox::kProductWeb);
        about->bttOK->click();
        return true;
    });
    fixture.Main().actAbout->trigger();
    QVERIFY(user.Done());
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0].scheme(), QString("mailto"));
    QCOMPARE(opened[0].path(), QString("support@example.org"));
    QCOMPARE(opened[0].query(), QString("subject=Quorvin"));
    QCOMPARE(opened[1], QUrl(TAboutBox::kProductWeb));
    QVERIFY(user.messages.isEmpty());

    works = false;
    about->OpenAddress(QUrl("mailto:support@example.org"));
    about->OpenAddress(QUrl(TAboutBox::kInstitutionWeb));
    QCOMPARE(user.messages,
             QStringList({"Quorvin: Unable to start mail client.", "Quorvin: Unable to start web browser."}));
}

void MainWindowTest::HelpShowsTheManual() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QVERIFY(!TfrmHelp::ManualDirectory().isEmpty());
    main.actHelpContents->trigger();
    TfrmHelp *help = main.HelpWindow();
    QVERIFY(help->isVisible());
    QVERIFY(help->browser->source().toLocalFile().endsWith("/contents.html"));
    QVERIFY(help->browser->toPlainText().contains("Contents"));
    main.actHelpIndex->trigger();
    QVERIFY(help->browser->source().toLocalFile().endsWith("/keyword_index.html"));
    QVERIFY(help->browser->toPlainText().contains("Index"));
}

void MainWindowTest::DatabaseBrowserListsAliases() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.Store()->WriteText(CTableEnvironment::kAliasKey, "garage", "/data/garage.sqlite");
    main.Store()->WriteText(CTableEnvironment::kAliasKey, "clinic", "clinic.sqlite");
    main.actBrowseTables->trigger();
    auto *browser = qobject_cast<TmdiBrowser *>(main.ActiveChild());
    QVERIFY(browser != nullptr);
    QCOMPARE(browser->windowTitle(), QString("BDE Database Browser"));
    QCOMPARE(browser->lvAliases->topLevelItemCount(), 2);
    QCOMPARE(browser->lvAliases->topLevelItem(0)->text(0), QString("clinic"));
    QCOMPARE(browser->lvAliases->topLevelItem(1)->text(1), QString("/data/garage.sqlite"));
    // The engine tables look their aliases up in the same store.
    QCOMPARE(fixture.App().Registry()->environment->aliasStore, static_cast<IOptionStore *>(main.Store()));
}

void MainWindowTest::WindowArrangements() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.resize(900, 700);
    GlobalParams().AutoMaximize = false;
    main.NewFile();
    main.NewFile();
    main.actTileVertically->trigger();
    const QList<QMdiSubWindow *> windows = main.MdiArea()->subWindowList();
    QCOMPARE(windows[0]->geometry().top(), windows[1]->geometry().top());
    QVERIFY(windows[0]->geometry().right() < windows[1]->geometry().left());
    main.actTileHorizontally->trigger();
    QCOMPARE(windows[0]->geometry().left(), windows[1]->geometry().left());
    QVERIFY(windows[0]->geometry().bottom() < windows[1]->geometry().top());
    main.actMinimizeAll->trigger();
    QVERIFY(windows[0]->isMinimized() && windows[1]->isMinimized());
    main.actArrangeAll->trigger();
    const int bottom = main.MdiArea()->viewport()->height();
    QCOMPARE(windows[0]->geometry().bottom() + 1, bottom);
    QCOMPARE(windows[1]->geometry().left(), windows[0]->geometry().right() + 1);
}

void MainWindowTest::ExitAsksEveryChildFirst() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.NewFile();
    main.NewFile();
    auto *second = fixture.ActiveEditor();
    second->Memo()->insertPlainText("changed");
    TScriptedUser user;
    user.answers["Save changes to file Noname2.qvb?"] = QMessageBox::Cancel;
    main.actExit->trigger();
    QVERIFY(main.isVisible());
    QCOMPARE(user.messages, QStringList({"Confirmation: Save changes to file Noname2.qvb?"}));
    QTRY_COMPARE(Captions(main), QStringList({"Noname2.qvb"}));
    user.answers["Save changes to file Noname2.qvb?"] = QMessageBox::No;
    main.actExit->trigger();
    QVERIFY(!main.isVisible());
}

void MainWindowTest::ChildSignalsReachTheMainWindow() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    // An editor is listened to before its file is loaded, so the caret
    // position it reports while loading is already shown.
    main.OpenEditor(fixture.WriteFile("kb.qvb", "nodes {\n}\n"), true);
    QCOMPARE(main.StatusPanel(0), QString("       1:       1"));
    TAbstractMDIChild *editor = main.ActiveChild();

    // Any child taken in is listened to.
    auto *probe = new TProbeChild(main);
    main.AddChild(probe);
    QCOMPARE(main.ActiveChild(), probe);
    emit probe->StatusPanelChanged(2, "probe");
    QCOMPARE(main.StatusPanel(2), QString("probe"));
    probe->Run(true);
    QVERIFY(!main.actConsult->isEnabled());
    probe->Run(false);
    QVERIFY(main.actConsult->isEnabled());
    emit probe->ActivationRequested(editor);
    QCOMPARE(main.ActiveChild(), editor);
    // Its menu joins the main window's while it is active.
    main.Activate(probe);
    QCOMPARE(MenuTitles(main), QStringList({"&File", "&Probe", "&Database", "&Options", "&Window", "&Help"}));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
