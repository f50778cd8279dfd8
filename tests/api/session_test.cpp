// The embedding API: loading, answers from a map and from a callback, the
// outcomes of bad input, the files written only when asked, and sessions
// on threads. The console's own results are the reference: a consultation
// through the API must end exactly as `quorvin-cli consult` ends it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "quorvin/quorvin.h"

namespace {

const std::string kSource = QUORVIN_SOURCE_DIR;
const std::string kCar = kSource + "/examples/car.qvb";
const std::string kKinds = kSource + "/tests/data/e2e/consult-question-kinds";

std::string ReadText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The answers of an answers file (NAME<TAB>ANSWER).
quorvin::Answers AnswersFile(const std::string &path) {
    quorvin::Answers answers;
    for (const std::string &line : Lines(ReadText(path))) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) answers.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return answers;
}

// A fresh directory, removed with everything in it.
struct TempDir {
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-api-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
        EXPECT_FALSE(path.empty());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string path;
};

TEST(Api, AConsultationEndsAsTheConsolesDoes) {
    const quorvin::KnowledgeBase kb = quorvin::KnowledgeBase::FromFile(kCar);
    ASSERT_TRUE(kb.Built()) << kb.ErrorText();
    EXPECT_EQ(kb.BuildLines().back(), "Done.");
    EXPECT_EQ(kb.Goals(), (std::vector<std::string>{"flat_battery", "starter_fault", "out_of_fuel", "flooded_engine",
                                                    "ignition_fault"}));
    EXPECT_EQ(kb.Nodes().size(), 12u);

    quorvin::Session session(kb);
    const quorvin::Result result = session.Run(AnswersFile(kSource + "/examples/car.answers"));
    EXPECT_EQ(result.status, quorvin::Status::ok);
    EXPECT_EQ(result.statusText, "Done, consulted ok.");
    EXPECT_TRUE(result.error.empty());

    // The console's JSON of the same answers, stored with the end-to-end test.
    const auto console = nlohmann::json::parse(ReadText(kSource + "/tests/data/e2e/example-car/expected/result.json"));
    ASSERT_EQ(result.goals.size(), console["goals"].size());
    for (size_t i = 0; i < result.goals.size(); ++i) {
        EXPECT_EQ(result.goals[i].name, console["goals"][i]["name"]);
        EXPECT_EQ(result.goals[i].current, console["goals"][i]["current"].get<float>()) << result.goals[i].name;
    }
    ASSERT_EQ(result.nodes.size(), console["nodes"].size());
    for (size_t i = 0; i < result.nodes.size(); ++i) {
        EXPECT_EQ(result.nodes[i].name, console["nodes"][i]["name"]);
        EXPECT_EQ(result.nodes[i].current, console["nodes"][i]["current"].get<float>());
        EXPECT_EQ(result.nodes[i].asked, console["nodes"][i]["asked"].get<bool>());
    }
    EXPECT_NE(session.Explain("flat_battery").find("flat_battery"), std::string::npos);
    EXPECT_EQ(session.Explain("no_such_node"), "");

    // Reset puts every node back to its a-priori value.
    session.Reset();
    const quorvin::Result again = session.Run(quorvin::Answers{});
    EXPECT_EQ(again.status, quorvin::Status::ok);
    EXPECT_NE(again.goals.front().current, result.goals.front().current);
}

// The callback is asked what the console asks, in the same words and order,
// refused answers included: its transcript is the console's, without the
// status and build lines.
TEST(Api, TheCallbackSeesTheConsolesQuestions) {
    const quorvin::KnowledgeBase kb = quorvin::KnowledgeBase::FromFile(kKinds + "/kb.qvb");
    ASSERT_TRUE(kb.Built());
    const std::vector<std::string> typed = Lines(ReadText(kKinds + "/typed"));
    size_t next = 0;
    std::string transcript;
    std::vector<quorvin::QuestionKind> kinds;
    quorvin::Session session(kb);
    session.SetQuestionCallback([&](const quorvin::Question &question) -> std::optional<std::string> {
        if (!question.rejection.empty()) transcript += question.rejection + "\n";
        const std::string line = next < typed.size() ? typed[next++] : std::string();
        transcript += question.text + line + "\n";
        kinds.push_back(question.kind);
        return line;
    });
    const quorvin::Result result = session.Run();
    EXPECT_EQ(result.status, quorvin::Status::ok);
    EXPECT_EQ(next, typed.size());
    EXPECT_EQ(kinds.front(), quorvin::QuestionKind::parameter);
    EXPECT_EQ(kinds[1], quorvin::QuestionKind::taxonomy);

    std::string console;
    std::vector<std::string> lines = Lines(ReadText(kKinds + "/expected/stdout"));
    for (size_t i = 5; i < lines.size(); ++i)  // after the build's five lines
        if (lines[i].rfind("Status: ", 0) != 0) console += lines[i] + "\n";
    ASSERT_EQ(console.rfind(transcript, 0), 0u) << transcript;
    EXPECT_EQ(console.substr(transcript.size()).rfind("Consulted OK\n", 0), 0u);
}

TEST(Api, BadInputIsReportedNeverFatal) {
    const quorvin::KnowledgeBase broken =
        quorvin::KnowledgeBase::FromText("nodes {\n  a { (bayesian, 1.4, goal) }\n}\n", "", "broken.qvb");
    EXPECT_FALSE(broken.Built());
    ASSERT_TRUE(broken.Error().has_value());
    EXPECT_EQ(broken.Error()->line, 2);
    EXPECT_EQ(broken.Error()->message, "cannot add this node (already exists?)");
    EXPECT_NE(broken.Error()->detail.find("1.4"), std::string::npos);
    EXPECT_EQ(broken.ErrorText(), "[Error at line 2] cannot add this node (already exists?)");
    EXPECT_EQ(broken.BuildLines().back(), "Failed to compile.");
    quorvin::Session none(broken);
    const quorvin::Result notRun = none.Run();
    EXPECT_EQ(notRun.status, quorvin::Status::error);
    EXPECT_EQ(notRun.error, broken.ErrorText());

    const quorvin::KnowledgeBase missing = quorvin::KnowledgeBase::FromFile(kSource + "/no/such.qvb");
    EXPECT_FALSE(missing.Built());
    EXPECT_FALSE(missing.Error().has_value());
    EXPECT_EQ(missing.ErrorText(), kSource + "/no/such.qvb: No such file or directory");
    EXPECT_EQ(missing.BuildLines(),
              (std::vector<std::string>{"Building inference net...", "[Error] Cannot read net source code."}));

    const quorvin::KnowledgeBase car = quorvin::KnowledgeBase::FromFile(kCar);
    quorvin::Session session(car);
    const quorvin::Result unknown = session.Run({{"engine_crank", "y"}});
    EXPECT_EQ(unknown.status, quorvin::Status::invalid);
    EXPECT_EQ(unknown.error, "no node, parameter or taxonomy is named engine_crank");
    EXPECT_TRUE(unknown.goals.empty());

    const quorvin::Result refused = session.Run({{"engine_cranks", "maybe"}});
    EXPECT_EQ(refused.status, quorvin::Status::error);
    EXPECT_EQ(refused.error.rfind("the answer \"maybe\" for engine_cranks was refused: ", 0), 0u) << refused.error;

    // The callback aborts with nullopt, or by throwing; the session goes on.
    session.SetAnswers({});
    session.SetQuestionCallback([](const quorvin::Question &) { return std::nullopt; });
    const quorvin::Result aborted = session.Run();
    EXPECT_EQ(aborted.status, quorvin::Status::aborted);
    EXPECT_EQ(aborted.statusText, "Consultation aborted.");
    session.SetQuestionCallback([](const quorvin::Question &) -> std::optional<std::string> {
        throw std::runtime_error("the host gave up");
    });
    EXPECT_THROW(session.Run(), std::runtime_error);
    session.SetQuestionCallback(nullptr);
    EXPECT_EQ(session.Run().status, quorvin::Status::ok);
}

TEST(Api, WritesFilesOnlyWhenAsked) {
    TempDir dir;
    const std::string text =
        "net { setparam(prottxt, \"report.txt\") setparam(odbtxttab, \"goals.txt\") }\n"
        "nodes { a { (bayesian, 0.5) retriever (winprob) } g { (bayesian, 0.3, goal) } }\n"
        "rules { { a, g, 0.9, 0.1 } }\n"
        "description { g { <p>the goal</p> } }\n";
    const auto exists = [&](const char *name) { return std::filesystem::exists(dir.path + "/" + name); };
    const quorvin::KnowledgeBase quiet = quorvin::KnowledgeBase::FromText(text, dir.path, "kb.qvb");
    quorvin::Session silent(quiet);
    EXPECT_EQ(silent.Run({{"a", "0.9"}}).status, quorvin::Status::ok);
    EXPECT_FALSE(exists("g.html"));
    EXPECT_FALSE(exists("report.txt"));
    EXPECT_FALSE(exists("goals.txt"));

    const quorvin::KnowledgeBase pages = quorvin::KnowledgeBase::FromText(text, dir.path, "kb.qvb", {true});
    EXPECT_TRUE(exists("g.html"));
    quorvin::Session writing(pages, {true, true});
    EXPECT_EQ(writing.Run({{"a", "0.9"}}).status, quorvin::Status::ok);
    EXPECT_TRUE(exists("report.txt"));
    EXPECT_TRUE(exists("goals.txt"));
}

// Two knowledge bases, four sessions on four threads, many consultations
// each: every result equals the sequential run's. Under ThreadSanitizer a
// shared state would be reported as a race.
TEST(Api, SessionsOnThreadsEqualSequentialRuns) {
    const quorvin::KnowledgeBase car = quorvin::KnowledgeBase::FromFile(kCar);
    const quorvin::KnowledgeBase kinds = quorvin::KnowledgeBase::FromFile(kKinds + "/kb.qvb");
    ASSERT_TRUE(car.Built() && kinds.Built());
    const auto cases = [](int worker) {
        std::vector<quorvin::Answers> list;
        for (int i = 0; i < 12; ++i) {
            if (worker % 2 == 0)
                list.push_back({{"engine_cranks", std::to_string(i % 11 - 5)}, {"voltage_ok", std::to_string(10 + i % 4)}});
            else
                list.push_back({{"p", "0." + std::to_string(i % 10)}, {"i", std::to_string(i) + " 20"}, {"all", ""}});
        }
        return list;
    };
    const auto runAll = [&](int worker) {
        quorvin::Session session(worker % 2 == 0 ? car : kinds);
        std::vector<std::vector<float>> values;
        for (const quorvin::Answers &answers : cases(worker)) {
            const quorvin::Result result = session.Run(answers);
            std::vector<float> row{static_cast<float>(result.status)};
            for (const quorvin::Node &node : result.nodes) row.push_back(node.current);
            values.push_back(row);
        }
        return values;
    };
    std::vector<std::vector<std::vector<float>>> sequential, parallel(4);
    for (int worker = 0; worker < 4; ++worker) sequential.push_back(runAll(worker));
    std::vector<std::thread> threads;
    for (int worker = 0; worker < 4; ++worker)
        threads.emplace_back([&, worker] { parallel[worker] = runAll(worker); });
    for (std::thread &thread : threads) thread.join();
    EXPECT_EQ(parallel, sequential);
    EXPECT_NE(sequential[0], sequential[1]);
    EXPECT_EQ(sequential[0].front().front(), static_cast<float>(quorvin::Status::ok));
}

// A session's result depends on its answers alone: goals of equal value
// come in the same order whatever the session consulted before (a pool of
// sessions on threads hands each case to any of them).
TEST(Api, AResultDoesNotDependOnTheSessionsEarlierConsultations) {
    const quorvin::KnowledgeBase car = quorvin::KnowledgeBase::FromFile(kCar);
    ASSERT_TRUE(car.Built());
    const auto order = [](const quorvin::Result &result) {
        std::vector<std::string> names;
        for (const quorvin::Goal &goal : result.goals) names.push_back(goal.name);
        return names;
    };
    // Refused at once: every goal keeps its prior, three of them 0.1.
    const quorvin::Answers refused{{"engine_cranks", "perhaps"}};
    quorvin::Session fresh(car);
    const quorvin::Result alone = fresh.Run(refused);
    ASSERT_EQ(alone.status, quorvin::Status::error);
    EXPECT_EQ(order(alone), (std::vector<std::string>{"flat_battery", "starter_fault", "out_of_fuel",
                                                      "ignition_fault", "flooded_engine"}));
    // Cases that leave the goals of 0.1 in other orders first.
    quorvin::Session used(car);
    for (const char *tank : {"1", "2", "3"})
        for (const char *cranks : {"y", "n", "-3"}) {
            used.Run({{"engine_cranks", cranks}, {"tank_empty", tank}, {"petrol_smell", "y"}});
            EXPECT_EQ(order(used.Run(refused)), order(alone)) << cranks << " " << tank;
        }
}

}  // namespace
