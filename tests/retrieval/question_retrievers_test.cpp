// The question retrievers against scripted windows: what each question
// shows, how it checks the answer and asks again, don't know, and abort.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "net/bayes_node.h"
#include "retrieval/choice_abstract.h"
#include "net/params.h"
#include "retrieval/param_retriever_win.h"
#include "retrieval/question_retrievers.h"
#include "retrieval/registry_rows.h"
#include "retrieval/retrieved_data.h"
#include "tables/append_groups.h"
#include "tables/database_engine.h"
#include "tables/table_environment.h"
#include "tests/retrieval/fake_windows.h"

using namespace retrieval_test;

namespace {

// A node as the compiler leaves it: a description and an a-priori value.
std::unique_ptr<CBayesNode> Fever() {
    auto node = std::make_unique<CBayesNode>(CString("Fever"), 0.3f, true, false);
    node->description = "Has the patient a fever?";
    return node;
}

// Runs a retrieval; the record it produced (null when none) and its code.
template <typename Record>
std::unique_ptr<Record> Ask(CDataRetriever &retriever, CNode *node, int32_t &status, CParamRecord *data = nullptr) {
    CRetrievedData *out = nullptr;
    status = retriever.Retrieve(node, nullptr, nullptr, data, out);
    std::unique_ptr<CRetrievedData> owned(out);
    if (owned != nullptr && dynamic_cast<Record *>(owned.get()) == nullptr) {
        ADD_FAILURE() << "a record of another kind";
        return nullptr;
    }
    return std::unique_ptr<Record>(static_cast<Record *>(owned.release()));
}

std::unique_ptr<CChoiceList> Colours() {
    CStringVector texts;
    for (const char *text : {"red", "green", "light blue"}) texts.Add(CString(text));
    return std::make_unique<CChoiceList>(texts);
}

const std::string kNone;

}  // namespace

TEST(QuestionRetrievers, ProbabilityIsAskedUntilItLiesInTheUnitRange) {
    CUserInterface ui;
    FakeProbWindow window;
    ui.probQuestion = &window;
    std::vector<std::string> fieldAtShowing;
    window.onShow = [&] { fieldAtShowing.push_back(window.text); };
    window.SetText("left over");
    window.Type("abc").Type("1.0001").Type("-0.1").Type(" 0,5 ");

    auto node = Fever();
    CDRQuestion retriever(*FindRetrieverRow("winprob"), ui);
    int32_t status = -1;
    auto record = Ask<CRetrievedDataProb>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    ASSERT_NE(record, nullptr);
    EXPECT_FLOAT_EQ(record->value, 0.5f);
    EXPECT_FALSE(record->dontKnow);
    EXPECT_FLOAT_EQ(record->apriori, 0.3f);

    EXPECT_EQ(window.description, "Has the patient a fever?");
    const std::string refused = "Enter a real number from <0,1> !";
    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, refused, refused, refused}));
    // The field starts empty and keeps the refused text for correcting.
    EXPECT_EQ(fieldAtShowing, (std::vector<std::string>{"", "abc", "1.0001", "-0.1"}));

    // The ends of the range are probabilities.
    for (const char *text : {"0", "1", "1.0", "0e0"}) {
        window.Type(text);
        record = Ask<CRetrievedDataProb>(retriever, node.get(), status);
        ASSERT_EQ(status, 0) << text;
        EXPECT_FLOAT_EQ(record->value, std::stof(text)) << text;
        EXPECT_EQ(window.rejections.back(), kNone);
    }
}

TEST(QuestionRetrievers, DontKnowAndTheNodesName) {
    CUserInterface ui;
    FakeProbWindow window;
    ui.probQuestion = &window;
    window.Type("").CloseIt();

    // A node whose knowledge base gives no description shows its name.
    auto node = Fever();
    node->description.Clear();
    CDRQuestion retriever(*FindRetrieverRow("winprob"), ui);
    int32_t status = -1;
    // An empty accepted text is no number; closing the window is don't know.
    auto record = Ask<CRetrievedDataProb>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(record->dontKnow);
    EXPECT_FLOAT_EQ(record->apriori, 0.3f);
    EXPECT_STREQ(record->ToText().Text(), "dn");
    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, "Enter a real number from <0,1> !"}));
    EXPECT_EQ(window.description, "Fever");
}

TEST(QuestionRetrievers, ExactValueAcceptsAnyNumber) {
    CUserInterface ui;
    FakeValueWindow window;
    ui.exactValue = &window;
    window.Type("12 kg").Type("1e39").Type("inf").Type("0x10").Type("-12.5e1");

    auto node = Fever();
    CDRQuestion retriever(*FindRetrieverRow("winvaluex"), ui);  // the value question under another name asks the same
    int32_t status = -1;
    auto record = Ask<CRetrievedDataValue>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_FLOAT_EQ(record->value, -125.0f);
    EXPECT_FALSE(record->dontKnow);
    const std::string refused = "Enter a number!";
    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, refused, refused, refused, refused}));

    window.CloseIt();
    CDRQuestion sx(*FindRetrieverRow("winsx"), ui);
    record = Ask<CRetrievedDataValue>(sx, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(record->dontKnow);
}

TEST(QuestionRetrievers, CertaintyFactorIsTheButtonPressed) {
    CUserInterface ui;
    FakeYesNoWindow window;
    ui.yesNoQuestion = &window;
    auto node = Fever();
    CDRQuestion retriever(*FindRetrieverRow("wincf"), ui);
    int32_t status = -1;

    window.Press(2);
    auto record = Ask<CRetrievedDataCertFact>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_FLOAT_EQ(record->value, 2.0f);
    EXPECT_FLOAT_EQ(record->apriori, 0.3f);
    EXPECT_EQ(window.description, "Has the patient a fever?");

    // Closing the window without a button is 0, also after an earlier answer.
    window.CloseIt();
    record = Ask<CRetrievedDataCertFact>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_FLOAT_EQ(record->value, 0.0f);

    // What no button gives (a console's mistyped answer) is asked again.
    window.rejections.clear();
    window.Press(std::numeric_limits<float>::quiet_NaN()).Press(7).Press(2.5f).Press(-5);
    record = Ask<CRetrievedDataCertFact>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_FLOAT_EQ(record->value, -5.0f);
    const std::string refused = "Enter a whole number from -5 to 5!";
    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, refused, refused, refused}));
}

TEST(QuestionRetrievers, IntervalNeedsTwoOrderedNumbers) {
    CUserInterface ui;
    FakeIntervalWindow window;
    ui.intervalQuestion = &window;
    window.from = "old";
    window.to = "old";
    std::vector<std::string> fieldsAtShowing;
    window.onShow = [&] { fieldsAtShowing.push_back(window.from + "|" + window.to); };
    window.Enter("", "", 0)        // "Don't know" still needs an interval
        .Enter("2x", "abc", 3)     // From reads 2, To is no number
        .Enter("7", "3", 5)        // From above To
        .Enter(" 5", "5", 4);      // equal ends are an interval

    auto node = Fever();
    CDRQuestion retriever(*FindRetrieverRow("winq"), ui);
    int32_t status = -1;
    auto record = Ask<CRetrievedDataInterval>(retriever, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_FLOAT_EQ(record->from, 5.0f);
    EXPECT_FLOAT_EQ(record->to, 5.0f);
    EXPECT_FLOAT_EQ(record->certainty, 4.0f);
    EXPECT_STREQ(record->ToText().Text(), "not implemented");

    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, "\"From\" must be a number!",
                                                           "\"To\" must be a number!",
                                                           "\"From\" must be less then \"To\"!"}));
    EXPECT_EQ(window.focus, (std::vector<TIntervalField>{TIntervalField::from, TIntervalField::to,
                                                         TIntervalField::from}));
    EXPECT_EQ(fieldsAtShowing.front(), "|");

    // From is tested first; a console's unreadable factor is refused last.
    window.rejections.clear();
    window.Enter("a", "b", 0).Enter("1", "2", std::numeric_limits<float>::quiet_NaN()).Enter("1,5", "2.5e1", -5);
    CDRQuestion interval(*FindRetrieverRow("wininterval"), ui);
    record = Ask<CRetrievedDataInterval>(interval, node.get(), status);
    ASSERT_EQ(status, 0);
    EXPECT_FLOAT_EQ(record->from, 1.5f);
    EXPECT_FLOAT_EQ(record->to, 25.0f);
    EXPECT_FLOAT_EQ(record->certainty, -5.0f);
    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, "\"From\" must be a number!",
                                                           "Enter a whole number from -5 to 5!"}));
}

TEST(QuestionRetrievers, ChoiceIsThePositionOfTheSelectedOption) {
    CUserInterface ui;
    FakeChoiceWindow window;
    ui.choiceQuestion = &window;
    auto node = Fever();
    auto options = Colours();
    CDRQuestion retriever(*FindRetrieverRow("winchoice"), ui);
    int32_t status = -1;

    // Showing selects the first option, so accepting at once answers 0.
    window.AcceptAsIs();
    auto record = Ask<CRetrievedDataChoice>(retriever, node.get(), status, options.get());
    ASSERT_EQ(status, 0);
    EXPECT_EQ(record->index, 0);
    EXPECT_FALSE(record->dontKnow);
    EXPECT_EQ(window.options, (std::vector<std::string>{"red", "green", "light blue"}));
    EXPECT_EQ(window.description, "Has the patient a fever?");

    window.Choose(2);
    record = Ask<CRetrievedDataChoice>(retriever, node.get(), status, options.get());
    EXPECT_EQ(record->index, 2);
    EXPECT_STREQ(record->ToText().Text(), "2");

    window.CloseIt();
    record = Ask<CRetrievedDataChoice>(retriever, node.get(), status, options.get());
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(record->dontKnow);
    EXPECT_FLOAT_EQ(record->apriori, 0.3f);

    // A position that is no option (a console's answer) is asked again.
    window.rejections.clear();
    window.Choose(3).Choose(-1).Choose(1);
    record = Ask<CRetrievedDataChoice>(retriever, node.get(), status, options.get());
    EXPECT_EQ(record->index, 1);
    const std::string refused = "Enter the number of one of the choices!";
    EXPECT_EQ(window.rejections, (std::vector<std::string>{kNone, refused, refused}));

    // Without an option list there is nothing to ask.
    record = Ask<CRetrievedDataChoice>(retriever, node.get(), status, nullptr);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(record, nullptr);
}

TEST(QuestionRetrievers, CancelWhileWaitingFailsTheRetrieval) {
    CUserInterface ui;
    FakeProbWindow prob;
    FakeValueWindow value;
    FakeYesNoWindow yesNo;
    FakeIntervalWindow interval;
    FakeChoiceWindow choice;
    ui.probQuestion = &prob;
    ui.exactValue = &value;
    ui.yesNoQuestion = &yesNo;
    ui.intervalQuestion = &interval;
    ui.choiceQuestion = &choice;

    CDRQuestion winprob(*FindRetrieverRow("winprob"), ui);
    CDRQuestion winvalue(*FindRetrieverRow("winvalue"), ui);
    CDRQuestion wincf(*FindRetrieverRow("wincf"), ui);
    CDRQuestion wininterval(*FindRetrieverRow("wininterval"), ui);
    CDRQuestion winchoice(*FindRetrieverRow("winchoice"), ui);
    // Abort arrives while the window waits; the retriever's Cancel ends the wait.
    prob.Then([&](auto &) { winprob.Cancel(); });
    value.Type("abc").Then([&](auto &) { winvalue.Cancel(); });
    yesNo.Then([&](auto &) { wincf.Cancel(); });
    interval.Enter("9", "1", 0).Then([&](auto &) { wininterval.Cancel(); });
    choice.Then([&](auto &) { winchoice.Cancel(); });

    auto node = Fever();
    auto options = Colours();
    CDataRetriever *all[] = {&winprob, &winvalue, &wincf, &wininterval, &winchoice};
    for (CDataRetriever *retriever : all) {
        CRetrievedData *out = nullptr;
        EXPECT_EQ(retriever->Retrieve(node.get(), nullptr, nullptr, options.get(), out), 2);
        EXPECT_EQ(out, nullptr);
    }
    for (IQuestionWindow *window : std::vector<IQuestionWindow *>{&prob, &value, &yesNo, &interval, &choice})
        EXPECT_TRUE(window->aborted);
    EXPECT_FALSE(prob.visible);

    // The next question starts afresh.
    prob.Type("0.25");
    CRetrievedData *out = nullptr;
    EXPECT_EQ(winprob.Retrieve(node.get(), nullptr, nullptr, nullptr, out), 0);
    EXPECT_FALSE(prob.aborted);
    delete out;
}

TEST(QuestionRetrievers, WithoutAWindowNothingIsAsked) {
    CUserInterface ui;
    ui = CUserInterface();
    auto node = Fever();
    auto options = Colours();
    CDRQuestion winprob(*FindRetrieverRow("winprob"), ui);
    CDRQuestion winvalue(*FindRetrieverRow("winvalue"), ui);
    CDRQuestion wincf(*FindRetrieverRow("wincf"), ui);
    CDRQuestion wininterval(*FindRetrieverRow("wininterval"), ui);
    CDRQuestion winchoice(*FindRetrieverRow("winchoice"), ui);
    CDataRetriever *all[] = {&winprob, &winvalue, &wincf, &wininterval, &winchoice};
    for (CDataRetriever *retriever : all) {
        CRetrievedData *out = nullptr;
        EXPECT_EQ(retriever->Retrieve(node.get(), nullptr, nullptr, options.get(), out), 2);
        EXPECT_EQ(out, nullptr);
        retriever->Cancel();  // harmless
    }
}

TEST(QuestionRetrievers, NamesAndCentring) {
    CUserInterface ui;
    FakeValueWindow value;
    ui.exactValue = &value;
    CDRQuestion winprob(*FindRetrieverRow("winprob"), ui);
    CDRQuestion wincf(*FindRetrieverRow("wincf"), ui);
    CDRQuestion winvalue(*FindRetrieverRow("winvalue"), ui);
    CDRQuestion wins(*FindRetrieverRow("wins"), ui);
    CDRQuestion winvaluex(*FindRetrieverRow("winvaluex"), ui);
    CDRQuestion winsx(*FindRetrieverRow("winsx"), ui);
    CDRQuestion wininterval(*FindRetrieverRow("wininterval"), ui);
    CDRQuestion winq(*FindRetrieverRow("winq"), ui);
    CDRQuestion winchoice(*FindRetrieverRow("winchoice"), ui);
    struct Expected {
        CDataRetriever *retriever;
        const char *name;
        const char *translator;
    } expected[] = {{&winprob, "winprob", "prob"},     {&wincf, "wincf", "cf"},
                    {&winvalue, "winvalue", "value"},  {&wins, "wins", "value"},
                    {&winvaluex, "winvaluex", "valuex"}, {&winsx, "winsx", "valuex"},
                    {&wininterval, "wininterval", "interval"}, {&winq, "winq", "interval"},
                    {&winchoice, "winchoice", "choice"}};
    for (const Expected &row : expected) {
        CString name, translator;
        EXPECT_EQ(row.retriever->GetNames(name, translator), 0);
        EXPECT_STREQ(name.Text(), row.name);
        EXPECT_STREQ(translator.Text(), row.translator);
        EXPECT_FALSE(row.retriever->NeedsReset());
    }
    // The four value questions centred their window; the others had none.
    EXPECT_EQ(value.centred, 4);
}

namespace {

// An engine that only notes where groups of appends begin and end, and can
// fail to store one.
class GroupLog : public CDatabaseEngine {
public:
    int32_t OpenTable(const CString &, const CString &, CEngineAccess, std::unique_ptr<CEngineTable> &) override {
        return 2;
    }
    int32_t RunQuery(const CString &, const CString &, std::unique_ptr<CEngineQuery> &) override { return 2; }
    int32_t BeginAppending(const CString &alias) override {
        log.push_back(std::string("begin ") + alias.Text());
        return 0;
    }
    int32_t EndAppending(const CString &alias) override {
        log.push_back(std::string("end ") + alias.Text());
        return failEnd ? 2 : 0;
    }
    std::string LastFailure() const override { return failEnd ? "disk I/O error" : ""; }

    std::vector<std::string> log;
    bool failEnd = false;
};

}  // namespace

// A question never waits for the user while engine output records are held
// in an open group (which would keep their database locked for every other
// writer): the group is stored first. A group that cannot be stored then is
// reported when the consultation ends its groups.
TEST(QuestionRetrievers, GroupedRecordsAreStoredBeforeTheUserIsAsked) {
    GroupLog engine;
    CTableEnvironment tables;
    tables.engine = &engine;
    CAppendGroups groups(engine, {100000, std::chrono::hours(1)});
    tables.appendGroups = &groups;
    std::string reason;
    ASSERT_TRUE(groups.Enter("out.db", reason));

    CUserInterface ui;
    FakeProbWindow window;
    FakeParamWindow paramWindow;
    ui.probQuestion = &window;
    ui.paramQuestion = &paramWindow;
    std::vector<std::string> logWhenShown;
    window.onShow = [&] { logWhenShown = engine.log; };
    window.Type("0.5");
    auto node = Fever();
    std::unique_ptr<CDataRetriever> question(NewRetriever(*FindRetrieverRow("winprob"), ui, &tables));
    int32_t status = -1;
    ASSERT_NE(Ask<CRetrievedDataProb>(*question, node.get(), status), nullptr);
    EXPECT_EQ(logWhenShown, (std::vector<std::string>{"begin out.db", "end out.db"}));

    // The next record opens a new group, which a parameter question stores
    // too; its failure is kept until the consultation ends the groups.
    ASSERT_TRUE(groups.Enter("out.db", reason));
    engine.failEnd = true;
    paramWindow.onShow = [&] { logWhenShown = engine.log; };
    paramWindow.Type("Jones");
    CParamRetrieverWin parameter(ui, &tables);
    CParameters parameters;
    CParamAsk ask(CString("patient"));
    ASSERT_EQ(parameter.Retrieve(&ask, &parameters), 0);
    EXPECT_EQ(logWhenShown.size(), 4u);
    EXPECT_EQ(logWhenShown.back(), "end out.db");
    engine.failEnd = false;
    EXPECT_FALSE(groups.End(reason));
    EXPECT_EQ(reason, "the records for out.db were not stored: disk I/O error");
    EXPECT_TRUE(groups.End(reason));  // reported once

    // Without an environment (or outside a consultation) nothing is stored.
    tables.appendGroups = nullptr;
    window.Type("0.25");
    ASSERT_NE(Ask<CRetrievedDataProb>(*question, node.get(), status), nullptr);
    EXPECT_EQ(engine.log.size(), 4u);
}
