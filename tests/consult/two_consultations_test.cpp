// Two consultations of different knowledge bases in one process: one after
// the other, and at once on two threads. Each has its own windows, table
// environment, registry and control, and must end exactly as it does alone.
// Run under ThreadSanitizer too (scripts/test), where a state shared between
// the two threads is reported as a race.
#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <thread>
#include <vector>

#include "consultation_run.h"
#include "net/inf_tax_net.h"
#include "net/node.h"

namespace {

// Asks the user: a probability, a certainty factor and a parameter, and
// writes its goals to a name-value table.
const char *const kAsking =
    "net { askparam(who) setparam(odbtxttab, \"goals.txt\") }\n"
    "nodes {\n"
    "  a { 'question a' (bayesian, 0.5) retriever (winprob) }\n"
    "  c { 'question c' (bayesian, 0.5) retriever (wincf) }\n"
    "  h1 { (bayesian, 0.3, goal) }\n"
    "  h2 { (bayesian, 0.6, goal) }\n"
    "}\n"
    "rules { { a, h1, 0.9, 0.1 } { c, h2, 0.9, 0.2 } }\n";

// Asks nothing: one consultation per row of a relational table, each
// appending a row to another.
const char *const kBatch =
    "net {\n"
    "  setparam(batchidbtxtreltab) setparam(idbtxtreltab, \"cases.txt\") setparam(dbheadername, id)\n"
    "  setparam(odbtxtreltab, \"out.txt\")\n"
    "}\n"
    "nodes {\n"
    "  fever { (bayesian, 0.3) retriever (dbprob, dnprob) }\n"
    "  cough { (bayesian, 0.4) retriever (dbcf, dncf) }\n"
    "  flu { (bayesian, 0.1, goal) }\n"
    "}\n"
    "rules { { fever, flu, 0.8, 0.05 } { cough, flu, 0.6, 0.08 } }\n";

// What a consultation leaves: its result, what was asked, its goals' values
// and the table it wrote.
struct Outcome {
    int32_t result = -1;
    std::vector<std::string> asked;
    std::string goals;
    std::string table;

    bool operator==(const Outcome &) const = default;
};

std::string GoalValues(CInfTaxNet &net, std::initializer_list<const char *> goals) {
    std::string values;
    for (const char *goal : goals) values += std::string(goal) + "=" + std::to_string(net.FindNode(goal)->current) + " ";
    return values;
}

Outcome ConsultAsking() {
    Consultation run(kAsking);
    EXPECT_EQ(run.built, 0);
    if (run.built != 0) return {};
    run.Answer({Typed("Ann"), Typed("5"), Typed("0.8")});
    Outcome outcome;
    outcome.result = run.driver->RunConsultation();
    outcome.asked = run.ui.script.asked;
    outcome.goals = GoalValues(run.Net(), {"h1", "h2"});
    outcome.table = ReadText(run.dir.File("goals.txt"));
    return outcome;
}

Outcome ConsultBatch() {
    Consultation run(kBatch);
    EXPECT_EQ(run.built, 0);
    if (run.built != 0) return {};
    std::string cases = "id\tfever\tcough\n";
    for (int i = 0; i < 40; ++i)
        cases += "p" + std::to_string(i) + "\t" + std::to_string(i % 11 / 10.0) + "\t" + (i % 3 == 0 ? "yes" : "n") + "\n";
    WriteText(run.dir.File("cases.txt"), cases);
    WriteText(run.dir.File("out.txt"), "id\tflu\tfever\tcough\n");
    Outcome outcome;
    outcome.result = run.driver->RunConsultation();
    outcome.asked = run.ui.script.asked;
    outcome.goals = GoalValues(run.Net(), {"flu"});
    outcome.table = ReadText(run.dir.File("out.txt"));
    return outcome;
}

TEST(TwoConsultations, OneAfterTheOtherEachEndsAsAlone) {
    const Outcome asking = ConsultAsking();
    ASSERT_EQ(asking.result, 0);
    EXPECT_EQ(asking.asked, (std::vector<std::string>{"param: who", "cf: question c", "prob: question a"}));
    // h1 lies between its prior and 0.9 as "a" lies between 0.5 and 1.
    EXPECT_EQ(asking.table, "h1\t0.660000\nh2\t0.900000\n");

    const Outcome batch = ConsultBatch();
    ASSERT_EQ(batch.result, 0);
    EXPECT_TRUE(batch.asked.empty());
    EXPECT_EQ(std::count(batch.table.begin(), batch.table.end(), '\n'), 41);

    // Again, in the other order: nothing of the first run reaches the second.
    EXPECT_EQ(ConsultBatch(), batch);
    EXPECT_EQ(ConsultAsking(), asking);
}

TEST(TwoConsultations, OnTwoThreadsEachEndsAsAlone) {
    const Outcome asking = ConsultAsking();
    const Outcome batch = ConsultBatch();
    ASSERT_EQ(asking.result, 0);
    ASSERT_EQ(batch.result, 0);
    constexpr int kRounds = 5;
    std::vector<Outcome> askingRuns(kRounds), batchRuns(kRounds);
    std::thread first([&] {
        for (Outcome &outcome : askingRuns) outcome = ConsultAsking();
    });
    std::thread second([&] {
        for (Outcome &outcome : batchRuns) outcome = ConsultBatch();
    });
    first.join();
    second.join();
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_EQ(askingRuns[i], asking) << "round " << i;
        EXPECT_EQ(batchRuns[i], batch) << "round " << i;
    }
}

}  // namespace
