#include "consult/protocol_html.h"
#include "consult/protocol_net_html.h"
#include "consult/protocol_txt.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "net/params.h"
#include "consult_helpers.h"
#include "fake_registry.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "retrieval/table.h"

namespace {

const char *const kStart = "Mon Jan  1 10:00:00 2024\n";
const char *const kEnd = "Mon Jan  1 10:05:00 2024\n";

const char *const kTwoGoals =
    "nodes {\n"
    "  a { (bayesian, 0.5) retriever (ask) }\n"
    "  short { (bayesian, 0.5, goal) }\n"
    "  \"a_goal_of_twenty_ch\" { (bayesian, 0.25, goal) }\n"
    "}\n"
    "rules { { a, short, 0.9, 0.1 } { a, \"a_goal_of_twenty_ch\", 0.8, 0.2 } }\n";

// Sets the goals' current values as a consultation would leave them, in the
// order the net's goal list has them.
void SetCurrent(CInfControl &control, float first, float second) {
    control.Net()->goals.At(0)->current = first;
    control.Net()->goals.At(1)->current = second;
}

// What the control hands the reports, with fixed times and name.
CReportRecord Report(CInfControl &control, bool failed, const char *name) {
    CReportRecord report = control.ReportRecord();
    report.failed = failed;
    report.name = name;
    report.startTime = kStart;
    report.endTime = kEnd;
    return report;
}

template <typename Writer>
std::string WriteOnce(const std::string &path, CInfControl &control, bool failed) {
    const std::filesystem::path file(path);
    Writer writer(file.parent_path().string(), file.filename().string());
    writer.Write(Report(control, failed, "kb.qvb"));
    std::string failure;
    EXPECT_TRUE(writer.Save(failure)) << failure;
    return ReadText(path);
}

// Puts nodes on the call stack, bottom first, as a failed descent leaves it.
void StackNodes(CInfControl &control, std::initializer_list<const char *> names) {
    for (const char *name : names) control.Net()->callStack.Push(control.Net()->FindNode(name));
}

}  // namespace

TEST(CProtocolTxt, ACompletedConsultationListsTheGoalsInColumns) {
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry);
    ASSERT_EQ(built.result, 0);
    SetCurrent(built.control, 0.9f, 0.123456f);
    TempDir dir;
    const std::string report = WriteOnce<CProtocolTxt>(dir.File("r.txt"), built.control, false);
    EXPECT_EQ(report,
              "\nCONSULTATION REPORT\n"
              "  Name:     kb.qvb\n"
              "  Started:  Mon Jan  1 10:00:00 2024\n\n"
              "  Finished: Mon Jan  1 10:05:00 2024\n\n"
              "  Status:   consulted ok\n"
              "  Ordered goals:\n"
              "   -----------------------------------------------\n"
              "    order  name               aprior   aposterior\n"
              "   -----------------------------------------------\n"
              "      1.   short             0.500000   0.900000\n"
              "      2.   a_goal_of_twenty_ 0.250000   0.123456\n"
              "   -----------------------------------------------\n"
              "\n================================================================\n");
}

TEST(CProtocolTxt, RowsKeepTheirColumnsFromTheTenthGoalOn) {
    std::string text = "nodes {\n  a { (bayesian, 0.5) retriever (ask) }\n";
    for (int i = 1; i <= 10; ++i) text += "  g" + std::to_string(i) + " { (bayesian, 0.5, goal) }\n";
    text += "}\nrules {";
    for (int i = 1; i <= 10; ++i) text += " { a, g" + std::to_string(i) + " }";
    text += " }\n";
    FakeRegistry registry;
    BuiltControl built(text, &registry);
    ASSERT_EQ(built.result, 0);
    built.control.Net()->ResetValues(built.control.Table());
    TempDir dir;
    const std::string report = WriteOnce<CProtocolTxt>(dir.File("r.txt"), built.control, false);
    EXPECT_NE(report.find("\n      1.   g1                0.500000   0.500000\n"), std::string::npos);
    EXPECT_NE(report.find("\n     10.   g10               0.500000   0.500000\n"), std::string::npos);
}

TEST(CProtocolTxt, AFailedConsultationListsTheCallStackAndItsKind) {
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry);
    ASSERT_EQ(built.result, 0);
    StackNodes(built.control, {"short", "a"});
    TempDir dir;
    const std::string error = WriteOnce<CProtocolTxt>(dir.File("e.txt"), built.control, true);
    EXPECT_EQ(error,
              "\nCONSULTATION REPORT\n"
              "  Name:     kb.qvb\n"
              "  Started:  Mon Jan  1 10:00:00 2024\n\n"
              "  Finished: Mon Jan  1 10:05:00 2024\n\n"
              "  Status:   error\n"
              "  Call stack:\n"
              "      short\n"
              "      a\n"
              "\n================================================================\n");

    built.control.SetAbortRequested(true);
    const std::string aborted = WriteOnce<CProtocolTxt>(dir.File("a.txt"), built.control, true);
    EXPECT_NE(aborted.find("  Status:   aborted\n  Call stack:\n      short\n      a\n"), std::string::npos);
    EXPECT_EQ(aborted.find("Ordered goals"), std::string::npos);
}

TEST(CProtocolTxt, ReportsAreAppendedNeverTruncated) {
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry);
    TempDir dir;
    const std::string path = dir.File("history.txt");
    {
        std::ofstream earlier(path);
        earlier << "kept\n";
    }
    WriteOnce<CProtocolTxt>(path, built.control, false);
    const std::string both = WriteOnce<CProtocolTxt>(path, built.control, false);
    EXPECT_EQ(both.rfind("kept\n\nCONSULTATION REPORT\n", 0), 0u);
    const std::string one = both.substr(5);
    EXPECT_EQ(one.size() % 2, 0u);
    EXPECT_EQ(one.substr(0, one.size() / 2), one.substr(one.size() / 2));
    EXPECT_EQ(one.substr(one.size() - 66), "\n================================================================\n");
}

TEST(CProtocolTxt, AFileThatCannotBeOpenedIsReportedWithItsReason) {
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry);
    TempDir dir;
    CProtocolTxt writer(dir.path, "no/such/dir/r.txt");
    writer.Write(Report(built.control, false, "kb"));
    std::string failure;
    EXPECT_FALSE(writer.Save(failure));
    EXPECT_EQ(failure, "Cannot write report no/such/dir/r.txt: No such file or directory");
    EXPECT_FALSE(FileExists(dir.File("no/such/dir/r.txt")));
}

TEST(CProtocolTxt, ANetWithoutGoalsWritesTheFrameOnly) {
    BuiltControl built("nodes { a { (bayesian, 0.5) } }");
    TempDir dir;
    const std::string report = WriteOnce<CProtocolTxt>(dir.File("r.txt"), built.control, false);
    EXPECT_NE(report.find("   -----------------------------------------------\n"
                          "    order  name               aprior   aposterior\n"
                          "   -----------------------------------------------\n"
                          "   -----------------------------------------------\n"),
              std::string::npos);
}

TEST(CProtocolHTML, ACompletedConsultationIsAFragmentWithTheGoalTable) {
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry);
    ASSERT_EQ(built.result, 0);
    SetCurrent(built.control, 0.9f, 0.1f);
    TempDir dir;
    const std::string report = WriteOnce<CProtocolHTML>(dir.File("r.html"), built.control, false);
    EXPECT_EQ(report,
              "<!-- generated by Quorvin - start here -->\n"
              "<center><hr><h1>Quorvin Consultation Report</h1><table BORDER=\"0\">\n"
              "<tr><td>Name:</td><td><b>kb.qvb</b></td></tr>\n"
              "<tr><td>Started:</td><td>Mon Jan  1 10:00:00 2024\n</td></tr>\n"
              "<tr><td>Finished:&nbsp;&nbsp;&nbsp;</td><td>Mon Jan  1 10:05:00 2024\n</td></tr>\n"
              "<tr><td>Status:</td><td><b>Consulted ok</b></td></tr></table>\n"
              "<p><b>Ordered goals</b><p>\n"
              "<table border=\"1\"><tr><td><center><b>Order</b></center></td><td><center><b>Goal name</b>"
              "</center></td><td><center><b>Aprior</b></center></td><td><center><b>Aposterior</b></center>"
              "</td></tr>\n"
              "<tr><td><center>1</center></td><td><center>short</center></td><td><center>0.500000</center>"
              "</td><td><center>0.900000</center></td></tr>\n"
              "<tr><td><center>2</center></td><td><center>a_goal_of_twenty_ch</center></td><td><center>"
              "0.250000</center></td><td><center>0.100000</center></td></tr>\n"
              "</table></center><p><hr>\n"
              "<!-- generated by Quorvin - stop here -->\n");
}

TEST(CProtocolHTML, AFailedConsultationShowsItsKindAndTheCallStack) {
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry);
    StackNodes(built.control, {"short", "a"});
    built.control.SetAbortRequested(true);
    TempDir dir;
    const std::string report = WriteOnce<CProtocolHTML>(dir.File("r.html"), built.control, true);
    const std::string expectedTail =
        "<tr><td>Status:</td><td><b>Aborted</b></td></tr>\n"
        "<tr><td></td><td></td></tr><tr><td></td><td></td></tr><tr><td>Call stack</td><td></td></tr>\n"
        "<tr><td></td><td>short</td></tr>\n"
        "<tr><td></td><td>a</td></tr>\n"
        "</table></center><p><hr>\n"
        "<!-- generated by Quorvin - stop here -->\n";
    ASSERT_GE(report.size(), expectedTail.size());
    EXPECT_EQ(report.substr(report.size() - expectedTail.size()), expectedTail);

    built.control.SetAbortRequested(false);
    const std::string error = WriteOnce<CProtocolHTML>(dir.File("e.html"), built.control, true);
    EXPECT_NE(error.find("<tr><td>Status:</td><td><b>Error</b></td></tr>\n"), std::string::npos);
}

TEST(CProtocolNetHTML, EveryNodePageGainsALineAndTheGoalsPageATable) {
    TempDir dir;
    FakeRegistry registry;
    BuiltControl built(kTwoGoals, &registry, dir.path);
    ASSERT_EQ(built.result, 0);
    built.control.Net()->ResetValues(built.control.Table());
    SetCurrent(built.control, 0.75f, 0.5f);
    {
        std::ofstream page(dir.File("short.html"));
        page << "<html>help</html>\n";
    }
    for (int round = 0; round < 2; ++round) {
        CProtocolNetHTML report;
        report.Write(Report(built.control, round == 1, "kb"));
        std::string failure;
        EXPECT_TRUE(report.Save(failure)) << failure;
    }

    const std::string line = "<b>Time:</b> Mon Jan  1 10:00:00 2024\n  <b>Value:</b> 0.750000<br>\n";
    EXPECT_EQ(ReadText(dir.File("short.html")), "<html>help</html>\n" + line + line);
    EXPECT_EQ(ReadText(dir.File("a.html")),
              "<b>Time:</b> Mon Jan  1 10:00:00 2024\n  <b>Value:</b> 0.500000<br>\n"
              "<b>Time:</b> Mon Jan  1 10:00:00 2024\n  <b>Value:</b> 0.500000<br>\n");
    const std::string goals = ReadText(dir.File("__allgoals.html"));
    const std::string one =
        "<p><b>Consultation time:</b> Mon Jan  1 10:00:00 2024\n<br>"
        "<table border=\"1\"><tr><td><center><b>Order</b></center></td><td><center><b>Goal name</b>"
        "</center></td><td><center><b>Aprior</b></center></td><td><center><b>Aposterior</b></center>"
        "</td></tr>\n"
        "<tr><td><center>1</center></td><td><center>short</center></td><td><center>0.500000</center>"
        "</td><td><center>0.750000</center></td></tr>\n"
        "<tr><td><center>2</center></td><td><center>a_goal_of_twenty_ch</center></td><td><center>"
        "0.250000</center></td><td><center>0.500000</center></td></tr>\n"
        "</table>";
    EXPECT_EQ(goals, one + one);
}

TEST(CProtocolNetHTML, ANodeNameCannotReachOutsideTheHelpDirectory) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("kb"));
    FakeRegistry registry;
    BuiltControl built("nodes {\n  \"../escape\" { (bayesian, 0.5) retriever (ask) }\n"
                       "  h { (bayesian, 0.5, goal) }\n}\nrules { { \"../escape\", h } }\n",
                       &registry, dir.File("kb"));
    ASSERT_EQ(built.result, 0) << built.output.lines.back();
    CProtocolNetHTML().Write(Report(built.control, false, "kb"));
    EXPECT_FALSE(FileExists(dir.File("escape.html")));
    EXPECT_TRUE(FileExists(dir.File("kb/h.html")));
    EXPECT_TRUE(FileExists(dir.File("kb/__allgoals.html")));
}

TEST(CInfControlReports, TheParametersChooseTheReportsAndTheirFiles) {
    TempDir dir;
    FakeRegistry registry;
    std::string text = std::string("net { setparam(prottxt, \"r.txt\") setparam(prothtml, \"r.html\") }\n") + kTwoGoals;
    BuiltControl built(text, &registry, dir.path);
    ASSERT_EQ(built.result, 0);
    built.control.WriteReports();
    EXPECT_TRUE(FileExists(dir.File("r.txt")));
    EXPECT_TRUE(FileExists(dir.File("r.html")));
    EXPECT_FALSE(FileExists(dir.File("__allgoals.html")));
    EXPECT_EQ(built.control.EndTime().Length(), 25);

    // Without any report parameter, or with an empty file name, nothing is written.
    TempDir quiet;
    BuiltControl none(std::string("net { setparam(prottxt) }\n") + kTwoGoals, &registry, quiet.path);
    ASSERT_EQ(none.result, 0);
    none.control.WriteReports();
    EXPECT_TRUE(std::filesystem::is_empty(quiet.path));

    // The net report needs only the parameter's presence.
    TempDir net;
    BuiltControl withNet(std::string("net { setparam(prothtmlnet) }\n") + kTwoGoals, &registry, net.path);
    withNet.control.WriteReports();
    EXPECT_TRUE(FileExists(net.File("__allgoals.html")));
    EXPECT_TRUE(FileExists(net.File("short.html")));
}
