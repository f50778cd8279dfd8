// Malformed knowledge bases: whatever the text, compiling ends with either
// success and no line, or exactly one known error line and the result 2 -
// never a crash, a hang, a leak or an overrun. Covered: every prefix and
// suffix of valid knowledge bases (also with CR LF line ends), token soup,
// random bytes, over-long names and help lines, deep taxonomies and huge
// numbers.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "compiler_test_support.h"
#include "net/bayes_node.h"
#include "net/rule.h"
#include "net/taxonomy_class.h"

using namespace compiler_test;

namespace {

const std::set<std::string> kMessages = {"no definition found",
                                         "structure definition expected",
                                         "{ expected",
                                         "} expected",
                                         "( expected",
                                         ") expected",
                                         ", expected",
                                         "number expected",
                                         ") or 'goal' expected",
                                         "type of logical node (and/or/not) expected",
                                         "node type (logical/bayesian) expected",
                                         "( or ' expected",
                                         "cannot add this node (already exists?)",
                                         "cannot add description of node",
                                         "identifier (retriever name) expected",
                                         "cannot add retriever to node",
                                         "error in reading retriever parameters",
                                         "error in reading translator parameters",
                                         "output not yet implemented...",
                                         "} or identifier expected",
                                         "identifier expected",
                                         "cannot add rule",
                                         "{ or } expected",
                                         "cannot add priority link",
                                         "cannot add context link",
                                         "identifier (taxonomy name) expected",
                                         "taxonomy type expected",
                                         "cannot add taxonomy",
                                         "identifier (node name) expected",
                                         "cannot add this node to taxonomy",
                                         "cannot add this taxonomy class",
                                         "} or net parameters expected",
                                         "identifier (parameter) expected",
                                         "identifier (new name) expected",
                                         "identifier (current name) expected",
                                         "cannot add this retriever synonymum",
                                         "cannot create html help file"};

std::string DataFile(const char *name) { return ReadFile(std::filesystem::path(QUORVIN_TEST_DATA) / "kb" / name); }

std::string WithCrLf(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Compiles the text; fails the test unless the outcome is one of the two
// sound ones, with the error's line within the text. Returns the result.
int CompileSoundly(const std::string &source, const TempDir &pages) {
    Build build(pages);
    int result = build.Compile(source);
    if (result == 0) {
        EXPECT_TRUE(build.lines.empty()) << source;
        return result;
    }
    EXPECT_EQ(result, 2) << source;
    if (build.lines.size() != 1) {
        ADD_FAILURE() << build.lines.size() << " lines for:\n" << source;
        return result;
    }
    long line = 0;
    std::string message;
    if (!ParseErrorLine(build.lines[0], line, message)) {
        ADD_FAILURE() << build.lines[0];
        return result;
    }
    long lines = 1 + std::count(source.begin(), source.end(), '\n');
    EXPECT_LE(line, lines) << build.lines[0] << " for:\n" << source;
    EXPECT_EQ(kMessages.count(message), 1u) << build.lines[0];
    return result;
}

}  // namespace

TEST(CompilerRobustness, TheSampleKnowledgeBasesCompile) {
    for (const char *name : {"worked_example.qvb", "all_constructs.qvb"}) {
        std::string source = DataFile(name);
        ASSERT_FALSE(source.empty()) << name;
        for (const std::string &text : {source, WithCrLf(source)}) {
            Build build;
            EXPECT_EQ(build.Compile(text), 0) << name << ": " << build.Error();
            EXPECT_EQ(build.net.Check(), 0) << name << ": " << build.net.checkMessage.Text();
        }
    }
    Build build;
    ASSERT_EQ(build.Compile(DataFile("all_constructs.qvb")), 0);
    EXPECT_EQ(build.net.nodes.Count(), 12);
    EXPECT_EQ(build.net.rules.Count(), 9);
    EXPECT_EQ(build.net.links.Count(), 3);
    EXPECT_EQ(build.net.roots.Count(), 4);
    EXPECT_EQ(build.net.allClasses.Count(), 10);
    EXPECT_EQ(build.table.rtInfos.Count(), 6);
    EXPECT_STREQ(build.Node("temperature")->description.Text(), "Body\ntemperature");
    EXPECT_EQ(build.helpDir.Files(), (std::vector<std::string>{"chest pain.html", "cold.html", "flu.html"}));
}

TEST(CompilerRobustness, EveryPrefixAndSuffixEndsSoundly) {
    TempDir pages;
    for (const char *name : {"worked_example.qvb", "all_constructs.qvb"}) {
        std::string source = DataFile(name);
        ASSERT_FALSE(source.empty()) << name;
        for (const std::string &text : {source, WithCrLf(source)}) {
            int compiled = 0;
            for (size_t length = 0; length < text.size(); ++length) {
                if (CompileSoundly(text.substr(0, length), pages) == 0) ++compiled;
                CompileSoundly(text.substr(length), pages);
            }
            // Only prefixes that end between sections are whole knowledge bases.
            EXPECT_GT(compiled, 0) << name;
            EXPECT_LT(compiled, static_cast<int>(text.size()) / 4) << name;
        }
    }
}

TEST(CompilerRobustness, TokenSoupEndsSoundly) {
    TempDir pages;
    const std::vector<std::string> fragments = {
        "net",   "nodes", "rules", "links",     "taxonomies", "description", "{",        "}",     "(",      ")",
        ",",     "a",     "b",     "\"c d\"",   "'text'",     "0.5",         "1",        "1e999", "-1",     "logical",
        "and",   "or",    "not",   "bayesian",  "goal",       "retriever",   "translator", "output", "winprob", "winchoice",
        "winvalue", "dbx", "setparam", "askparam", "defretr", "hypothesis", "hidden_yes", "hiddenno", "hidden_both",
        "template", "\n", "//c\n", "/*c*/", "/", "\"", "'", "a/b", "..", "\r"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<size_t> pick(0, fragments.size() - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int sample = 0; sample < 3000; ++sample) {
        std::string source;
        for (int n = length(random); n > 0; --n) source += fragments[pick(random)] + " ";
        CompileSoundly(source, pages);
    }
}

TEST(CompilerRobustness, RandomBytesEndSoundly) {
    TempDir pages;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 200);
    for (int sample = 0; sample < 1000; ++sample) {
        std::string source;
        for (int n = length(random); n > 0; --n) source += static_cast<char>(byte(random));
        CompileSoundly(source, pages);
    }
}

TEST(CompilerRobustness, OverlongNamesAreCutTo255Characters) {
    const std::string name(300, 'n');
    const std::string cut(255, 'n');
    Build build;
    ASSERT_EQ(build.Compile("nodes { " + name + " { '" + std::string(1000, 'd') + "' (bayesian, 0.5) } b { (bayesian, 0.5) } }\n" +
                            "rules { { " + name + ", b } }\n" + "taxonomies { " + std::string(400, 't') + " hypothesis (" + name +
                            ") }"),
              0)
        << build.Error();
    CNode *node = build.Node(cut.c_str());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->name.Length(), 255);
    EXPECT_EQ(node->description.Length(), 255);
    EXPECT_EQ(build.net.rules.At(0)->source, node);
    EXPECT_EQ(build.net.roots.At(0)->name.Length(), 255);

    // Names that differ only after their 255th character are the same name.
    Build twice;
    EXPECT_EQ(twice.Compile("nodes { " + cut + "x {(bayesian, 0.5)}\n " + cut + "y {(bayesian, 0.5)} }"), 2);
    EXPECT_EQ(twice.lines, std::vector<std::string>{ErrorLine(2, "cannot add this node (already exists?)")});

    Build retriever;
    EXPECT_EQ(retriever.Compile("nodes { a { (bayesian, 0.5) retriever (winprob" + std::string(300, 'x') + ") } }"), 2);
    EXPECT_EQ(retriever.lines, std::vector<std::string>{ErrorLine(1, "cannot add retriever to node")});
}

TEST(CompilerRobustness, DeepTaxonomiesCompileWithoutRecursion) {
    const int depth = 20000;
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "c" + std::to_string(i) + " {\n";
        close += "}";
    }
    Build build;
    ASSERT_EQ(build.Compile("taxonomies { t hypothesis {\n" + open + close + "} }"), 0) << build.Error();
    EXPECT_EQ(build.net.allClasses.Count(), depth + 1);
    CTaxCl *last = build.net.FindClass(CString(("c" + std::to_string(depth - 1)).c_str()));
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last->parent->name.Text(), ("c" + std::to_string(depth - 2)).c_str());

    Build unterminated;
    EXPECT_EQ(unterminated.Compile("taxonomies { t hypothesis {\n" + open), 2);
    EXPECT_EQ(unterminated.lines, std::vector<std::string>{ErrorLine(depth + 2, "} expected")});
}

TEST(CompilerRobustness, HugeAndTinyNumbers) {
    const std::string digits(400, '9');
    struct Case {
        std::string source;
        std::string error;  // "" when it compiles
    };
    const Case cases[] = {{"nodes { a {(bayesian, " + digits + ")} }", "cannot add this node (already exists?)"},
                          {"nodes { a {(bayesian, 1e308)} }", "cannot add this node (already exists?)"},
                          {"nodes { a {(bayesian, 3.5e38)} }", "cannot add this node (already exists?)"},
                          {"nodes { a {(bayesian, 0." + std::string(300, '0') + "1)} }", ""},
                          {"nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} } rules { {a b, " + digits + " 0} }", "cannot add rule"},
                          {"nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} } links { {a b, 0 " + digits + "} }", ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source.substr(0, 60));
        Build build;
        int result = build.Compile(c.source);
        if (c.error.empty()) {
            EXPECT_EQ(result, 0) << build.Error();
        } else {
            EXPECT_EQ(result, 2);
            EXPECT_EQ(build.lines, std::vector<std::string>{ErrorLine(1, c.error)});
        }
    }
    Build tiny;
    ASSERT_EQ(tiny.Compile("nodes { a {(bayesian, 0." + std::string(400, '0') + "1)} }"), 0);
    EXPECT_EQ(tiny.Node("a")->prior, 0.0f);
}

// The soundness checks above rely on this parser; it must reject what the
// compiler must never write.
TEST(CompilerRobustness, ErrorLineCheckerRejectsMalformedLines) {
    long number = 0;
    std::string message;
    ASSERT_TRUE(ParseErrorLine("[Error at line 12] } expected", number, message));
    EXPECT_EQ(number, 12);
    EXPECT_EQ(message, "} expected");
    for (const char *bad : {"", "[Error at line ] x", "[Error at line 0] x", "[Error at line 3]", "[Error at line 3] ",
                            "[Error at line 3]x", "[error at line 3] x", "[Error at line -3] x", "[Error at line 3a] x",
                            "[Error] Cannot read net source code."})
        EXPECT_FALSE(ParseErrorLine(bad, number, message)) << bad;
}
