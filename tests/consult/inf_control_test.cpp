#include "consult/inf_control.h"

#include <gtest/gtest.h>

#include "net/params.h"
#include "consult_helpers.h"
#include "fake_registry.h"
#include "net/inf_tax_net.h"
#include "retrieval/table.h"

namespace {

using Lines = std::vector<std::string>;

const char *const kSmallNet =
    "net { setparam(colour, blue) }\n"
    "nodes {\n"
    "  a { (bayesian, 0.5) retriever (ask) }\n"
    "  h { (bayesian, 0.5, goal) }\n"
    "}\n"
    "rules { { a, h, 0.9, 0.1 } }\n";

}  // namespace

TEST(CInfControlBuild, ASoundKnowledgeBaseWritesEveryStepAndBuilds) {
    FakeRegistry registry;
    BuiltControl built(kSmallNet, &registry);
    EXPECT_EQ(built.result, 0);
    EXPECT_EQ(built.output.clears, 1);
    EXPECT_EQ(built.output.lines, (Lines{"Building inference net...", "Compiled.", "Checking consistency...",
                                         "Consistency check passed.", "Done."}));
    EXPECT_FALSE(built.control.ConsistencyFailed());
    ASSERT_NE(built.control.Net(), nullptr);
    EXPECT_EQ(built.control.Net()->nodes.Count(), 2);
    EXPECT_STREQ(built.control.Parameters()->GetParam("colour").Text(), "blue");
    EXPECT_NE(built.control.Table()->FindRTInfo("a"), nullptr);  // the registry reached the table
}

TEST(CInfControlBuild, ASourceThatCannotBeReadStopsAfterTheFirstLine) {
    CPInputChar unreadable(nullptr);
    RecordingOutput output;
    CInfControl control;
    control.SetInput(&unreadable);
    control.SetOutput(&output);
    EXPECT_EQ(control.BuildNet(), 2);
    EXPECT_EQ(output.lines, (Lines{"Building inference net...", "[Error] Cannot read net source code."}));

    CInfControl noInput;
    noInput.SetOutput(&output);
    EXPECT_EQ(noInput.BuildNet(), 2);
    EXPECT_EQ(output.lines, (Lines{"Building inference net...", "[Error] Cannot read net source code."}));
}

TEST(CInfControlBuild, ACompileErrorLeavesItsPositionAndSkipsTheCheck) {
    const std::string text = "nodes {\n  a { (bayesian, 0.5) }\n  a { (bayesian, 0.2) }\n}\n";
    BuiltControl built(text);
    EXPECT_EQ(built.result, 2);
    EXPECT_EQ(built.output.lines, (Lines{"Building inference net...",
                                         "[Error at line 3] cannot add this node (already exists?)",
                                         "  column 3: \"a\" is already defined at line 2", "Failed to compile."}));
    EXPECT_FALSE(built.control.ConsistencyFailed());
    // The control keeps the diagnostic for the front ends.
    ASSERT_TRUE(built.control.Diagnostic().has_value());
    EXPECT_EQ(built.control.Diagnostic()->place.line, 3);
    EXPECT_EQ(built.control.Diagnostic()->place.column, 3);
    EXPECT_EQ(built.control.Diagnostic()->message, "cannot add this node (already exists?)");
    // The compiler stopped after reading the token behind the second
    // declaration's ")", which is on line 3.
    const uint32_t secondLine = static_cast<uint32_t>(text.find("  a { (bayesian, 0.2)"));
    EXPECT_GT(built.control.ErrorPosition(), secondLine);
    EXPECT_LE(built.control.ErrorPosition(), static_cast<uint32_t>(text.size()));
    EXPECT_EQ(built.control.ErrorPosition(), static_cast<uint32_t>(built.input.Pos()));
}

TEST(CInfControlBuild, AConsistencyFailureIsReportedAndMarked) {
    BuiltControl built("nodes { h { (bayesian, 0.5, goal) } }\n");
    EXPECT_EQ(built.result, 2);
    EXPECT_EQ(built.output.lines, (Lines{"Building inference net...", "Compiled.", "Checking consistency...",
                                         "[Error] no rules.", "Consistency check failed."}));
    EXPECT_TRUE(built.control.ConsistencyFailed());
    // Its diagnostic has the message and no place in the source.
    ASSERT_TRUE(built.control.Diagnostic().has_value());
    EXPECT_EQ(built.control.Diagnostic()->message, "no rules");
    EXPECT_EQ(built.control.Diagnostic()->place.line, 0);

    // A later sound build clears the mark.
    FakeRegistry registry;
    CPInputChar sound(kSmallNet);
    built.control.SetRegistry(&registry);
    built.control.SetInput(&sound);
    EXPECT_EQ(built.control.BuildNet(), 0);
    EXPECT_FALSE(built.control.ConsistencyFailed());
}

TEST(CInfControlBuild, ACycleIsNamedOnADetailLineAfterTheFixedLine) {
    FakeRegistry registry;
    BuiltControl built("nodes { a { (bayesian, 0.5) retriever (ask) } b { (bayesian, 0.5) }\n"
                       "  h { (bayesian, 0.5, goal) } }\n"
                       "rules { { a, b } { b, h } { h, b } }\n",
                       &registry);
    EXPECT_EQ(built.result, 2);
    EXPECT_EQ(built.output.lines, (Lines{"Building inference net...", "Compiled.", "Checking consistency...",
                                         "[Error] cycle detected in rules.", "  the rules go round: \"b\" -> \"h\" -> \"b\"",
                                         "Consistency check failed."}));
    ASSERT_TRUE(built.control.Diagnostic().has_value());
    EXPECT_EQ(built.control.Diagnostic()->message, "cycle detected in rules");
    EXPECT_EQ(built.control.Diagnostic()->detail, "the rules go round: \"b\" -> \"h\" -> \"b\"");
}

TEST(CInfControlBuild, FailingSetUpStepsEndTheBuildEarly) {
    CPInputChar input(kSmallNet);
    RecordingOutput output;
    output.openResult = 7;  // a pane that cannot be cleared
    CInfControl control;
    control.SetInput(&input);
    control.SetOutput(&output);
    EXPECT_EQ(control.BuildNet(), 7);
    EXPECT_TRUE(output.lines.empty());

    FakeRegistry broken;
    broken.BreakCopy();
    output.openResult = 0;
    control.SetRegistry(&broken);
    EXPECT_EQ(control.BuildNet(), 2);
    EXPECT_EQ(output.lines, (Lines{"[Error] Cannot create new objects before compiling."}));
}

TEST(CInfControlBuild, EveryBuildReplacesTheRunTimeObjects) {
    FakeRegistry registry;
    BuiltControl built(kSmallNet, &registry);
    ASSERT_EQ(built.result, 0);
    built.control.SetConsultationFailed(true);
    built.control.Parameters()->SetParam("extra", "1");

    CPInputChar again("nodes { x { (bayesian, 0.3, goal) } }");
    built.control.SetInput(&again);
    built.control.BuildNet();
    EXPECT_EQ(built.control.Net()->FindNode("a"), nullptr);
    EXPECT_NE(built.control.Net()->FindNode("x"), nullptr);
    EXPECT_FALSE(built.control.Parameters()->HasParam("extra"));
    EXPECT_FALSE(built.control.ConsultationFailed());
}

TEST(CInfControlTime, TimesHaveTheCTimeForm) {
    const CString now = CurrentTimeText();
    ASSERT_EQ(now.Length(), 25);
    EXPECT_EQ(now.Text()[24], '\n');
    EXPECT_EQ(now.Text()[3], ' ');
    EXPECT_EQ(now.Text()[13], ':');
    EXPECT_EQ(now.Text()[16], ':');

    CInfControl control;
    control.SetAbortRequested(true);
    control.SetConsultationFailed(true);
    control.StartConsultationRecord();
    EXPECT_FALSE(control.AbortRequested());
    EXPECT_FALSE(control.ConsultationFailed());
    EXPECT_EQ(control.StartTime().Length(), 25);
}
