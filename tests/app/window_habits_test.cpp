// What users of desktop programs expect of the main window: dialogs opened
// from dialogs stay above them, Ctrl+F2 aborts from a question window, the
// status bar follows the active window, the Window menu lists the windows
// and Ctrl+Tab goes through them, Cascade gives them one size, recent files
// and the session survive a restart, F1 opens the page of the window, and
// an installed package needs no registration per user.
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>
#include <QtTest>

#include "app/about_box.h"
#include "app/certainty_questions.h"
#include "app/choice_question.h"
#include "app/consult_window.h"
#include "app/node_grid.h"
#include "app/option_dialogs.h"
#include "app/result_dialog.h"
#include "app/desktop_settings.h"
#include "app/editor_window.h"
#include "app/file_type_registration.h"
#include "app/help_window.h"
#include "app/main_form.h"
#include "app/question_windows.h"
#include "app/settings_option_store.h"
#include "app/window_helpers.h"
#include "app_fixture.h"
#include "consult/consultation_driver.h"
#include "quorvin_version.h"
#include "scripted_user.h"

namespace {

QByteArray ConsultKnowledgeBase() {
    QFile file(QUORVIN_TEST_DATA "/app/consult.qvb");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TfrmAbstractQuestion *WaitingNodeQuestion(TQuestionWindows &questions) {
    for (TfrmAbstractQuestion *question : questions.NodeQuestions())
        if (question->isVisible()) return question;
    return nullptr;
}

// The parameter question that opens the test knowledge base's consultation.
bool AnswerParameter(TQuestionWindows &questions) {
    if (!questions.paramQuestion->isVisible()) return false;
    QTest::keyClicks(questions.paramQuestion->field, "Ann");
    questions.paramQuestion->bttAccept->click();
    return true;
}

// The parameter and the taxonomy list (left as it is), then the node
// questions come.
bool AnswerOpeningQuestions(TQuestionWindows &questions) {
    if (AnswerParameter(questions)) return true;
    if (!questions.taxonomyList->isVisible()) return false;
    questions.taxonomyList->bttOK->click();
    return true;
}

// The window list at the end of the Window menu: its checkable entries.
QList<QAction *> WindowList(TMainForm &main) {
    main.UpdateWindowMenu();
    QList<QAction *> entries;
    for (QAction *action : main.WindowMenu()->actions())
        if (action->isCheckable()) entries.append(action);
    return entries;
}

class TProbeChild : public TAbstractMDIChild {
public:
    explicit TProbeChild(IChildHost &host) : TAbstractMDIChild(host) {}
    void Say(int panel, const QString &text) { emit StatusPanelChanged(panel, text); }
};

}  // namespace

class WindowHabitsTest : public QObject {
    Q_OBJECT

private slots:
    void TaxonomyClassDialogStaysAboveTheList();
    void CtrlF2AbortsFromTheQuestionWindow();
    void StatusBarShowsTheActiveWindowsOwnStatus();
    void WindowMenuListsTheWindowsAndCtrlTabGoesThroughAll();
    void CascadeGivesTheWindowsOneSize();
    void RecentFilesRoundTrip();
    void PlaceAndOpenFilesComeBackAtTheNextStart();
    void F1OpensThePageOfTheActiveWindow();
    void CommonShortcutsAndIcons();
    void ListsShowTheChosenDecimalsAndTheDescriptions();
    void OptionsForDecimalsAndReopening();
    void CertaintyButtonsAndChoiceByKeyboard();
    void AnInstalledPackageNeedsNoRegistration();
    void AWindowPutWhereAnotherStoodStaysOnTheScreen();
};

void WindowHabitsTest::TaxonomyClassDialogStaysAboveTheList() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", ConsultKnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    bool classDialogSeen = false;
    user.Then([&] {
        if (AnswerParameter(questions)) return false;
        if (!questions.taxonomyList->isVisible()) return false;
        questions.taxonomyList->lvTaxonomies->setCurrentItem(questions.taxonomyList->lvTaxonomies->topLevelItem(0));
        questions.taxonomyList->bttSelect->click();
        return true;
    });
    user.Then([&] {
        TfrmAskTax *dialog = questions.taxonomyClass;
        if (!dialog->isVisible()) return false;
        // The class dialog belongs to the list, so the window manager
        // stacks it above the list, which itself stays above the others.
        classDialogSeen = true;
        [&] {
            QCOMPARE(dialog->parentWidget(), static_cast<QWidget *>(questions.taxonomyList));
            QVERIFY(dialog->isWindow());
            QVERIFY(dialog->windowHandle() != nullptr);
            QCOMPARE(dialog->windowHandle()->transientParent(), questions.taxonomyList->windowHandle());
            QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        }();
        dialog->bttCancel->click();
        return true;
    });
    user.Then([&] {
        if (!questions.taxonomyList->isVisible() || questions.taxonomyClass->isVisible()) return false;
        questions.taxonomyList->bttOK->click();
        return true;
    });
    user.Then([&] {
        if (WaitingNodeQuestion(questions) == nullptr) return false;
        fixture.ActiveConsultation()->Abort();
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QVERIFY(classDialogSeen);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(window->StatusText(), QString("Consultation aborted."));
}

void WindowHabitsTest::CtrlF2AbortsFromTheQuestionWindow() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", ConsultKnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    bool pressedInQuestion = false;
    QElapsedTimer sincePressed;
    user.Then([&] {
        if (AnswerOpeningQuestions(questions)) return false;
        TfrmAbstractQuestion *question = WaitingNodeQuestion(questions);
        if (question == nullptr) return false;
        // The key goes to the question window, which has the focus.
        question->activateWindow();
        if (QApplication::activeWindow() != question) return false;
        QTest::keyClick(question, Qt::Key_F2, Qt::ControlModifier);
        pressedInQuestion = true;
        sincePressed.start();
        return true;
    });
    // Should the key not abort, the question would wait for ever: it is
    // aborted here after a while, and the test fails.
    bool keyIgnored = false;
    user.Then([&] {
        if (WaitingNodeQuestion(questions) == nullptr) return true;
        if (sincePressed.elapsed() < 3000) return false;
        keyIgnored = true;
        fixture.ActiveConsultation()->Abort();
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QVERIFY(pressedInQuestion);
    QVERIFY2(!keyIgnored, "Ctrl+F2 in the question window did not abort");
    QCOMPARE(window->StatusText(), QString("Consultation aborted."));
    QVERIFY(WaitingNodeQuestion(questions) == nullptr);
    // Without a running consultation the key does nothing.
    QVERIFY(!window->actAbort->isEnabled());
}

void WindowHabitsTest::StatusBarShowsTheActiveWindowsOwnStatus() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("a.qvb", "line one\nline two\n"), true);
    QTextCursor caret = editor->Memo()->textCursor();
    caret.setPosition(12);
    editor->Memo()->setTextCursor(caret);
    const QString caretText = editor->CaretText();
    QCOMPARE(main.StatusPanel(0), caretText);

    auto *consultation = new TProbeChild(main);
    main.AddChild(consultation);
    consultation->Say(0, "Investigating...");
    consultation->Say(1, "goal");
    QCOMPARE(main.StatusPanel(0), QString("Investigating..."));
    QCOMPARE(main.StatusPanel(1), QString("goal"));

    // Back at the editor: its caret, not the consultation's status.
    main.Activate(editor);
    QCOMPARE(main.StatusPanel(0), caretText);
    QCOMPARE(main.StatusPanel(1), QString());
    // What an inactive window says is kept for when it is active again.
    consultation->Say(0, "Done, consulted ok.");
    QCOMPARE(main.StatusPanel(0), caretText);
    main.Activate(consultation);
    QCOMPARE(main.StatusPanel(0), QString("Done, consulted ok."));
    QCOMPARE(main.StatusPanel(1), QString("goal"));
    // The last window gone, nothing is said for it any more.
    main.CloseAll();
    QVERIFY(WaitFor([&] {
        // Closed windows go when the event loop deletes them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return main.Children().isEmpty() && main.StatusPanel(0).isEmpty();
    }));
    QCOMPARE(main.StatusPanel(1), QString());
}

void WindowHabitsTest::WindowMenuListsTheWindowsAndCtrlTabGoesThroughAll() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QVERIFY(WindowList(main).isEmpty());
    TmdiEditor *first = main.OpenEditor(fixture.WriteFile("first.qvb", "a"), true);
    TmdiEditor *second = main.OpenEditor(fixture.WriteFile("second.qvb", "b"), true);
    TmdiEditor *third = main.OpenEditor(fixture.WriteFile("third.qvb", "c"), true);

    QList<QAction *> entries = WindowList(main);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0]->text(), QString("&1 first.qvb"));
    QCOMPARE(entries[2]->text(), QString("&3 third.qvb"));
    QVERIFY(!entries[0]->isChecked() && !entries[1]->isChecked() && entries[2]->isChecked());
    entries[0]->trigger();
    QCOMPARE(main.ActiveChild(), static_cast<TAbstractMDIChild *>(first));
    entries = WindowList(main);
    QVERIFY(entries[0]->isChecked() && !entries[2]->isChecked());

    // Ctrl+Tab, typed in the editor, visits every window in turn.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QList<TAbstractMDIChild *> visited;
    for (int i = 0; i < 3; ++i) {
        static_cast<TmdiEditor *>(main.ActiveChild())->FocusText();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        visited.append(main.ActiveChild());
    }
    QCOMPARE(visited, QList<TAbstractMDIChild *>({second, third, first}));
    QCOMPARE(first->Memo()->toPlainText(), QString("a"));
    main.actPreviousWindow->trigger();
    QCOMPARE(main.ActiveChild(), static_cast<TAbstractMDIChild *>(third));

    third->parentWidget()->close();
    QVERIFY(WaitFor([&] { return WindowList(main).size() == 2; }));
}

void WindowHabitsTest::CascadeGivesTheWindowsOneSize() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.resize(900, 700);
    main.show();
    for (const char *name : {"a.qvb", "b.qvb", "c.qvb"}) main.OpenEditor(fixture.WriteFile(name, "x"), true);
    const QList<QMdiSubWindow *> windows = main.MdiArea()->subWindowList();
    windows[0]->showMaximized();
    windows[1]->setGeometry(5, 5, 200, 150);
    windows[2]->setGeometry(40, 40, 500, 90);
    main.actCascade->trigger();
    for (QMdiSubWindow *window : windows) {
        QVERIFY(!window->isMaximized());
        QCOMPARE(window->size(), windows[0]->size());
    }
    QVERIFY(windows[0]->width() >= 300);
    QVERIFY(windows[1]->pos().x() > windows[0]->pos().x() && windows[1]->pos().y() > windows[0]->pos().y());
    QVERIFY(windows[2]->pos().y() > windows[1]->pos().y());
}

void WindowHabitsTest::RecentFilesRoundTrip() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    const QString a = fixture.WriteFile("a.qvb", "a");
    const QString b = fixture.WriteFile("b.qvb", "b");
    main.OpenEditor(a, true);
    main.OpenEditor(b, true);
    // A new file that was never saved is no recent file.
    main.NewFile();
    QCOMPARE(main.DesktopSettings().RecentFiles(), QStringList({b, a}));
    // Stored at once, where another start of the program finds them.
    {
        CSettingsOptionStore store(fixture.OptionFile());
        QCOMPARE(TDesktopSettings(&store).RecentFiles(), QStringList({b, a}));
    }

    // The menu offers them; a closed one opens again, an open one comes to
    // the front.
    main.CloseAll();
    QVERIFY(WaitFor([&] { return main.Children().isEmpty(); }));
    main.UpdateRecentFilesMenu();
    QList<QAction *> entries = main.RecentFilesMenu()->actions();
    QCOMPARE(entries[0]->text(), "&1 " + b);
    QCOMPARE(entries[1]->text(), "&2 " + a);
    entries[1]->trigger();
    QCOMPARE(fixture.ActiveEditor()->FilePath(), a);
    QCOMPARE(main.DesktopSettings().RecentFiles(), QStringList({a, b}));
    main.UpdateRecentFilesMenu();
    main.RecentFilesMenu()->actions()[0]->trigger();
    QCOMPARE(main.Children().size(), 1);

    // At most ten, the newest first, each once.
    QStringList opened;
    for (int i = 0; i < 12; ++i) {
        const QString path = fixture.WriteFile(QString("n%1.qvb").arg(i), "n");
        main.OpenEditor(path, true);
        opened.prepend(path);
    }
    QCOMPARE(main.DesktopSettings().RecentFiles(), opened.mid(0, TDesktopSettings::kMaxRecentFiles));

    // One that is gone is taken off the list when chosen.
    QFile::remove(opened[0]);
    main.UpdateRecentFilesMenu();
    TScriptedUser user;
    main.RecentFilesMenu()->actions()[0]->trigger();
    QCOMPARE(user.messages, QStringList({"Error: File " + opened[0] + " no longer exists."}));
    QVERIFY(!main.DesktopSettings().RecentFiles().contains(opened[0]));
}

void WindowHabitsTest::PlaceAndOpenFilesComeBackAtTheNextStart() {
    TAppFixture fixture;
    const QString a = fixture.WriteFile("a.qvb", "a");
    const QString b = fixture.WriteFile("b.qvb", "b");
    TMainForm &main = fixture.Main();
    main.showNormal();
    main.setGeometry(40, 50, 640, 480);
    main.OpenEditor(a, true);
    main.OpenEditor(b, true);
    main.NewFile();  // unnamed: not opened again
    QVERIFY(main.close());
    {
        TQuorvinApp again(std::make_unique<CSettingsOptionStore>(fixture.OptionFile()), false);
        again.Start({});
        QCOMPARE(again.MainForm().geometry(), QRect(40, 50, 640, 480));
        QStringList files;
        for (TAbstractMDIChild *child : again.MainForm().Children()) files.append(child->SessionFile());
        QCOMPARE(files, QStringList({a, b}));
        again.MainForm().showMaximized();
        QVERIFY(again.MainForm().close());
    }
    {
        // Maximised comes back maximised; files named on the command line
        // are opened instead of the previous ones.
        TQuorvinApp again(std::make_unique<CSettingsOptionStore>(fixture.OptionFile()), false);
        again.Start({b});
        QVERIFY(again.MainForm().isMaximized());
        QCOMPARE(again.MainForm().Children().size(), 1);
        again.MainForm().DesktopSettings().SetRestoreSession(false);
        QVERIFY(again.MainForm().close());
    }
    {
        // Turned off, nothing comes back.
        TQuorvinApp again(std::make_unique<CSettingsOptionStore>(fixture.OptionFile()), false);
        again.Start({});
        QVERIFY(!again.MainForm().isMaximized());
        QVERIFY(again.MainForm().Children().isEmpty());
    }
}

void WindowHabitsTest::F1OpensThePageOfTheActiveWindow() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.actHelpTopic->trigger();
    QCOMPARE(main.HelpWindow()->browser->source().fileName(), QString("desktop.html"));
    QCOMPARE(main.HelpWindow()->browser->source().fragment(), QString("main"));
    main.OpenEditor(fixture.WriteFile("a.qvb", "a"), true);
    QCOMPARE(main.actHelpTopic->shortcut(), QKeySequence(QKeySequence::HelpContents));
    main.actHelpTopic->trigger();
    QCOMPARE(main.HelpWindow()->browser->source().fragment(), QString("editor"));
    main.OpenConsultationWindow("c");
    main.actHelpTopic->trigger();
    QCOMPARE(main.HelpWindow()->browser->source().fragment(), QString("consult"));
    // Every topic is an anchor of the page.
    QFile page(TfrmHelp::ManualDirectory() + "/desktop.html");
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QByteArray html = page.readAll();
    for (const char *topic : {"main", "editor", "consult", "browser"})
        QVERIFY2(html.contains(QByteArray("name=\"") + topic + "\""), topic);
}

void WindowHabitsTest::CommonShortcutsAndIcons() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QCOMPARE(main.actExit->shortcut(), QKeySequence("Ctrl+Q"));
    // The about box shows the version the programs print.
    QCOMPARE(main.AboutBox()->lBuildVersion->text(), QString("Program version " QUORVIN_VERSION));
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("a.qvb", "a"), true);
    QCOMPARE(editor->actSaveAs->shortcut(), QKeySequence("Ctrl+Shift+S"));
    QCOMPARE(editor->actRedo->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    for (QAction *action : main.StandardToolBar()->actions())
        if (!action->isSeparator()) QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
    // Captions under the icons on request, remembered.
    QCOMPARE(main.StandardToolBar()->toolButtonStyle(), Qt::ToolButtonIconOnly);
    main.actToolBarText->trigger();
    QCOMPARE(main.StandardToolBar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(main.DesktopSettings().ToolBarText());
}

void WindowHabitsTest::AnInstalledPackageNeedsNoRegistration() {
    QTemporaryDir root;
    const QString program = root.path() + "/usr/bin/quorvin";
    QVERIFY(QDir().mkpath(root.path() + "/usr/bin"));
    QVERIFY(!InstalledSystemWide(program));
    QVERIFY(QDir().mkpath(root.path() + "/usr/share/applications"));
    QVERIFY(QDir().mkpath(root.path() + "/usr/share/mime/packages"));
    QFile entry(root.path() + "/usr/share/applications/quorvin.desktop");
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.close();
    QVERIFY(!InstalledSystemWide(program));
    QFile mime(root.path() + "/usr/share/mime/packages/quorvin.xml");
    QVERIFY(mime.open(QIODevice::WriteOnly));
    mime.close();
    QVERIFY(InstalledSystemWide(program));
    // A program run from its build folder is not installed.
    QVERIFY(!InstalledSystemWide(root.path() + "/build/app/quorvin"));
}

void WindowHabitsTest::ListsShowTheChosenDecimalsAndTheDescriptions() {
    // The rule: numbers are rounded, anything else stays as written.
    QCOMPARE(ValueText("0.10000000", 2), QString("0.10"));
    QCOMPARE(ValueText("0.666667", 3), QString("0.667"));
    QCOMPARE(ValueText("0.666667", TGridLook::kAsWritten), QString("0.666667"));
    QCOMPARE(ValueText("n/a", 2), QString("n/a"));

    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.DesktopSettings().SetDecimals(2);
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", ConsultKnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    QStringList flu;
    QString fluTip;
    user.Then([&] {
        if (AnswerOpeningQuestions(questions)) return false;
        if (WaitingNodeQuestion(questions) == nullptr) return false;
        QTableWidget *goals = fixture.ActiveConsultation()->Grid(TConsultationList::orderedGoals);
        for (int row = 0; row < goals->rowCount(); ++row)
            if (goals->item(row, 0)->text() == "flu") {
                flu = {goals->item(row, 1)->text(), goals->item(row, 2)->text()};
                fluTip = goals->item(row, 2)->toolTip();
            }
        fixture.ActiveConsultation()->Abort();
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QCOMPARE(flu.value(0), QString("0.10"));
    // The node's own description, the text between quotes after its name.
    QCOMPARE(fluTip, QString("Influenza"));

    // The result dialog: the same decimals and descriptions, and columns as
    // wide as what they hold.
    TfrmConsResult &result = *main.ResultDialog();
    TScriptedUser closer;
    closer.Then([&] {
        if (!result.isVisible()) return false;
        result.bttOK->click();
        return true;
    });
    const QString longName = "influenza_with_a_complication_of_the_lower_airways";
    const std::vector<CGridRow> rows = {{CString("1."), CString("flu"), CString("0.100000"), CString("0.912345")},
                                        {CString("2."), ToCString(longName), CString("0.2"), CString("0.3")}};
    const auto describe = [](const QString &name) { return name == "flu" ? QString("about flu") : QString(); };
    result.Execute(rows, 1, describe);
    QTableWidget *grid = result.sgResult;
    QCOMPARE(grid->item(0, 2)->text(), QString("0.1"));
    QCOMPARE(grid->item(0, 3)->text(), QString("0.9"));
    QCOMPARE(grid->item(0, 0)->text(), QString("1."));
    QCOMPARE(grid->item(0, 3)->toolTip(), QString("about flu"));
    QCOMPARE(grid->item(1, 1)->toolTip(), QString());
    QVERIFY2(grid->columnWidth(1) >= grid->fontMetrics().horizontalAdvance(longName), "the name does not fit");
    // Short contents keep the least widths the dialog is drawn with.
    FillGrid(grid, {rows[0]}, TGridLook{1, 2, 1, describe, {40, 110, 190}});
    QCOMPARE(grid->columnWidth(1), 110);
    QVERIFY(grid->columnWidth(2) >= 190);

    // Nine goals show without scrolling: the dialog grows to hold them.
    std::vector<CGridRow> nine;
    for (int i = 1; i <= 9; ++i)
        nine.push_back({ToCString(QString("%1.").arg(i)), ToCString(QString("goal_%1").arg(i)), CString("0.1"),
                        CString("0.2")});
    bool scrolls = true;
    TScriptedUser reader;
    reader.Then([&] {
        if (!result.isVisible()) return false;
        scrolls = grid->verticalScrollBar()->isVisible() || grid->horizontalScrollBar()->isVisible();
        result.bttOK->click();
        return true;
    });
    result.Execute(nine);
    QVERIFY(!scrolls);
    QVERIFY(result.height() <= result.screen()->availableGeometry().height());
}

void WindowHabitsTest::OptionsForDecimalsAndReopening() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TfrmOptCons *consultation = main.ConsultationOptionsDialog();
    QCOMPARE(consultation->pages->tabText(2), QString("&Lists"));
    TScriptedUser user;
    bool tabsFit = false;
    user.Then([&] {
        if (!consultation->isVisible()) return false;
        // "As written" by default.
        if (consultation->seDecimals->text() != "As written") return false;
        // The last page's tab is in sight, not behind scroll arrows.
        const QTabBar *tabs = consultation->pages->tabBar();
        tabsFit = tabs->tabRect(tabs->count() - 1).right() < tabs->width();
        consultation->seDecimals->setValue(3);
        consultation->bttOK->click();
        return true;
    });
    main.actConsultation->trigger();
    QVERIFY(user.Done());
    QVERIFY(tabsFit);
    QCOMPARE(main.ListDecimals(), 3);

    TfrmOptGlob *global = main.GlobalOptionsDialog();
    user.Then([&] {
        if (!global->isVisible()) return false;
        if (!global->chbRestoreSession->isChecked()) return false;  // on by default
        global->chbRestoreSession->click();
        global->bttCancel->click();
        return true;
    });
    main.actEnvironment->trigger();
    QVERIFY(user.Done());
    QVERIFY(main.DesktopSettings().RestoreSession());
    user.Then([&] {
        if (!global->isVisible()) return false;
        global->chbRestoreSession->click();
        global->bttOK->click();
        return true;
    });
    main.actEnvironment->trigger();
    QVERIFY(user.Done());
    QVERIFY(!main.DesktopSettings().RestoreSession());
}

void WindowHabitsTest::CertaintyButtonsAndChoiceByKeyboard() {
    TAppFixture fixture;
    TQuestionWindows &questions = fixture.Main().Questions();
    TfrmYesNoQuestion &yesNo = *questions.yesNoQuestion;
    // The dots carry their factor; the named buttons keep their hints.
    QCOMPARE(yesNo.certaintyButtons[1]->toolTip(), QString("-4"));
    QCOMPARE(yesNo.certaintyButtons[4]->toolTip(), QString("-1"));
    QCOMPARE(yesNo.certaintyButtons[6]->toolTip(), QString("1"));
    QCOMPARE(yesNo.certaintyButtons[9]->toolTip(), QString("4"));
    QCOMPARE(yesNo.certaintyButtons[0]->toolTip(), QString("Surely NO"));
    QCOMPARE(questions.intervalQuestion->certaintyButtons[1]->toolTip(), QString("-4"));

    yesNo.show();
    QVERIFY(QTest::qWaitForWindowActive(&yesNo));
    yesNo.certaintyButtons[5]->setFocus();
    QTest::keyClick(yesNo.certaintyButtons[5], Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(yesNo.certaintyButtons[6]));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(yesNo.certaintyButtons[4]));
    yesNo.certaintyButtons[1]->setFocus();
    QTest::keyClick(yesNo.certaintyButtons[1], Qt::Key_Left);
    QTest::keyClick(yesNo.certaintyButtons[0], Qt::Key_Left);  // the row ends there
    QVERIFY(yesNo.certaintyButtons[0]->hasFocus());
    QSignalSpy pressed(yesNo.certaintyButtons[0], &QPushButton::clicked);
    QTest::keyClick(yesNo.certaintyButtons[0], Qt::Key_Return);
    QCOMPARE(pressed.count(), 1);
    QVERIFY(!yesNo.isVisible());  // pressing a factor answers
    QCOMPARE(yesNo.certainty, -5.0f);

    // The choice: what is shown selected is what is accepted.
    TfrmChoice &choice = *questions.choiceQuestion;
    CStringVector options;
    options.Add(CString("pale"));
    options.Add(CString("red"));
    choice.SetOptions(options);
    choice.Select(1);
    QCOMPARE(choice.Selection(), 1);
    choice.lbChoice->clearSelection();  // what a Ctrl+click on it does
    QCOMPARE(choice.Selection(), 1);
    QVERIFY(choice.lbChoice->item(1)->isSelected());
    choice.Select(-1);
    QCOMPARE(choice.Selection(), -1);
    QCOMPARE(choice.lbChoice->palette().color(QPalette::Inactive, QPalette::Highlight),
             choice.lbChoice->palette().color(QPalette::Active, QPalette::Highlight));
}

// Question windows share one remembered place, and a wide one (with its
// list of next questions) put where a narrow one stood ran off the screen.
void WindowHabitsTest::AWindowPutWhereAnotherStoodStaysOnTheScreen() {
    const QRect space(0, 30, 1400, 870);
    // Where it fits, it stays; otherwise it moves back just enough.
    QCOMPARE(KeptInside(space, QSize(400, 300), QPoint(100, 200)), QPoint(100, 200));
    QCOMPARE(KeptInside(space, QSize(860, 300), QPoint(900, 200)), QPoint(540, 200));
    QCOMPARE(KeptInside(space, QSize(400, 300), QPoint(-50, 700)), QPoint(0, 600));
    QCOMPARE(KeptInside(space, QSize(400, 300), QPoint(100, 0)), QPoint(100, 30));
    // Larger than the space: its top-left corner at the space's.
    QCOMPARE(KeptInside(space, QSize(1600, 1000), QPoint(300, 300)), QPoint(0, 30));

    QWidget window;
    window.resize(500, 200);
    const QRect screen = window.screen()->availableGeometry();
    const QPoint placed = OnScreen(&window, screen.bottomRight());
    QVERIFY(screen.contains(QRect(placed, window.frameGeometry().size())));
}

QTEST_MAIN(WindowHabitsTest)
#include "window_habits_test.moc"
