// Explanations in the desktop: the explanation pane (How of a picked node,
// Why of the question), the next questions beside the question windows,
// and the bars of the result dialog. Consultations of the car example,
// answered through the question windows.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>
#include <cmath>
#include <cstring>

#include "app/consult_explanations.h"
#include "app/consult_window.h"
#include "app/editor_window.h"
#include "app/explanation_html.h"
#include "app/explanation_pane.h"
#include "app/main_form.h"
#include "app/net_scene.h"
#include "app/net_view.h"
#include "app/next_questions_list.h"
#include "app/question_windows.h"
#include "app/result_dialog.h"
#include "app/value_bar_delegate.h"
#include "app_fixture.h"
#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "graph/value_colour.h"
#include "net/bayes_node.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "scripted_user.h"

namespace {

QByteArray CarKnowledgeBase() {
    QFile file(QUORVIN_EXAMPLES "/car.qvb");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The question window of a node that waits for an answer, if any.
TfrmAbstractQuestion *NodeQuestion(TQuestionWindows &questions) {
    for (TfrmAbstractQuestion *question : questions.NodeQuestions())
        if (question->isVisible()) return question;
    return nullptr;
}

// Answers the waiting question the same way every time: "fairly surely
// not", 11.9 (volts or years), the second choice.
void Answer(TQuestionWindows &questions) {
    if (questions.yesNoQuestion->isVisible()) {
        questions.yesNoQuestion->certaintyButtons[2]->click();
    } else if (questions.exactValue->isVisible()) {
        questions.exactValue->field->setText("11.9");
        questions.exactValue->bttAccept->click();
    } else if (questions.choiceQuestion->isVisible()) {
        questions.choiceQuestion->lbChoice->setCurrentRow(1);
        questions.choiceQuestion->bttAccept->click();
    } else if (questions.probQuestion->isVisible()) {
        questions.probQuestion->field->setText("0.4");
        questions.probQuestion->bttAccept->click();
    }
}

// Every node's values and flags, bit for bit.
QByteArray NetBits(const CInferenceNet &net) {
    QByteArray bits;
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        const CNode *node = net.nodes.At(i);
        for (float value : {node->prior, node->current}) bits.append(reinterpret_cast<const char *>(&value), sizeof value);
        bits.append(static_cast<char>(node->asked)).append(static_cast<char>(node->finished));
    }
    return bits;
}

struct TQuestionSeen {
    QString asked;
    QString why;
    bool nextShown = false;
    int nextRows = 0;
    QString nextCaption;
    QStringList nextInBold;
    QString askedTip;  // the tip of the row in bold
};

QStringList BoldRows(QTreeWidget *list) {
    QStringList bold;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->font(0).bold()) bold.append(list->topLevelItem(row)->text(0));
    return bold;
}

QString BoldTip(QTreeWidget *list) {
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (list->topLevelItem(row)->font(0).bold()) return list->topLevelItem(row)->toolTip(0);
    return QString();
}

// Runs one consultation of the window to its result, answering with Answer;
// `atQuestion` runs at every question before the answer, `atResult` while
// the result dialog is shown.
QList<TQuestionSeen> Consult(TMainForm &main, TmdiConsult *window,
                             const std::function<void(TfrmAbstractQuestion *)> &atQuestion = {},
                             const std::function<void()> &atResult = {}) {
    TQuestionWindows &questions = main.Questions();
    QList<TQuestionSeen> seen;
    TScriptedUser user;
    user.Then([&] {
        if (main.ResultDialog()->isVisible()) {
            if (atResult) atResult();
            main.ResultDialog()->bttOK->click();
            return true;
        }
        TfrmAbstractQuestion *question = NodeQuestion(questions);
        if (question == nullptr) return false;
        seen.append({question->mDescr->toPlainText(), window->explanations->pane->Why(),
                     question->nextQuestions->isVisible(), question->nextQuestions->list->topLevelItemCount(),
                     question->nextQuestions->caption->text(), BoldRows(question->nextQuestions->list),
                     BoldTip(question->nextQuestions->list)});
        if (atQuestion) atQuestion(question);
        Answer(questions);
        return false;
    });
    window->DoConsult();
    WaitFor([&] { return user.Done() && !window->Driver()->InsideConsultation(); });
    return seen;
}

// A goal with `count` askable sources, more than the net view draws whole.
QByteArray WideKnowledgeBase(int count) {
    QByteArray nodes = "nodes {\n", rules = "rules {\n";
    for (int i = 0; i < count; ++i) {
        nodes += QByteArray("  a") + QByteArray::number(i) + " { (bayesian, 0.5) retriever (wincf) }\n";
        rules += QByteArray("  { a") + QByteArray::number(i) + ", g, 0.6, 0.4 }\n";
    }
    return nodes + "  g { (bayesian, 0.5, goal) }\n}\n" + rules + "}\n";
}

TmdiConsult *OpenConsultation(TAppFixture &fixture, const QByteArray &knowledgeBase) {
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("kb.qvb", knowledgeBase), true);
    // Consult opens the window and starts a consultation from the event
    // loop; the tests run their own, so the first is aborted at its first
    // question.
    TScriptedUser user;
    user.Then([&] {
        if (NodeQuestion(main.Questions()) == nullptr) return false;
        fixture.ActiveConsultation()->Abort();
        return true;
    });
    editor->DoConsult();
    WaitFor([&] {
        TmdiConsult *window = fixture.ActiveConsultation();
        return user.Done() && window != nullptr && !window->Driver()->InsideConsultation();
    });
    return fixture.ActiveConsultation();
}

TmdiConsult *OpenCarConsultation(TAppFixture &fixture) { return OpenConsultation(fixture, CarKnowledgeBase()); }

QColor ScaleColour(float value) {
    const quorvin::graph::Rgb colour = quorvin::graph::ValueColour(value);
    return QColor(colour.r, colour.g, colour.b);
}

int RowOf(QTableWidget *grid, const QString &name) {
    for (int row = 0; row < grid->rowCount(); ++row)
        if (grid->item(row, 0) != nullptr && grid->item(row, 0)->text() == name) return row;
    return -1;
}

const QRegularExpression kSignedDecibans(R"([+-]\d+\.\d dB)");

}  // namespace

class ExplanationTest : public QObject {
    Q_OBJECT

private slots:
    void PaneShowsHowOfAPickedNodeAndWhyWhileAsking();
    void NextQuestionsBesideTheQuestionLeaveTheResultBitIdentical();
    void NextQuestionsWidenForTheirNamesUpToALimit();
    void AccountsReadAsTheCasesDiffer();
    void ResultDialogDrawsBarsBesideTheValues();
    void NetViewFollowsTheConsultationAndExplainsAClickedNode();
    void NetViewOfALargeNetShowsTheNeighbourhoodOfTheInvestigatedNode();
};

void ExplanationTest::PaneShowsHowOfAPickedNodeAndWhyWhileAsking() {
    TAppFixture fixture;
    TmdiConsult *window = OpenCarConsultation(fixture);
    QVERIFY(window != nullptr);
    QTableWidget *goals = window->Grid(TConsultationList::orderedGoals);
    QString howAtFirstQuestion;
    QString whyAtResult = "not seen";
    const QList<TQuestionSeen> seen = Consult(
        fixture.Main(), window,
        [&](TfrmAbstractQuestion *) {
            if (!howAtFirstQuestion.isEmpty()) return;
            goals->setCurrentCell(RowOf(goals, "flat_battery"), 0);
            howAtFirstQuestion = window->explanations->pane->toPlainText();
        },
        [&] { whyAtResult = window->explanations->pane->Why(); });
    QVERIFY(seen.size() >= 3);
    // Cranking comes first, and the account says why: the goal's best
    // source, rapid_clicking, needs it within its context link.
    QVERIFY(seen[0].why.contains("Why engine_cranks is asked"));
    QVERIFY2(seen[0].why.contains("<b>rapid_clicking 2.788110</b> &larr; investigated"), qPrintable(seen[0].why));
    QVERIFY(seen[0].why.contains("(context link)"));
    for (const TQuestionSeen &question : seen) QVERIFY(question.why.contains("is asked"));
    QVERIFY(howAtFirstQuestion.contains("Why engine_cranks is asked"));
    QVERIFY(howAtFirstQuestion.contains("How flat_battery got its value"));
    QVERIFY(howAtFirstQuestion.contains("No evidence has reached it yet"));

    // Once the result is shown no question waits; the How of the goal lists
    // its rules with their sources and signed weights.
    QCOMPARE(whyAtResult, QString());
    QVERIFY(window->explanations->pane->Why().isEmpty());
    const QString how = window->explanations->pane->toPlainText();
    QVERIFY2(how.contains("How flat_battery got its value"), qPrintable(how));
    QVERIFY(how.contains("engine_cranks"));
    QVERIFY(how.contains("lights_bright"));
    QVERIFY2(kSignedDecibans.match(how).hasMatch(), qPrintable(how));
    QVERIFY(!how.contains("Why "));
    // However the goals re-sorted, the selected row is the explained goal's.
    QCOMPARE(goals->item(goals->currentRow(), 0)->text(), QString("flat_battery"));

    // An answered node says what was answered and through which retriever.
    QTableWidget *nodes = window->Grid(TConsultationList::allNodes);
    nodes->setCurrentCell(RowOf(nodes, "engine_cranks"), 0);
    const QString answered = window->explanations->pane->toPlainText();
    QVERIFY2(answered.contains("How engine_cranks got its value"), qPrintable(answered));
    QVERIFY(answered.contains("Answered"));
    QVERIFY(answered.contains("wincf"));
    QCOMPARE(goals->currentRow(), -1);
}

void ExplanationTest::NextQuestionsBesideTheQuestionLeaveTheResultBitIdentical() {
    TAppFixture fixture;
    TmdiConsult *window = OpenCarConsultation(fixture);
    QVERIFY(window != nullptr);
    const CInferenceNet &net = *window->Driver()->Control().Net();

    QVERIFY(window->explanations->nextQuestionsBox->isChecked());
    const QList<TQuestionSeen> explained = Consult(fixture.Main(), window);
    const QByteArray explainedBits = NetBits(net);
    window->explanations->nextQuestionsBox->setChecked(false);
    const QList<TQuestionSeen> plain = Consult(fixture.Main(), window);
    const QByteArray plainBits = NetBits(net);

    QVERIFY(explained.size() >= 3);
    QCOMPARE(explained.size(), plain.size());
    for (qsizetype i = 0; i < explained.size(); ++i) {
        QCOMPARE(explained[i].asked, plain[i].asked);
        QVERIFY(explained[i].nextShown);
        QVERIFY(!plain[i].nextShown);
    }
    // Every what-if was undone: the two consultations end bit for bit alike.
    QCOMPARE(explainedBits, plainBits);
    bool anyGoalValueMoved = false;
    for (int32_t i = 0; i < net.goals.Count(); ++i) anyGoalValueMoved |= net.goals.At(i)->current != net.goals.At(i)->prior;
    QVERIFY(anyGoalValueMoved);

    // The first question's list: the goal under investigation, and every
    // question the goal may still ask, the one asked among them.
    QVERIFY2(explained[0].nextCaption.contains("Next questions for"), qPrintable(explained[0].nextCaption));
    QVERIFY(explained[0].nextRows >= 2);
    // The question being asked stands out among them.
    QCOMPARE(explained[0].nextInBold, QStringList({"engine_cranks"}));
    // A row's tip gives its whole name and its question.
    QCOMPARE(explained[0].askedTip, "engine_cranks: " + explained[0].asked);
    // No panel is left beside a question window once the consultation ended.
    for (TfrmAbstractQuestion *question : fixture.Main().Questions().NodeQuestions())
        QVERIFY(!question->nextQuestions->isVisibleTo(question));
}

void ExplanationTest::AccountsReadAsTheCasesDiffer() {
    using namespace quorvin::explain;
    CBayesNode h("h", 0.2f, false, true), a("a", 0.5f, true, false), b("b<c>", 0.5f, true, false);
    CLogicalNode either("either", CLogicalNode::kOr, false, false);

    // A Bayesian node held at the ceiling: a weight for and one against,
    // the cap marked, the answer that was not kept said so.
    How capped;
    capped.node = &h;
    capped.bayesian = true;
    capped.bayes.updated = true;
    capped.bayes.ceilingReached = true;
    capped.bayes.rules = {{nullptr, &a, 0.5f, 1.0f, 0.9f, 0.1f, 99999.0f, 1e6, 1e6, std::log(40.0), true},
                          {nullptr, &b, 0.5f, 0.0f, 0.4f, 0.8f, 0.5f, 0.5, 0.5, std::log(0.5), false}};
    capped.answer.asked = true;
    const QString html = HowHtml(capped);
    QVERIFY(html.contains("How h got its value"));
    QVERIFY(html.contains("<span style=\"color:#1a7f37\">+16.0 dB</span>"));
    QVERIFY(html.contains("<span style=\"color:#b3261e\">-3.0 dB</span>"));
    QCOMPARE(html.count("product held at 99999"), 1);
    QVERIFY(html.contains("held at the ceiling 99999"));
    QVERIFY(html.contains("the answer itself was not kept"));
    QVERIFY(html.contains("b&lt;c&gt;"));
    QVERIFY(!html.contains("b<c>"));

    // A logical node: the deciding source in bold, the others after it.
    How logical;
    logical.node = &either;
    logical.logical = {CLogicalNode::kOr, &a, {&h}};
    const QString decided = HowHtml(logical);
    QVERIFY(decided.contains("largest of its sources"));
    QVERIFY(decided.contains("Decided by <b>a</b>"));
    QVERIFY(decided.contains("also h"));
    logical.logical = {CLogicalNode::kOr, nullptr, {}};
    QVERIFY(HowHtml(logical).contains("It has no sources"));

    // The descent to a question through a priority link.
    CPriorityLink link(&a, &h);
    Why why;
    why.goal = &h;
    why.asked = &a;
    why.steps = {{&h, &link, {}, &a, &a}, {&a, nullptr, {}, nullptr, nullptr}};
    QVERIFY(WhyHtml(why).contains("<b>h</b> waits for <b>a</b> (priority link)"));
    QCOMPARE(WhyHtml(Why{}), QString("<p>Nothing is being investigated.</p>"));
}

void ExplanationTest::ResultDialogDrawsBarsBesideTheValues() {
    TAppFixture fixture;
    TfrmConsResult *dialog = fixture.Main().ResultDialog();
    const std::vector<CGridRow> rows = {{"1.", "flat_battery", "0.30000001", "0.90000000"},
                                        {"2.", "starter_fault", "0.10000000", "0.02000000"}};
    dialog->ShowRows(rows);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QTableWidget *grid = dialog->sgResult;
    // The columns and their texts are the dialog's own.
    QCOMPARE(grid->columnCount(), 4);
    QCOMPARE(grid->horizontalHeaderItem(3)->text(), QString("Aposterior"));
    QCOMPARE(grid->item(0, 3)->text(), QString("0.90000000"));
    QCOMPARE(grid->itemDelegateForColumn(2), dialog->priorBars);
    QCOMPARE(grid->itemDelegateForColumn(3), dialog->posteriorBars);
    QVERIFY(dialog->priorBars->Colour() != dialog->posteriorBars->Colour());

    const QImage image = grid->viewport()->grab().toImage();
    const int textWidth = TValueBarDelegate::TextWidth(grid->fontMetrics());
    for (int row = 0; row < 2; ++row) {
        for (int column : {2, 3}) {
            const QString text = grid->item(row, column)->text();
            const double value = text.toDouble();
            QCOMPARE(TValueBarDelegate::BarValue(text).value_or(-1.0), value);
            const QRect track = TValueBarDelegate::TrackRect(grid->visualRect(grid->model()->index(row, column)), textWidth);
            const QRect bar = TValueBarDelegate::BarRect(track, value);
            QVERIFY(track.width() > 40);
            QCOMPARE(bar.width(), qRound(value * track.width()));
            const auto *delegate = static_cast<TValueBarDelegate *>(grid->itemDelegateForColumn(column));
            // Painted as computed: the bar's colour up to its end, the track's after it.
            QCOMPARE(image.pixelColor(bar.left() + 1, bar.center().y()), delegate->Colour());
            QVERIFY(image.pixelColor(bar.right() + 2, bar.center().y()) != delegate->Colour());
        }
    }
    // The numbers read as a plain grid draws them, and nothing over them.
    QTableWidget plain(2, 4);
    plain.verticalHeader()->hide();
    plain.resize(grid->size());
    FillGrid(&plain, rows);
    for (int column = 0; column < 4; ++column) plain.setColumnWidth(column, grid->columnWidth(column));
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    const QImage plainImage = plain.viewport()->grab().toImage();
    for (int row = 0; row < 2; ++row) {
        for (int column : {2, 3}) {
            QRect text = grid->visualRect(grid->model()->index(row, column));
            text.setWidth(textWidth);
            QCOMPARE(image.copy(text), plainImage.copy(text));
        }
    }
    QCOMPARE(TValueBarDelegate::BarValue("1.5").value_or(-1.0), 1.0);
    QVERIFY(!TValueBarDelegate::BarValue("").has_value());
    dialog->hide();
}

void ExplanationTest::NetViewFollowsTheConsultationAndExplainsAClickedNode() {
    TAppFixture fixture;
    TmdiConsult *window = OpenCarConsultation(fixture);
    QVERIFY(window != nullptr);
    CInferenceNet &net = *window->Driver()->Control().Net();
    const CNode *cranks = net.FindNode("engine_cranks");
    const CNode *battery = net.FindNode("flat_battery");
    window->explanations->netViewAction->trigger();
    QVERIFY(window->explanations->netView != nullptr && !window->explanations->netView->isHidden());
    TNetScene *scene = window->explanations->netView->scene;
    QCOMPARE(scene->NodeCount(), static_cast<int>(net.nodes.Count()));
    QVERIFY(!window->explanations->netView->ShowsNeighbourhood());

    // The colour of the first question's node before its answer, and after.
    QList<QColor> cranksFill;
    QList<QString> cranksValue;
    QList<QPointF> cranksPlace;
    QList<const CNode *> ringed;
    const CNode *ringedAtResult = cranks;
    Consult(
        fixture.Main(), window,
        [&](TfrmAbstractQuestion *) {
            ringed.append(scene->Marked());
            cranksFill.append(scene->NodeFill(cranks));
            cranksValue.append(scene->NodeValueText(cranks));
            cranksPlace.append(scene->NodeCentre(cranks));
        },
        [&] { ringedAtResult = scene->Marked(); });
    QVERIFY(cranksFill.size() >= 2);
    QCOMPARE(cranksFill[0], ScaleColour(0.6f));
    QCOMPARE(cranksValue[0], QString("0.600 \u2192 0.600"));
    // "Fairly surely not" took it down to 0.12; only the colours changed.
    QCOMPARE(cranksFill[1], ScaleColour(cranks->current));
    QVERIFY(cranksFill[1] != cranksFill[0]);
    QCOMPARE(cranksValue[1], QString::asprintf("0.600 \u2192 %.3f", static_cast<double>(cranks->current)));
    QCOMPARE(cranksPlace[1], cranksPlace[0]);
    QCOMPARE(scene->NodeFill(battery), ScaleColour(battery->current));
    // The node asked about is ringed while it is asked, none once the
    // result is shown.
    QCOMPARE(ringed[0], cranks);
    QVERIFY(ringed[1] != cranks && ringed[1] != nullptr);
    QCOMPARE(ringedAtResult, nullptr);
    QCOMPARE(scene->Marked(), nullptr);

    // A click on a node explains it and shows its help page.
    TNetGraphicsView *view = window->explanations->netView->view;
    view->Fit();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(scene->NodeCentre(battery)));
    QVERIFY2(window->explanations->pane->How().contains("How flat_battery got its value"),
             qPrintable(window->explanations->pane->How()));
    QVERIFY2(window->ShownPage().endsWith("/flat_battery.html"), qPrintable(window->ShownPage()));
    // A click beside every node changes nothing.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->mapFromScene(QPointF(-50, -50)));
    QVERIFY(window->explanations->pane->How().contains("How flat_battery got its value"));

    window->explanations->netViewAction->trigger();
    QVERIFY(window->explanations->netView->isHidden());
}

void ExplanationTest::NetViewOfALargeNetShowsTheNeighbourhoodOfTheInvestigatedNode() {
    TAppFixture fixture;
    TmdiConsult *window = OpenConsultation(fixture, WideKnowledgeBase(400));
    QVERIFY(window != nullptr);
    CInferenceNet &net = *window->Driver()->Control().Net();
    window->explanations->netViewAction->trigger();
    TNetView *netView = window->explanations->netView;
    QVERIFY(netView->ShowsNeighbourhood());
    // Nothing is investigated: the picture starts at the goal.
    QVERIFY(netView->lMessage->text().endsWith("around g"));
    QVERIFY(netView->scene->NodeCount() > 0);
    QVERIFY(netView->scene->NodeCount() <= static_cast<int>(TNetView::kNeighbourhoodLimit));

    // The centre moves: the picture is drawn anew around it.
    const CNode *far = net.FindNode("a399");
    netView->Follow(far);
    QVERIFY(netView->scene->Shows(far));
    QVERIFY(netView->scene->Shows(net.FindNode("g")));
    QVERIFY(netView->lMessage->text().contains("of 401 nodes, around a399"));
    // The same centre again: recoloured, not drawn anew.
    const QList<QGraphicsItem *> items = netView->scene->items();
    netView->Follow(far);
    QCOMPARE(netView->scene->items(), items);
}

// A name of 18 characters shows whole, the panel widening for it; a very
// long one widens it only so far; shorter names later do not narrow it.
void ExplanationTest::NextQuestionsWidenForTheirNamesUpToALimit() {
    TNextQuestionsList panel(nullptr);
    const int least = panel.minimumWidth();
    TNextQuestions next;
    next.goal = "early_blight";
    next.goalValue = 0.95f;
    next.asked = "lower_leaves_first_seen_on_plants";
    next.rows = {{"lower_leaves_first_seen_on_plants", "", 1.8f, 0.97f, 0.89f}, {"rings", "", 0.4f, 0.96f, 0.94f}};
    panel.Show(next);
    panel.resize(panel.minimumWidth(), 300);
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QFont bold = panel.list->font();
    bold.setBold(true);
    const int nameWidth = QFontMetrics(bold).horizontalAdvance(next.rows[0].name);
    QVERIFY2(panel.minimumWidth() > least, qPrintable(QString::number(panel.minimumWidth())));
    QVERIFY2(panel.list->columnWidth(0) >= nameWidth,
             qPrintable(QString("%1 < %2").arg(panel.list->columnWidth(0)).arg(nameWidth)));
    const int widened = panel.minimumWidth();

    next.rows[0].name = QString(200, 'x');
    panel.Show(next);
    QVERIFY(panel.minimumWidth() >= widened);
    QVERIFY2(panel.minimumWidth() < widened + 300, qPrintable(QString::number(panel.minimumWidth())));
    const int capped = panel.minimumWidth();
    next.rows = {{"a", "", 1.0f, 0.9f, 0.1f}};
    panel.Show(next);
    QCOMPARE(panel.minimumWidth(), capped);
}

QTEST_MAIN(ExplanationTest)
#include "explanation_test.moc"
