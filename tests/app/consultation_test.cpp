// Consultations in the desktop: answered through the Qt question windows,
// aborted during a question, and the close question while one runs.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>

#include "app/consult_window.h"
#include "app/editor_window.h"
#include "app/main_form.h"
#include "app/question_windows.h"
#include "app/result_dialog.h"
#include "app_fixture.h"
#include "consult/consultation_driver.h"
#include "consult/global_params.h"
#include "consult/inf_control.h"
#include "net/inf_tax_net.h"
#include "scripted_user.h"

namespace {

QByteArray KnowledgeBase() {
    QFile file(QUORVIN_TEST_DATA "/app/consult.qvb");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList GridRow(QTableWidget *grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells.append(grid->item(row, c) != nullptr ? grid->item(row, c)->text() : QString());
    return cells;
}

// The parameter and taxonomy questions that open every consultation.
bool AnswerOpeningQuestions(TQuestionWindows &questions) {
    if (questions.paramQuestion->isVisible()) {
        QTest::keyClicks(questions.paramQuestion->field, "Ann");
        questions.paramQuestion->bttAccept->click();
        return true;
    }
    if (questions.taxonomyList->isVisible()) {
        questions.taxonomyList->bttOK->click();
        return true;
    }
    return false;
}

// The question window of a node that is waiting for an answer, if any.
TfrmAbstractQuestion *NodeQuestion(TQuestionWindows &questions) {
    for (TfrmAbstractQuestion *question :
         {static_cast<TfrmAbstractQuestion *>(questions.probQuestion),
          static_cast<TfrmAbstractQuestion *>(questions.yesNoQuestion),
          static_cast<TfrmAbstractQuestion *>(questions.exactValue),
          static_cast<TfrmAbstractQuestion *>(questions.intervalQuestion),
          static_cast<TfrmAbstractQuestion *>(questions.choiceQuestion)})
        if (question->isVisible()) return question;
    return nullptr;
}

int CountOf(const QByteArray &text, const QByteArray &part) {
    int count = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + 1)) ++count;
    return count;
}

}  // namespace

class ConsultationTest : public QObject {
    Q_OBJECT

private slots:
    void ConsultationAnsweredThroughTheQuestionWindows();
    void AbortDuringAQuestionWritesBothReportsAndKeepsTheWindow();
    void CloseQuestionWhileRunning();
    void ListsFollowTheirCheckBoxes();
    void TaxonomyListAndClassDialog();
    void QuestionWindowsShareOnePlaceAndShowRejections();
};

void ConsultationTest::ConsultationAnsweredThroughTheQuestionWindows() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    const QString path = fixture.WriteFile("consult.qvb", KnowledgeBase());
    TmdiEditor *editor = main.OpenEditor(path, true);
    TQuestionWindows &questions = main.Questions();

    TScriptedUser user;
    QStringList asked;
    QStringList pagesSeen;
    QList<QStringList> resultRows;
    bool commandsDisabledWhileAsking = true;
    bool probabilityRefusedOnce = false;
    user.Then([&] {
        TmdiConsult *window = fixture.ActiveConsultation();
        if (window != nullptr && !window->ShownPage().isEmpty() && !pagesSeen.contains(window->ShownPage()))
            pagesSeen.append(window->ShownPage());
        if (AnswerOpeningQuestions(questions)) return false;
        if (window != nullptr && window->Running())
            commandsDisabledWhileAsking = commandsDisabledWhileAsking && !main.actConsult->isEnabled() &&
                                          !main.actSave->isEnabled() && window->actAbort->isEnabled();
        if (questions.probQuestion->isVisible()) {
            asked.append(questions.probQuestion->mDescr->toPlainText());
            questions.probQuestion->field->setText(probabilityRefusedOnce ? "0.9" : "1.5");
            probabilityRefusedOnce = true;
            questions.probQuestion->bttAccept->click();
        } else if (questions.yesNoQuestion->isVisible()) {
            asked.append(questions.yesNoQuestion->mDescr->toPlainText());
            questions.yesNoQuestion->certaintyButtons[8]->click();  // +3
        } else if (questions.exactValue->isVisible()) {
            asked.append(questions.exactValue->mDescr->toPlainText());
            questions.exactValue->field->setText("39");
            questions.exactValue->bttAccept->click();
        } else if (questions.choiceQuestion->isVisible()) {
            asked.append(questions.choiceQuestion->mDescr->toPlainText());
            questions.choiceQuestion->lbChoice->setCurrentRow(2);
            questions.choiceQuestion->bttAccept->click();
        } else if (questions.intervalQuestion->isVisible()) {
            asked.append(questions.intervalQuestion->mDescr->toPlainText());
            questions.intervalQuestion->eFrom->setText("30");
            questions.intervalQuestion->eTo->setText("50");
            questions.intervalQuestion->certaintyButtons[9]->click();  // +4
        } else if (main.ResultDialog()->isVisible()) {
            for (int r = 0; r < main.ResultDialog()->sgResult->rowCount(); ++r)
                resultRows.append(GridRow(main.ResultDialog()->sgResult, r));
            main.ResultDialog()->bttOK->click();
            return true;
        }
        return false;
    });
    main.actConsult->trigger();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(window != nullptr);
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));

    QCOMPARE(asked.size(), 6);  // the probability twice: the first answer was refused
    QCOMPARE(asked.count("Does the patient have a fever?"), 2);
    QVERIFY(asked.contains("Colour of the throat"));
    QVERIFY(user.messages.contains("Question - probability: Enter a real number from <0,1> !"));
    QVERIFY(commandsDisabledWhileAsking);
    // The help pane followed the investigated node to its page.
    QVERIFY(!pagesSeen.isEmpty());
    QVERIFY(pagesSeen.first().endsWith("/fever.html"));

    QCOMPARE(window->StatusText(), QString("Done, consulted ok."));
    QCOMPARE(window->InvestigatedNodeText(), QString(".........."));
    QVERIFY(!window->Running());
    QVERIFY(main.actConsult->isEnabled());
    QVERIFY(!window->actAbort->isEnabled());
    // The same answers on the console give the same values (the choice is
    // the third option, the certainty +3, the interval 30..50 with +4).
    QCOMPARE(resultRows, QList<QStringList>({{"1.", "flu", "0.10000000", "0.95973885"},
                                             {"2.", "cold", "0.20000000", "0.75862068"}}));
    QTableWidget *goals = window->Grid(TConsultationList::orderedGoals);
    QCOMPARE(goals->rowCount(), 2);
    QCOMPARE(GridRow(goals, 0), QStringList({"flu", "0.10000000", "0.95973885"}));
    QCOMPARE(GridRow(window->Grid(TConsultationList::callStack), 0), QStringList({""}));
    QCOMPARE(window->Grid(TConsultationList::allNodes)->rowCount(), 5);
    QVERIFY(fixture.ReadFile(fixture.Dir() + "/report.txt").contains("Status:   consulted ok"));

    // The editor took a fresh control and builds again for the next one.
    QVERIFY(editor->TextChanged());
    QVERIFY(!editor->Built());
    QVERIFY(!editor->MessagesShown());
    QCOMPARE(QString::fromUtf8(window->Driver()->Control().ConsultationName().Text()), window->windowTitle());
    QVERIFY(window->windowTitle().startsWith("consult.qvb "));
    // "Show Code" brings the editor back.
    window->actShowCode->trigger();
    QCOMPARE(main.ActiveChild(), editor);
}

void ConsultationTest::AbortDuringAQuestionWritesBothReportsAndKeepsTheWindow() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", KnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    bool abortedWhileAsking = false;
    user.Then([&] {
        if (AnswerOpeningQuestions(questions)) return false;
        TfrmAbstractQuestion *question = NodeQuestion(questions);
        if (question == nullptr) return false;
        fixture.ActiveConsultation()->actAbort->trigger();
        abortedWhileAsking = !question->isVisible();
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QVERIFY(abortedWhileAsking);
    QCOMPARE(window->StatusText(), QString("Consultation aborted."));
    QVERIFY(main.Children().contains(window));
    QVERIFY(user.messages.isEmpty());
    const QByteArray report = fixture.ReadFile(fixture.Dir() + "/report.txt");
    QCOMPARE(CountOf(report, "CONSULTATION REPORT"), 2);
    QVERIFY(report.contains("Status:   consulted ok"));
    QVERIFY(report.contains("Status:   aborted"));

    // The window runs its consultation again, this time to the end.
    user.Then([&] {
        if (AnswerOpeningQuestions(questions)) return false;
        TfrmAbstractQuestion *question = NodeQuestion(questions);
        if (question != nullptr && question != questions.intervalQuestion) question->reject();  // "Don't know"
        if (questions.intervalQuestion->isVisible()) {
            questions.intervalQuestion->eFrom->setText("1");
            questions.intervalQuestion->eTo->setText("2");
            questions.intervalQuestion->certaintyButtons[5]->click();
        }
        if (!main.ResultDialog()->isVisible()) return false;
        main.ResultDialog()->bttOK->click();
        return true;
    });
    main.actConsult->trigger();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QCOMPARE(window->StatusText(), QString("Done, consulted ok."));
}

void ConsultationTest::CloseQuestionWhileRunning() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", KnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    user.answers["Abort consultation?"] = QMessageBox::No;
    bool stillRunningAfterNo = false;
    bool stillOpenAfterYes = false;
    user.Then([&] {
        if (AnswerOpeningQuestions(questions)) return false;
        TfrmAbstractQuestion *question = NodeQuestion(questions);
        if (question == nullptr) return false;
        main.CloseActive();  // answered No
        stillRunningAfterNo = fixture.ActiveConsultation()->Running() && question->isVisible();
        user.answers["Abort consultation?"] = QMessageBox::Yes;
        main.CloseActive();  // answered Yes: aborts, the window stays
        stillOpenAfterYes = fixture.ActiveConsultation() != nullptr;
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QCOMPARE(user.messages, QStringList({"Abort?: Abort consultation?", "Abort?: Abort consultation?"}));
    QVERIFY(stillRunningAfterNo);
    QVERIFY(stillOpenAfterYes);
    QCOMPARE(window->StatusText(), QString("Consultation aborted."));
    QVERIFY(main.Children().contains(window));
    // Once the consultation has unwound the window closes without asking.
    main.Activate(window);
    main.CloseActive();
    QTRY_VERIFY(!main.Children().contains(window));
    QCOMPARE(user.messages.size(), 2);
}

void ConsultationTest::ListsFollowTheirCheckBoxes() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", KnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    int callStackRowsWhileAsking = -1;
    user.Then([&] {
        if (AnswerOpeningQuestions(questions)) return false;
        if (NodeQuestion(questions) == nullptr) return false;
        TmdiConsult *window = fixture.ActiveConsultation();
        QCheckBox *box = window->CheckBox(TConsultationList::callStack);
        box->click();  // unticked: one empty row
        box->click();  // ticked while running: filled at once
        callStackRowsWhileAsking = window->Grid(TConsultationList::callStack)->rowCount();
        window->Abort();
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QCOMPARE(callStackRowsWhileAsking, 2);  // flu, fever

    QCheckBox *goalsBox = window->CheckBox(TConsultationList::orderedGoals);
    goalsBox->click();
    QCOMPARE(window->Grid(TConsultationList::orderedGoals)->rowCount(), 1);
    QCOMPARE(GridRow(window->Grid(TConsultationList::orderedGoals), 0), QStringList({"", "", ""}));
    goalsBox->click();
    QCOMPARE(window->Grid(TConsultationList::orderedGoals)->rowCount(), 2);
    // Ticked after the consultation, the call stack stays empty.
    QCheckBox *stackBox = window->CheckBox(TConsultationList::callStack);
    stackBox->click();
    stackBox->click();
    QCOMPARE(window->Grid(TConsultationList::callStack)->rowCount(), 1);
    QCOMPARE(window->Grid(TConsultationList::orderedGoals)->columnWidth(0), 70);

    // "Goa&l" shows the investigated goal's page (the more probable goal,
    // cold, is investigated first); "&Net" the index and "&Node" the
    // node's, which this knowledge base does not have: the pane keeps its
    // page.
    QVERIFY(window->ShownPage().isEmpty());
    window->bttGoal->click();
    QVERIFY(window->ShownPage().endsWith("/cold.html"));
    QVERIFY(window->htmlViewer->toPlainText().contains("A common cold: a sore throat and a cough."));
    window->bttNet->click();
    window->bttNode->click();
    QVERIFY(window->ShownPage().endsWith("/cold.html"));

    // The plain kind has no viewer and says so.
    GlobalParams().UseHTML = false;
    TmdiConsult *plain = main.OpenConsultationWindow("plain");
    QVERIFY(!plain->HasHtmlViewer());
    QVERIFY(plain->findChild<QLabel *>() != nullptr);
    bool saysSo = false;
    for (QLabel *label : plain->findChildren<QLabel *>()) saysSo = saysSo || label->text() == "HTML viewer not available";
    QVERIFY(saysSo);
}

void ConsultationTest::TaxonomyListAndClassDialog() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("consult.qvb", KnowledgeBase()), true);
    TQuestionWindows &questions = main.Questions();
    TScriptedUser user;
    QStringList treeItems;
    QString selectedCell;
    user.Then([&] {
        if (!questions.paramQuestion->isVisible()) return false;
        questions.paramQuestion->bttAccept->click();  // an empty value
        return true;
    });
    user.Then([&] {
        if (!questions.taxonomyList->isVisible()) return false;
        QTreeWidgetItem *row = questions.taxonomyList->lvTaxonomies->topLevelItem(0);
        if (row->text(0) != "illness") return false;
        row->setCheckState(0, Qt::Checked);  // ticking opens the class dialog
        return true;
    });
    user.Then([&] {
        TfrmAskTax *dialog = questions.taxonomyClass;
        if (!dialog->isVisible()) return false;
        for (QTreeWidgetItemIterator it(dialog->tvClasses); *it; ++it) treeItems.append((*it)->text(0));
        dialog->tvClasses->setCurrentItem(dialog->tvClasses->topLevelItem(0)->child(0));
        dialog->bttOK->click();
        return true;
    });
    user.Then([&] {
        QTreeWidgetItem *row = questions.taxonomyList->lvTaxonomies->topLevelItem(0);
        if (!questions.taxonomyList->isVisible() || row->text(1).isEmpty()) return false;
        selectedCell = row->text(1);
        fixture.ActiveConsultation()->Abort();
        return true;
    });
    editor->DoConsult();
    TmdiConsult *window = fixture.ActiveConsultation();
    QVERIFY(WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); }));
    QCOMPARE(treeItems, QStringList({"illness", "viral"}));
    QCOMPARE(selectedCell, QString("viral"));
    QVERIFY(!questions.taxonomyList->isVisible());
    QCOMPARE(window->StatusText(), QString("Consultation aborted."));
    // The parameter accepted empty has the empty value, not "0".
    QVERIFY(window->Driver()->Control().Net() != nullptr);
}

void ConsultationTest::QuestionWindowsShareOnePlaceAndShowRejections() {
    TAppFixture fixture;
    TQuestionWindows &questions = fixture.Main().Questions();
    questions.probQuestion->CentreOverMainWindow();
    const QPoint centred = TfrmAbstractQuestion::RememberedPosition();
    TScriptedUser user;
    QPoint openedAt;
    user.Then([&] {
        if (!questions.probQuestion->isVisible()) return false;
        openedAt = questions.probQuestion->pos();
        questions.probQuestion->move(centred + QPoint(40, 30));
        questions.probQuestion->reject();  // Esc: closed without accepting
        return true;
    });
    questions.probQuestion->ShowAndWait();
    QCOMPARE(openedAt, centred);
    QVERIFY(questions.probQuestion->dontKnow);
    QVERIFY(!questions.probQuestion->aborted);
    QCOMPARE(TfrmAbstractQuestion::RememberedPosition(), centred + QPoint(40, 30));

    // Another kind opens where the last one was left; a rejection is shown
    // after it appears; the interval window focuses the field at fault.
    user.Then([&] {
        if (!questions.intervalQuestion->isVisible() || !user.messages.size()) return false;
        openedAt = questions.intervalQuestion->pos();
        questions.intervalQuestion->Abort();
        return true;
    });
    questions.intervalQuestion->FocusField(TIntervalField::to);
    questions.intervalQuestion->ShowAndWait("\"To\" must be a number!");
    QCOMPARE(openedAt, centred + QPoint(40, 30));
    QVERIFY(questions.intervalQuestion->aborted);
    QCOMPARE(user.messages, QStringList({"Question - one interval: \"To\" must be a number!"}));
    QCOMPARE(questions.intervalQuestion->focusWidget(), questions.intervalQuestion->eTo);
    // Showing resets the certainty factor; closing without a button gives 0.
    questions.intervalQuestion->certainty = 4.0f;
    user.Then([&] {
        if (!questions.intervalQuestion->isVisible()) return false;
        questions.intervalQuestion->close();
        return true;
    });
    questions.intervalQuestion->ShowAndWait();
    QCOMPARE(questions.intervalQuestion->certainty, 0.0f);

    // The choice question selects its first option when shown; a double
    // click accepts.
    CStringVector options;
    options.Add("red");
    options.Add("green");
    questions.choiceQuestion->SetOptions(options);
    questions.choiceQuestion->Select(1);
    int selectedOnShow = -1;
    user.Then([&] {
        if (!questions.choiceQuestion->isVisible()) return false;
        selectedOnShow = questions.choiceQuestion->Selection();
        QListWidget *list = questions.choiceQuestion->lbChoice;
        list->setCurrentRow(1);
        emit list->itemDoubleClicked(list->item(1));
        return true;
    });
    questions.choiceQuestion->ShowAndWait();
    QCOMPARE(selectedOnShow, 0);
    QCOMPARE(questions.choiceQuestion->Selection(), 1);
    QVERIFY(!questions.choiceQuestion->dontKnow);
    // The titles and captions of the windows.
    QCOMPARE(questions.yesNoQuestion->windowTitle(), QString("Question - yes/no"));
    QCOMPARE(questions.yesNoQuestion->certaintyButtons[0]->text(), QString("&No"));
    QCOMPARE(questions.yesNoQuestion->certaintyButtons[5]->toolTip(), QString("I do not know"));
    QCOMPARE(questions.yesNoQuestion->certaintyButtons[10]->toolTip(), QString("Surely YES"));
    QCOMPARE(questions.intervalQuestion->certaintyButtons[10]->text(), QString("&Sure"));
    QCOMPARE(questions.intervalQuestion->certaintyButtons[3]->text(), QString("."));
    QVERIFY(questions.probQuestion->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!questions.probQuestion->isModal());
}

QTEST_MAIN(ConsultationTest)
#include "consultation_test.moc"
