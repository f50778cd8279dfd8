// Every compile error is one line "[Error at line N] message", with N the line
// on which the offending token ends, and the result 2. Each case is the
// smallest text that reaches the message from one position of the language.
#include <gtest/gtest.h>

#include "compiler_test_support.h"

using namespace compiler_test;

namespace {

struct Case {
    std::string source;
    int line;
};

// Two declared nodes a and b, on line 1.
const std::string kTwoNodes = "nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} }\n";

void ExpectError(const std::string &message, const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source);
        Build build;
        EXPECT_EQ(build.Compile(c.source), 2);
        EXPECT_EQ(build.lines, std::vector<std::string>{ErrorLine(c.line, message)});
    }
}

}  // namespace

TEST(CompilerErrors, StartOfTheSourceAndSections) {
    ExpectError("no definition found", {{"", 1}, {"\n\n// only a comment\n", 4}, {"/* a\nblock */\n", 3}});
    ExpectError("structure definition expected",
                {{"foo", 1},
                 {"nodes { }\nnet { }", 2},
                 {"\n\ntemplate", 3},
                 {"'text'", 1},
                 {"/", 1},
                 {"nodes { } 5", 1},
                 {"\"nodes\" { }", 1}});
    ExpectError("{ expected",
                {{"net x", 1}, {"nodes\n(", 2}, {"rules }", 1}, {"links x", 1}, {"taxonomies (", 1}, {"description x", 1}});
}

TEST(CompilerErrors, NetBlock) {
    ExpectError("} or net parameters expected", {{"net { x }", 1}, {"net { nodes", 1}, {"net {\n\n", 3}, {"net { goal", 1}});
    ExpectError("( expected", {{"net { setparam x", 1}, {"net { askparam\nx", 2}, {"net { defretr ask", 1}});
    ExpectError("identifier expected", {{"net { setparam(5)", 1}, {"net { askparam()", 1}, {"net { setparam('a', b)", 1}});
    ExpectError("identifier (parameter) expected", {{"net { setparam(a, 5) }", 1}, {"net { setparam(a,\n'text') }", 2}});
    ExpectError(") expected",
                {{"net { setparam(a, b c) }", 1}, {"net { askparam(a b) }", 1}, {"net { defretr(x, winprob y) }", 1},
                 {"net { setparam(a, b", 1}});
    ExpectError("identifier (new name) expected", {{"net { defretr(5, winprob) }", 1}, {"net { defretr()", 1}});
    ExpectError("identifier (current name) expected", {{"net { defretr(a, 5) }", 1}, {"net { defretr(a)\n}", 1}});
    ExpectError("cannot add this retriever synonymum",
                {{"net { defretr(winprob, dnprob) }", 1},
                 {"net { defretr(a, nosuch) }", 1},
                 {"net { defretr(a, winprob)\n defretr(a, dnprob) }", 2},
                 {"net { defretr(a, prob) }", 1}});
}

TEST(CompilerErrors, NodeDeclaration) {
    ExpectError("} or identifier expected",
                {{"nodes { 5 }", 1}, {"nodes { 'a' }", 1}, {"nodes { a {(bayesian, 0.5)} , }", 1}, {"nodes {\n", 2}});
    ExpectError("{ expected", {{"nodes { a\n (bayesian", 2}, {"nodes { a }", 1}});
    ExpectError("( or ' expected", {{"nodes { a { x", 1}, {"nodes { a { \"quoted\" (", 1}, {"nodes { a {\n}", 2}});
    ExpectError("( expected", {{"nodes { a { 'd'\n x", 2}, {"nodes { a { 'd' 'e'", 1}});
    ExpectError("node type (logical/bayesian) expected", {{"nodes { a { ( x", 1}, {"nodes { a { ('d')", 1}, {"nodes { a { ()", 1}});
    ExpectError(", expected", {{"nodes { a { (logical and", 1}, {"nodes { a { (bayesian 0.5", 1}});
    ExpectError("type of logical node (and/or/not) expected",
                {{"nodes { a { (logical, x", 1}, {"nodes { a { (logical,\n bayesian", 2}, {"nodes { a { (logical, goal)", 1}});
    ExpectError("number expected",
                {{"nodes { a { (bayesian, x", 1}, {"nodes { a { (bayesian, -0.5) } }", 1}, {"nodes { a { (bayesian,\n)", 2}});
    ExpectError(") or 'goal' expected",
                {{"nodes { a { (bayesian, 0.5, x", 1}, {"nodes { a { (logical, and, Goal) } }", 1}, {"nodes { a { (logical, or, ) } }", 1}});
    ExpectError(") expected",
                {{"nodes { a { (bayesian, 0.5 goal", 1},
                 {"nodes { a { (logical, and\n}", 2},
                 {"nodes { a { (bayesian, 0.5, goal, goal) } }", 1}});
    ExpectError("} expected",
                {{"nodes { a { (bayesian, 0.5)\n x }", 2},
                 {"nodes { a { (bayesian, 0.5) translator ( ) } }", 1},
                 {"nodes { a { (bayesian, 0.5) output } }", 1},
                 {"nodes { a { (bayesian, 0.5)", 1}});
    ExpectError("cannot add this node (already exists?)",
                {{"nodes { a {(bayesian, 0.5)}\n a {(logical, or)} }", 2},
                 {"nodes { a {(bayesian, 1.5)} }", 1},
                 {"nodes { a {(bayesian, 1.00001)} }", 1},
                 {"nodes { a {(bayesian, 1e999)} }", 1},
                 {"nodes { a {(bayesian, 1e39)} }", 1},
                 {"nodes { a {(bayesian, 0.5)\n\n} a {(bayesian, 0.5)\n} }", 4}});
}

TEST(CompilerErrors, RetrieverAndTranslatorClauses) {
    const std::string node = "nodes { a { (bayesian, 0.5) ";
    ExpectError("( expected",
                {{node + "retriever winprob } }", 1}, {node + "retriever (winprob)\n translator 0.5 } }", 2}});
    ExpectError("identifier (retriever name) expected",
                {{node + "retriever ( ) } }", 1}, {node + "retriever (winprob, 'x') } }", 1}, {node + "retriever (winprob\n", 2}});
    ExpectError("cannot add retriever to node",
                {{node + "retriever (nosuch) } }", 1},
                 {node + "retriever (winprob,\n dnvalue) } }", 2},
                 {node + "retriever (prob) } }", 1}});
    ExpectError("error in reading retriever parameters",
                {{node + "retriever (winchoice) } }", 1},
                 {node + "retriever (winchoice (\n)) } }", 2},
                 {node + "retriever (winchoice (a, 5)) } }", 1}});
    ExpectError("error in reading translator parameters",
                {{node + "retriever (winvalue) translator ((1) (0.5)) } }", 1},
                 {node + "retriever (winvalue) translator (x) } }", 1},
                 {node + "retriever (winchoice (a)) translator ( ) } }", 1},
                 {node + "retriever (winvalue) translator ((1, 2)\n", 2}});
    ExpectError(") expected",
                {{node + "retriever (winprob) translator ( 5 ) } }", 1},
                 {node + "retriever (winvalue) translator ((1 2) (0 1) 3) } }", 1}});
    ExpectError("output not yet implemented...",
                {{node + "retriever (winprob) output } }", 1},
                 {node + "retriever (winvalue) translator ((1 2) (0 1))\n output } }", 2}});
    ExpectError("} expected", {{node + "retriever (winprob) retriever (dnprob) } }", 1}});
}

TEST(CompilerErrors, RulesAndLinks) {
    ExpectError("{ or } expected", {{"rules { a", 1}, {"links { 5", 1}, {kTwoNodes + "rules { { a, b } ,", 2}, {"links {\n", 2}});
    ExpectError("identifier expected",
                {{kTwoNodes + "rules { { 5, b } }", 2},
                 {kTwoNodes + "rules { { a, } }", 2},
                 {kTwoNodes + "rules { { a, b 0.8, 0.1 } }", 2},
                 {kTwoNodes + "rules { { a, b, 0.8 } }", 2},
                 {kTwoNodes + "rules { { a, b, 0.8,, 0.1 } }", 2},
                 {kTwoNodes + "links { { a, b, x, y } }", 2},
                 {kTwoNodes + "links { { a\n", 3}});
    ExpectError("cannot add rule",
                {{"rules { { a, b } }", 1},
                 {kTwoNodes + "rules { { a, c } }", 2},
                 {kTwoNodes + "rules { { a, b, 1.5, 0.1 } }", 2},
                 {kTwoNodes + "rules { { a, b, 0.5, 1e39 } }", 2},
                 {kTwoNodes + "rules { { a, b }\n { a, b, 0.5, 0.5 } }", 3},
                 {kTwoNodes + "rules { { a, b, 1.5, 0.1\n x", 3},
                 {"rules { { a, b } }\nnodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} }", 1}});
    ExpectError("} expected", {{kTwoNodes + "rules { { a, b, 0.5, 0.5\n\n x", 4}, {kTwoNodes + "links { {a, b, 0.5, 1 x", 2}});
    ExpectError("cannot add priority link", {{"links { { a, b } }", 1}, {kTwoNodes + "links { { a, b }\n { a, b } }", 3}});
    ExpectError("cannot add context link",
                {{"links { { a, b, 0, 1 } }", 1}, {kTwoNodes + "links { { a, b } { a, b, 0, 1 } }", 2}});
}

TEST(CompilerErrors, Taxonomies) {
    ExpectError("identifier (taxonomy name) expected",
                {{"taxonomies { 5 }", 1}, {"taxonomies { t hypothesis ) }", 1}, {"taxonomies {\n", 2}});
    ExpectError("taxonomy type expected", {{"taxonomies { t x }", 1}, {"taxonomies { t }", 1}, {"taxonomies { t hidden }", 1}});
    ExpectError("cannot add taxonomy",
                {{"taxonomies { t hypothesis t hiddenyes }", 1}, {"taxonomies { t hypothesis { c }\n c hiddenno }", 2}});
    ExpectError("identifier (node name) expected",
                {{"taxonomies { t hypothesis ( ) }", 1}, {kTwoNodes + "taxonomies { t hypothesis (a, 'b') }", 2}});
    ExpectError("cannot add this node to taxonomy",
                {{"taxonomies { t hypothesis (nosuch) }", 1}, {kTwoNodes + "taxonomies { t hypothesis { c (a,\n c) } }", 3}});
    ExpectError("cannot add this taxonomy class",
                {{"taxonomies { t hypothesis { t } }", 1},
                 {"taxonomies { t hypothesis { c c } }", 1},
                 {"taxonomies { t hypothesis { c }\n u hypothesis { c } }", 2}});
    ExpectError("} expected",
                {{kTwoNodes + "taxonomies { t hypothesis { c (a) ) }", 2},
                 {"taxonomies { t hypothesis { c { d } 5 } }", 1},
                 {"taxonomies { t hypothesis {\n", 2}});
}

TEST(CompilerErrors, DescriptionSection) {
    ExpectError("identifier (node name) expected", {{"description { 5 }", 1}, {"description { a { x } 'b' }", 1}});
    ExpectError("{ expected", {{"description { flu x }", 1}, {"description { flu\n}", 2}});
    ExpectError("} expected", {{"description { flu { text", 1}, {"description { flu { one\ntwo\n", 3}, {"description { flu {", 1}});
    ExpectError("cannot create html help file", {{"description { \"a/b\" { x } }", 1}});
    ExpectError("identifier (node name) expected", {{"description {\n flu { x }\n", 3}});
}

// The caret goes where the compiler stopped: just after the offending token.
TEST(CompilerErrors, StopPositionIsJustAfterTheOffendingToken) {
    struct PositionCase {
        std::string source;
        int32_t position;
    };
    const PositionCase cases[] = {{"nodes { a { x } }", 13}, {"nodes { }\nnet { }", 13}, {"rules { { a, b } }", 16}};
    for (const PositionCase &c : cases) {
        SCOPED_TRACE(c.source);
        Build build;
        EXPECT_EQ(build.Compile(c.source), 2);
        EXPECT_EQ(build.errorPosition, c.position);
    }
}
