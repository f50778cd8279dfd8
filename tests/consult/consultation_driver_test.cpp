#include "consult/consultation_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "consult/global_params.h"
#include "net/params.h"
#include "consult_helpers.h"
#include "fake_registry.h"
#include "consultation_run.h"
#include "fake_ui.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"

namespace {

using Strings = std::vector<std::string>;
using Grid = std::vector<std::vector<std::string>>;

// Two goals: h2 (0.6) is investigated first through c; then h1 through a,
// which waits for b because of the priority link.
const char *const kTwoGoals =
    "net { setparam(prottxt, \"r.txt\") askparam(who) }\n"
    "nodes {\n"
    "  a { 'question a' (bayesian, 0.5) retriever (winprob) }\n"
    "  b { 'question b' (bayesian, 0.5) retriever (winvalue) translator ((0, 10) (0, 1)) }\n"
    "  c { 'question c' (bayesian, 0.5) retriever (wincf) }\n"
    "  h1 { (bayesian, 0.3, goal) }\n"
    "  h2 { (bayesian, 0.6, goal) }\n"
    "}\n"
    "rules { { a, h1, 0.9, 0.1 } { c, h2, 0.9, 0.2 } }\n"
    "links { { b, a } }\n";

size_t Count(const std::string &text, const std::string &part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(ConsultationDriver, AsksInInvestigationOrderAndShowsTheResult) {
    Consultation run(kTwoGoals);
    ASSERT_EQ(run.built, 0) << run.buildLines.back();
    run.Answer({Typed("Ann"), Typed("-5"), Typed("10"), Typed("1")});
    EXPECT_EQ(run.driver->RunConsultation(), 0);

    EXPECT_EQ(run.ui.script.asked,
              (Strings{"param: who", "cf: question c", "value: question b", "prob: question a"}));
    EXPECT_STREQ(run.driver->Control().Parameters()->GetParam("who").Text(), "Ann");
    EXPECT_EQ(run.ui.view.statuses, (Strings{"Preparing...", "Investigating...", "Done, consulted ok."}));
    EXPECT_TRUE(run.ui.messages.shown.empty());
    EXPECT_EQ(run.ui.view.running, (std::vector<bool>{true, false}));

    // h1 went up to 0.9 with a certain "a", h2 down to 0.2 with a certain "no".
    ASSERT_EQ(run.ui.view.results, 1);
    EXPECT_EQ(run.ui.view.result, (Grid{{"1.", "h1", "0.30000001", "0.89999998"},
                                        {"2.", "h2", "0.60000002", "0.20000000"}}));
    EXPECT_EQ(run.ui.view.goalLabel, "..........");
    EXPECT_EQ(run.ui.view.nodeLabel, "..........");
    EXPECT_EQ(run.ui.view.rows[TConsultationList::callStack], (Grid{{""}}));
    EXPECT_EQ(run.ui.view.rows[TConsultationList::orderedGoals][0][0], "h1");
    EXPECT_EQ(run.ui.view.rows[TConsultationList::allNodes],
              (Grid{{"a", "0.50000000", "1.00000000"}, {"b", "0.50000000", "1.00000000"},
                    {"c", "0.50000000", "0.00000000"}}));
    EXPECT_FALSE(run.driver->Running());

    const std::string report = run.Report();
    EXPECT_NE(report.find("  Name:     kb.qvb\n"), std::string::npos);
    EXPECT_NE(report.find("  Status:   consulted ok\n"), std::string::npos);
}

TEST(ConsultationDriver, DontKnowLeavesTheAPrioriValue) {
    Consultation run(kTwoGoals);
    run.Answer({Typed(""), DontKnow(), DontKnow(), DontKnow()});
    EXPECT_EQ(run.driver->RunConsultation(), 0);
    EXPECT_EQ(run.ui.script.asked.size(), 4u);
    EXPECT_TRUE(run.driver->Control().Parameters()->HasParam("who"));
    EXPECT_STREQ(run.driver->Control().Parameters()->GetParam("who").Text(), "");
    EXPECT_EQ(run.ui.view.result, (Grid{{"1.", "h2", "0.60000002", "0.60000002"},
                                        {"2.", "h1", "0.30000001", "0.30000001"}}));
}

TEST(ConsultationDriver, RejectedAnswersAreAskedAgainWithTheirMessage) {
    Consultation run(kTwoGoals);
    run.Answer({Typed("x"), Typed("5"), Typed("ten"), Typed("4"), Typed("1.5"), Typed("abc"), Typed("0.75")});
    EXPECT_EQ(run.driver->RunConsultation(), 0);
    EXPECT_EQ(run.ui.script.rejections,
              (Strings{"Enter a number!", "Enter a real number from <0,1> !", "Enter a real number from <0,1> !"}));
    EXPECT_EQ(run.ui.script.asked,
              (Strings{"param: who", "cf: question c", "value: question b", "value: question b", "prob: question a",
                       "prob: question a", "prob: question a"}));
    EXPECT_FLOAT_EQ(run.Net().FindNode("a")->current, 0.75f);
    EXPECT_FLOAT_EQ(run.Net().FindNode("b")->current, 0.4f);
}

TEST(ConsultationDriver, AnAbortDuringAQuestionWritesTwoReports) {
    Consultation run(kTwoGoals);
    run.Answer({Typed("Ann"), Typed("5"), AbortNow()});
    const int32_t result = run.driver->RunConsultation();
    EXPECT_NE(result, 0);
    EXPECT_TRUE(run.driver->Control().AbortRequested());
    EXPECT_TRUE(run.driver->Control().ConsultationFailed());
    EXPECT_EQ(run.ui.view.statuses, (Strings{"Preparing...", "Investigating...", "Consultation aborted."}));
    EXPECT_TRUE(run.ui.messages.shown.empty());
    EXPECT_EQ(run.ui.view.results, 0);
    // The abort stopped the running state at once, before the consultation
    // had unwound.
    EXPECT_EQ(run.ui.view.running, (std::vector<bool>{true, false, false}));

    const std::string report = run.Report();
    EXPECT_EQ(Count(report, "CONSULTATION REPORT"), 2u);
    const size_t second = report.find("\nCONSULTATION REPORT", 1);
    const std::string first = report.substr(0, second);
    const std::string last = report.substr(second);
    // The first report has the completed form, the goals in their order then.
    EXPECT_NE(first.find("  Status:   consulted ok\n"), std::string::npos);
    EXPECT_NE(first.find("h2"), std::string::npos);
    EXPECT_NE(last.find("  Status:   aborted\n  Call stack:\n      h1\n      a\n      b\n"), std::string::npos);
}

TEST(ConsultationDriver, AnAbortNeverEndsAsASuccess) {
    // The node's second retriever answers after the first one was cancelled,
    // and the net could finish its goals: the consultation still counts as
    // aborted.
    struct Registry : CAllRetrieversWin {
        Registry(const CUserInterface &ui, CTableEnvironment &environment) : CAllRetrieversWin(ui, environment) {
            retriever = new ScriptedRetriever();
            retriever->answers["a"] = {0.8f};
            Add(retriever);
        }
        ScriptedRetriever *retriever;
    };
    Registry *registry = nullptr;
    Consultation run("nodes { a { (bayesian, 0.5) retriever (winprob, ask) } h { (bayesian, 0.5, goal) } }\n"
                     "rules { { a, h, 0.9, 0.1 } }\n",
                     [&registry](const CUserInterface &ui, CTableEnvironment &environment) {
                         auto made = std::make_unique<Registry>(ui, environment);
                         registry = made.get();
                         return made;
                     });
    ASSERT_EQ(run.built, 0) << run.buildLines.back();
    run.Answer({AbortNow()});
    EXPECT_NE(run.driver->RunConsultation(), 0);
    EXPECT_EQ(registry->retriever->asked, (Strings{"a"}));
    EXPECT_TRUE(run.Net().FindNode("h")->finished);
    EXPECT_EQ(run.ui.view.statuses.back(), "Consultation aborted.");
    EXPECT_EQ(run.ui.view.results, 0);
}

TEST(ConsultationDriver, ACycleShowsItsMessageThenTheError) {
    // A rule a -> h and a priority link h -> a pass the build's check but
    // meet in the descent.
    Consultation run("net { setparam(prottxt, \"r.txt\") }\n"
                     "nodes { a { (bayesian, 0.5) retriever (winprob) } h { (bayesian, 0.5, goal) } }\n"
                     "rules { { a, h, 0.9, 0.1 } }\nlinks { { h, a } }\n");
    ASSERT_EQ(run.built, 0) << run.buildLines.back();
    EXPECT_NE(run.driver->RunConsultation(), 0);
    EXPECT_EQ(run.ui.messages.shown, (Strings{"Cycle detected in link - see node h and its links and rules.",
                                              "Error during consultation !"}));
    EXPECT_EQ(run.ui.view.statuses.back(), "Error during consultation.");
    EXPECT_STREQ(run.driver->ShownError().Text(), "Cycle detected in link - see node h and its links and rules.");
    EXPECT_TRUE(run.driver->Control().Context().errorText.IsEmpty());  // shown once, then cleared
    EXPECT_NE(run.Report().find("  Status:   error\n"), std::string::npos);
}

TEST(ConsultationDriver, ReportsAreWrittenOnlyInsideTheKnowledgeBasesDirectory) {
    // A knowledge base from someone else names a file outside its own
    // directory, with a goal whose name reads as a command.
    TempDir outside;
    const std::string absolute = outside.File("victim");
    Consultation run("net { setparam(prottxt, \"" + absolute + "\") setparam(prothtml, \"../victim.html\") }\n"
                     "nodes { a { (bayesian, 0.5) retriever (winprob) } \"x; touch pwned\" { (bayesian, 0.5, goal) } }\n"
                     "rules { { a, \"x; touch pwned\", 0.9, 0.1 } }\n");
    ASSERT_EQ(run.built, 0) << run.buildLines.back();
    run.Answer({Typed("0.7")});
    // Refusing the files is not a success: the run fails and says why.
    EXPECT_EQ(run.driver->RunConsultation(), 2);
    EXPECT_FALSE(FileExists(absolute));
    EXPECT_FALSE(FileExists(std::filesystem::path(run.dir.path).parent_path() / "victim.html"));
    EXPECT_EQ(run.ui.messages.shown,
              (Strings{"Cannot write report " + absolute + ": the name must lie below the knowledge base's folder (and 1 more)",
                       "Error during consultation !"}));
    EXPECT_EQ(run.ui.view.statuses.back(), "Error during consultation.");
    // The goals were investigated all the same, and the lists show it.
    EXPECT_EQ(run.ui.view.rows[TConsultationList::orderedGoals],
              (std::vector<std::vector<std::string>>{{"x; touch pwned", "0.50000000", "0.65999997"}}));
}

TEST(ConsultationDriver, ANodeThatCannotBeAnsweredFailsWithoutAText) {
    Consultation run(kTwoGoals);
    run.ui.ui.yesNoQuestion = nullptr;  // the question cannot be asked
    run.Answer({Typed("Ann")});
    EXPECT_NE(run.driver->RunConsultation(), 0);
    EXPECT_EQ(run.ui.messages.shown, (Strings{"Error during consultation !"}));
    EXPECT_TRUE(run.driver->ShownError().IsEmpty());
    EXPECT_NE(run.Report().find("  Status:   error\n  Call stack:\n      h2\n      c\n"), std::string::npos);
}

TEST(ConsultationDriver, NoGoalLeftInTheChosenTaxonomy) {
    const std::string text =
        "nodes { a { (bayesian, 0.5) retriever (winprob) } h { (bayesian, 0.5, goal) } }\n"
        "rules { { a, h } }\n"
        "taxonomies { kinds hypothesis { evidence (a) hypotheses (h) } }\n";
    Consultation none(text);
    ASSERT_EQ(none.built, 0) << none.buildLines.back();
    none.Answer({Typed("evidence")});
    EXPECT_EQ(none.driver->RunConsultation(), 0);
    EXPECT_EQ(none.ui.script.asked, (Strings{"taxonomy: kinds"}));
    EXPECT_EQ(none.ui.messages.shown, (Strings{"No goal in given taxonomy."}));
    EXPECT_EQ(none.ui.view.results, 0);
    EXPECT_EQ(none.ui.view.statuses.back(), "Done, consulted ok.");

    Consultation some(text);
    some.Answer({Typed("hypotheses"), Typed("0.9")});
    EXPECT_EQ(some.driver->RunConsultation(), 0);
    EXPECT_TRUE(some.ui.messages.shown.empty());
    EXPECT_EQ(some.ui.view.results, 1);
}

TEST(ConsultationDriver, ConsultingAgainAsksTheParametersAgainFromResetValues) {
    Consultation run(kTwoGoals);
    run.Answer({Typed("Ann"), Typed("5"), Typed("10"), Typed("1")});
    ASSERT_EQ(run.driver->RunConsultation(), 0);
    run.Answer({Typed("Bob"), DontKnow(), DontKnow(), DontKnow()});
    ASSERT_EQ(run.driver->RunConsultation(), 0);
    EXPECT_EQ(run.ui.script.asked.size(), 8u);
    EXPECT_EQ(run.ui.script.asked[4], "param: who");
    EXPECT_STREQ(run.driver->Control().Parameters()->GetParam("who").Text(), "Bob");
    EXPECT_FLOAT_EQ(run.Net().FindNode("h1")->current, 0.3f);
    EXPECT_FLOAT_EQ(run.Net().FindNode("c")->current, 0.5f);
    EXPECT_EQ(Count(run.Report(), "CONSULTATION REPORT"), 2u);
}

TEST(ConsultationDriver, TheInvestigationIsShownBeforeEveryQuestion) {
    Consultation run(kTwoGoals);
    {
        std::ofstream page(run.dir.File("b.html"));
        page << "b\n";
        std::ofstream goalPage(run.dir.File("h1.html"));
        goalPage << "h1\n";
    }
    // Watch the view at the moment the question about b is asked.
    std::string goalAtB, nodeAtB;
    Grid stackAtB, goalsAtB;
    run.ui.script.answers = {Typed("Ann"), Typed("5")};
    run.ui.script.abort = [&] {
        goalAtB = run.ui.view.goalLabel;
        nodeAtB = run.ui.view.nodeLabel;
        stackAtB = run.ui.view.rows[TConsultationList::callStack];
        goalsAtB = run.ui.view.rows[TConsultationList::orderedGoals];
        run.driver->AbortConsultation();
    };
    run.driver->RunConsultation();
    EXPECT_EQ(goalAtB, "h1");
    EXPECT_EQ(nodeAtB, "b");
    EXPECT_EQ(stackAtB, (Grid{{"h1"}, {"a"}, {"b"}}));
    // "c" answered yes lifted h2 above h1; the list is sorted at every
    // question.
    ASSERT_EQ(goalsAtB.size(), 2u);
    EXPECT_EQ(goalsAtB[0][0], "h2");
    EXPECT_EQ(run.ui.view.pages, (Strings{run.dir.File("b.html")}));  // c has no page

    run.driver->SetHelpMode(THelpMode::goal);
    EXPECT_EQ(run.ui.view.pages.back(), run.dir.File("h1.html"));
    run.driver->SetHelpMode(THelpMode::net);  // no index page: nothing shown
    EXPECT_EQ(run.ui.view.pages.size(), 2u);
}

TEST(ConsultationDriver, TheListenerFollowsEveryQuestionAfterTheView) {
    Consultation run(kTwoGoals);
    ASSERT_EQ(run.built, 0) << run.buildLines.back();
    run.Answer({Typed("Ann"), Typed("-5"), Typed("10"), Typed("1")});
    // At each node: the node on top of the call stack, the view already
    // showing it; before the question of it has been asked.
    Strings seen;
    run.driver->SetInvestigationListener([&](CInferenceNet &net, CNode &node) {
        const bool onTop = net.callStack.Top() == &node;
        seen.push_back(std::string(node.name.Text()) + (onTop ? "" : " not on top") +
                       (run.ui.view.nodeLabel == node.name.Text() ? "" : " not shown") + " after " +
                       std::to_string(run.ui.script.asked.size()) + " asked");
    });
    EXPECT_EQ(run.driver->RunConsultation(), 0);
    EXPECT_EQ(seen, (Strings{"c after 1 asked", "b after 2 asked", "a after 3 asked"}));
}

TEST(ConsultationDriver, ListsThatAreNotShownAreNotFilled) {
    Consultation run(kTwoGoals);
    run.ui.view.shown[TConsultationList::allNodes] = false;
    run.Answer({Typed("Ann"), Typed("5"), Typed("10"), Typed("1")});
    run.driver->RunConsultation();
    EXPECT_EQ(run.ui.view.fills[TConsultationList::allNodes], 0);
    EXPECT_GT(run.ui.view.fills[TConsultationList::orderedGoals], 3);

    // Unticking empties a list; ticking the call stack after the end fills nothing.
    run.driver->ListToggled(TConsultationList::allNodes);
    EXPECT_EQ(run.ui.view.rows[TConsultationList::allNodes], (Grid{{"", "", ""}}));
    const int stackFills = run.ui.view.fills[TConsultationList::callStack];
    run.driver->ListToggled(TConsultationList::callStack);
    EXPECT_EQ(run.ui.view.fills[TConsultationList::callStack], stackFills);
}

TEST(ConsultationDriver, AViewWithoutRowsOrPagesIsGivenNoneAndTheGoalsAreStillSorted) {
    Consultation run(kTwoGoals);
    {
        std::ofstream page(run.dir.File("b.html"));
        page << "b\n";
    }
    run.ui.view.displaysRows = false;
    run.ui.view.showsPages = false;
    run.Answer({Typed("Ann"), Typed("5"), Typed("10"), Typed("1")});
    ASSERT_EQ(run.driver->RunConsultation(), 0);
    EXPECT_TRUE(run.ui.view.fills.empty());
    EXPECT_TRUE(run.ui.view.pages.empty());
    // The goals are in order all the same: the result lists h2 first.
    ASSERT_EQ(run.ui.view.result.size(), 2u);
    EXPECT_EQ(run.ui.view.result[0][1], "h2");
    EXPECT_EQ(run.Net().goals.At(0)->name.Text(), std::string("h2"));
}

TEST(ConsultationDriver, ClosingWhileRunningAsksAndKeepsTheWindow) {
    Consultation run(kTwoGoals);
    EXPECT_TRUE(run.driver->RequestClose());
    EXPECT_TRUE(run.ui.messages.questions.empty());

    bool closedWhileRunning = true;
    bool closedAfterAbort = true;
    run.ui.script.answers = {Typed("Ann")};
    run.ui.script.abort = [&] {
        run.ui.messages.reply = TYesNoCancel::no;
        closedWhileRunning = run.driver->RequestClose();
        EXPECT_TRUE(run.driver->Running());
        run.ui.messages.reply = TYesNoCancel::yes;
        run.driver->RequestClose();
        closedAfterAbort = run.driver->RequestClose();  // still unwinding
    };
    run.driver->RunConsultation();
    EXPECT_FALSE(closedWhileRunning);
    EXPECT_FALSE(closedAfterAbort);
    EXPECT_EQ(run.ui.messages.questions, (Strings{"Abort?: Abort consultation?", "Abort?: Abort consultation?"}));
    EXPECT_TRUE(run.driver->Control().AbortRequested());
    EXPECT_EQ(run.ui.view.statuses.back(), "Consultation aborted.");
    EXPECT_TRUE(run.driver->RequestClose());
}
