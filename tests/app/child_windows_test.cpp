// The child windows on their own: an editor, a consultation window and a
// database browser over a stand-in host, with no main window anywhere. What
// they need from the program goes through the host; what they tell it goes
// out as signals.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <clocale>
#include <map>

#include "app/child_host.h"
#include "app/consult_explanations.h"
#include "app/consult_window.h"
#include "app/database_browser.h"
#include "app/editor_window.h"
#include "app/settings_option_store.h"
#include "consult/global_params.h"
#include "consult/inf_control.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/message_box.h"
#include "ui/user_interface.h"

namespace {

// A host that keeps what its children ask of it, and answers as told.
class TFakeHost : public IChildHost, public IMessageBox {
public:
    QAction *Command(THostCommand command) const override {
        QAction *&action = commands[command];
        if (action == nullptr) action = new QAction(QString("command %1").arg(static_cast<int>(command)), &owner);
        return action;
    }
    CAllRetrievers *Registry() const override { return registry.get(); }
    CSettingsOptionStore *Store() const override { return store.get(); }
    IMessageBox &Messages() override { return *this; }
    QString ChooseFile(TFileDialogKind, const QString &suggested) override {
        suggestedFiles.append(suggested);
        return fileToChoose;
    }
    void OpenConsultation(std::unique_ptr<CInfControl> control, const QString &caption,
                          TAbstractMDIChild *source) override {
        consultations.push_back({std::move(control), caption, source});
    }
    void ShowResult(const std::vector<CGridRow> &rows, const TNodeDescriber &) override { results.push_back(rows); }
    int ListDecimals() const override { return TGridLook::kAsWritten; }
    void ShowNextQuestions(const TNextQuestions &next) override { nextQuestions.push_back(next); }

    void ShowMessage(const CString &text, const CString &, TMessageIcon) override {
        messages.append(QString::fromUtf8(text.Text()));
    }
    TYesNoCancel AskYesNoCancel(const CString &question, const CString &) override {
        messages.append(QString::fromUtf8(question.Text()));
        return TYesNoCancel::yes;
    }

    struct TConsultationRequest {
        std::unique_ptr<CInfControl> control;
        QString caption;
        TAbstractMDIChild *source;
    };
    CUserInterface noWindows;
    CTableEnvironment environment;
    std::unique_ptr<CAllRetrievers> registry = std::make_unique<CAllRetrieversWin>(noWindows, environment);
    std::unique_ptr<CSettingsOptionStore> store;
    QString fileToChoose;
    QStringList suggestedFiles;
    QStringList messages;
    std::vector<TConsultationRequest> consultations;
    std::vector<std::vector<CGridRow>> results;
    std::vector<TNextQuestions> nextQuestions;

private:
    mutable QObject owner;
    mutable std::map<THostCommand, QAction *> commands;
};

// Nothing in it is asked of the user: b's retriever answers "don't know".
const QByteArray kNothingToAsk = "nodes {\n"
                                 "  a { (bayesian, 0.5, goal) }\n"
                                 "  b { (bayesian, 0.5) retriever (notknown) }\n"
                                 "}\n"
                                 "rules {\n  { b, a, 0.9, 0.1 }\n}\n";

QString MenuTitle(const QList<QMenu *> &menus, int index) { return menus.value(index)->title(); }

// The (panel, text) pairs a spy on StatusPanelChanged saw, last first.
QPair<int, QString> LastStatus(const QSignalSpy &spy, qsizetype fromEnd = 0) {
    const QList<QVariant> arguments = spy.at(spy.size() - 1 - fromEnd);
    return {arguments.at(0).toInt(), arguments.at(1).toString()};
}

}  // namespace

class ChildWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void EditorUsesTheHostsCommandsFileDialogAndConsultations();
    void ConsultationWindowReportsThroughSignalsAndTheHost();
    void NextQuestionsAtQuestionsButNotInABatch();
    void BrowserListsTheHostsAliases();
};

void ChildWindowsTest::init() {
    std::setlocale(LC_NUMERIC, "C");
    GlobalParams().SetDefaults();
}

void ChildWindowsTest::EditorUsesTheHostsCommandsFileDialogAndConsultations() {
    QTemporaryDir dir;
    TFakeHost host;
    TmdiEditor editor(host);

    // The menus show the host's commands beside the editor's own.
    const QList<QMenu *> menus = editor.Menus();
    QCOMPARE(menus.size(), 4);
    QCOMPARE(MenuTitle(menus, 0), QString("&File"));
    QVERIFY(menus[0]->actions().contains(host.Command(THostCommand::newFile)));
    QVERIFY(menus[0]->actions().contains(host.Command(THostCommand::exit)));
    QVERIFY(menus[0]->actions().contains(editor.actSaveAs));
    QVERIFY(menus[1]->actions().contains(host.Command(THostCommand::paste)));
    QCOMPARE(menus[2]->actions(), QList<QAction *>({host.Command(THostCommand::buildNet)}));
    QCOMPARE(menus[3]->actions(), QList<QAction *>({host.Command(THostCommand::consult)}));

    // The caret position goes out as the text of the first two panels.
    QSignalSpy status(&editor, &TAbstractMDIChild::StatusPanelChanged);
    editor.SetFile(dir.path() + "/probe.qvb", false);
    editor.Memo()->setPlainText(kNothingToAsk);
    QTest::keyClick(editor.Memo(), Qt::Key_Right);
    QVERIFY(status.size() >= 2);
    QCOMPARE(LastStatus(status, 1), qMakePair(0, QString("       1:       2")));
    QCOMPARE(LastStatus(status), qMakePair(1, QString()));

    // Saving an unnamed text asks the host for a name.
    host.fileToChoose = dir.path() + "/saved";
    editor.Memo()->document()->setModified(true);
    editor.DoSave();
    QCOMPARE(host.suggestedFiles, QStringList({dir.path() + "/probe.qvb"}));
    QVERIFY(QFile::exists(dir.path() + "/saved.qvb"));
    QCOMPARE(editor.windowTitle(), QString("saved.qvb"));

    // Consult builds and hands the built net to the host, then takes a
    // fresh control for the next one.
    editor.DoConsult();
    QCOMPARE(host.consultations.size(), size_t(1));
    const TFakeHost::TConsultationRequest &request = host.consultations[0];
    QVERIFY(request.control->Net() != nullptr);
    QCOMPARE(request.source, &editor);
    QVERIFY(request.caption.startsWith("saved.qvb "));
    QCOMPARE(QString::fromUtf8(request.control->ConsultationName().Text()), request.caption);
    QVERIFY(!editor.Built());
    QVERIFY(editor.TextChanged());
    QVERIFY(&editor.Control() != request.control.get());

    // A text that does not build asks for no consultation.
    editor.Memo()->setPlainText("nodes {");
    editor.DoConsult();
    QCOMPARE(host.consultations.size(), size_t(1));
    QVERIFY(editor.MessagesShown());
    QVERIFY(host.messages.isEmpty());
}

void ChildWindowsTest::ConsultationWindowReportsThroughSignalsAndTheHost() {
    QTemporaryDir dir;
    TFakeHost host;
    TmdiEditor editor(host);
    editor.SetFile(dir.path() + "/probe.qvb", true);
    editor.Memo()->setPlainText(kNothingToAsk);
    editor.DoConsult();
    QCOMPARE(host.consultations.size(), size_t(1));

    TmdiConsult window(host, true);
    const QList<QMenu *> menus = window.Menus();
    QCOMPARE(menus.size(), 2);
    // "&File" without Save As and Print.
    QList<QAction *> file = menus[0]->actions();
    file.removeIf([](QAction *action) { return action->isSeparator(); });
    QCOMPARE(file, QList<QAction *>({host.Command(THostCommand::newFile), host.Command(THostCommand::open),
                                     host.Command(THostCommand::recentFiles), host.Command(THostCommand::save), host.Command(THostCommand::saveAll),
                                     host.Command(THostCommand::close), host.Command(THostCommand::closeAll),
                                     host.Command(THostCommand::exit)}));
    QList<QAction *> consultation = menus[1]->actions();
    consultation.removeIf([](QAction *action) { return action->isSeparator(); });
    QCOMPARE(consultation, QList<QAction *>({host.Command(THostCommand::consult), window.actAbort, window.actShowCode,
                                             window.explanations->netViewAction}));

    window.TakeControl(std::move(host.consultations[0].control), &editor);
    QSignalSpy status(&window, &TAbstractMDIChild::StatusPanelChanged);
    QSignalSpy running(&window, &TAbstractMDIChild::RunningChanged);
    QCOMPARE(window.RunConsultation(), 0);

    // The status goes to the first panel as the window's label shows it;
    // the consultation started and ended; the result went to the host.
    QVERIFY(!status.isEmpty());
    QCOMPARE(LastStatus(status), qMakePair(0, QString("Done, consulted ok.")));
    QCOMPARE(window.StatusText(), QString("Done, consulted ok."));
    QCOMPARE(running.size(), 2);
    QCOMPARE(running.at(0).at(0).toBool(), true);
    QCOMPARE(running.at(1).at(0).toBool(), false);
    QCOMPARE(host.results.size(), size_t(1));
    QCOMPARE(host.results[0].size(), size_t(1));
    QCOMPARE(QString::fromUtf8(host.results[0][0][1].Text()), QString("a"));
    QVERIFY(host.messages.isEmpty());

    // "Show Code" asks for the editor to be brought back; without an editor
    // it asks nothing.
    QSignalSpy activation(&window, &TAbstractMDIChild::ActivationRequested);
    window.actShowCode->trigger();
    QCOMPARE(activation.size(), 1);
    QCOMPARE(activation.at(0).at(0).value<TAbstractMDIChild *>(), static_cast<TAbstractMDIChild *>(&editor));
    TmdiConsult orphan(host, false);
    QSignalSpy nothing(&orphan, &TAbstractMDIChild::ActivationRequested);
    orphan.actShowCode->trigger();
    QVERIFY(nothing.isEmpty());
}

// The goals of the next questions the window handed to the host, in order;
// "" where it took them away.
QStringList NextQuestionGoals(const TFakeHost &host) {
    QStringList goals;
    for (const TNextQuestions &next : host.nextQuestions) goals.append(next.goal);
    return goals;
}

void ChildWindowsTest::NextQuestionsAtQuestionsButNotInABatch() {
    QTemporaryDir dir;
    TFakeHost host;
    TmdiEditor editor(host);
    for (const QString name : {"pumps.qvb", "pumps-readings.tsv", "pumps-verdicts.tsv"})
        QVERIFY(QFile::copy(QUORVIN_EXAMPLES "/" + name, dir.path() + "/" + name));
    editor.SetFile(dir.path() + "/pumps.qvb", true);
    QVERIFY(editor.LoadFile(dir.path() + "/pumps.qvb"));
    editor.DoConsult();
    editor.Memo()->setPlainText(kNothingToAsk);
    editor.DoConsult();
    QCOMPARE(host.consultations.size(), size_t(2));

    // A batch: every node is answered from the table; no list is made.
    TmdiConsult batch(host, true);
    batch.TakeControl(std::move(host.consultations[0].control), &editor);
    batch.RunConsultation();
    QVERIFY2(host.messages.contains("Batch consultation finished."), qPrintable(host.messages.join("; ")));
    QVERIFY(!host.nextQuestions.empty());
    QVERIFY(NextQuestionGoals(host).filter(QRegularExpression(".")).isEmpty());

    // A single consultation: its question about b comes with the list of
    // its goal a; when it ends the list is taken away.
    host.nextQuestions.clear();
    TmdiConsult single(host, true);
    single.TakeControl(std::move(host.consultations[1].control), &editor);
    QCOMPARE(single.RunConsultation(), 0);
    const QStringList goals = NextQuestionGoals(host);
    QVERIFY2(goals.startsWith("a"), qPrintable(goals.join(",")));
    QCOMPARE(goals.back(), QString());
}

void ChildWindowsTest::BrowserListsTheHostsAliases() {
    TFakeHost host;
    {
        // Without a store there is nothing to list.
        TmdiBrowser browser(host);
        QCOMPARE(browser.lvAliases->topLevelItemCount(), 0);
    }
    QTemporaryDir dir;
    host.store = std::make_unique<CSettingsOptionStore>(dir.path() + "/quorvin.ini");
    host.store->WriteText(CTableEnvironment::kAliasKey, "garage", "/data/garage.sqlite");
    TmdiBrowser browser(host);
    QCOMPARE(browser.lvAliases->topLevelItemCount(), 1);
    QCOMPARE(browser.lvAliases->topLevelItem(0)->text(0), QString("garage"));
    QCOMPARE(browser.lvAliases->topLevelItem(0)->text(1), QString("/data/garage.sqlite"));
}

QTEST_MAIN(ChildWindowsTest)
#include "child_windows_test.moc"
