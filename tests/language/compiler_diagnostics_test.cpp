// A refused knowledge base says why and where: after the error line comes one
// line that begins with two spaces, the column (and the line, when it is not
// the error line's) of the offending token, and the cause. The error lines
// themselves stay as they were; the compiler's diagnostic carries the same
// place and cause for editors.
#include <gtest/gtest.h>

#include "compiler_test_support.h"

using namespace compiler_test;

namespace {

struct Case {
    std::string source;
    std::string detail;      // the detail line
    CSourcePlace place;      // line, column, end column
};

const std::string kTwoNodes = "nodes { a {(bayesian, 0.5)} b {(bayesian, 0.5)} }\n";

void ExpectDetails(const std::vector<Case> &cases) {
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source);
        Build build;
        ASSERT_EQ(build.Compile(c.source), 2);
        ASSERT_EQ(build.lines.size(), 1u);
        EXPECT_EQ(build.details, std::vector<std::string>{c.detail});
        ASSERT_TRUE(build.diagnostic.has_value());
        EXPECT_EQ(build.diagnostic->place.line, c.place.line);
        EXPECT_EQ(build.diagnostic->place.column, c.place.column);
        EXPECT_EQ(build.diagnostic->place.endColumn, c.place.endColumn);
        long number = 0;
        std::string message;
        ASSERT_TRUE(ParseErrorLine(build.lines[0], number, message));
        EXPECT_EQ(build.diagnostic->message, message);
    }
}

}  // namespace

TEST(CompilerDiagnostics, WhatWasFoundWhereSomethingElseWasExpected) {
    ExpectDetails({
        {"", "  column 1: found the end of the file", {1, 1, 1}},
        {"foo", "  column 1: found the name \"foo\"", {1, 1, 4}},
        {"nodes { a {(bayesian 0.5)} }", "  column 22: found the number 0.5", {1, 22, 25}},
        {"nodes {\n  a {(bayesian, 0.5) } \n  b {(bayesian, 0.5)}\n rules", "  column 2: found the word \"rules\"",
         {4, 2, 7}},
        // Without the comma after the target, the first number is read as
        // the separator and the "}" stands where the second was expected.
        {kTwoNodes + "rules {\n  { a, b }\n  { a b 0.5 0.5 }\n}", "  column 17: found \"}\"", {4, 17, 18}},
        {"nodes { a {'unclosed", "  column 12: found something that cannot be read: an unclosed text or quoted name, or a stray \"/\"",
         {1, 12, 21}},
        {"nodes { 'text' }", "  column 9: found the text 'text'", {1, 9, 15}},
        // An unclosed comment is shown where it starts, though the error
        // line names the line where the source ended; so is a stray "/".
        {std::string("/**\0**\xE8\n", 8), "  line 1, column 1: found something that cannot be read: an unclosed text or quoted name, or a stray \"/\"",
         {1, 1, 2}},
        {"nodes {\n  a /x", "  column 5: found something that cannot be read: an unclosed text or quoted name, or a stray \"/\"",
         {2, 5, 6}},
        // A byte-order mark is not a column; tabs and CR LF line ends count as one character each.
        {"\xEF\xBB\xBFnet x", "  column 5: found the name \"x\"", {1, 5, 6}},
        {"nodes {\r\n\ta {(bayesian, 0.5)}\r\n\t( }", "  column 2: found \"(\"", {3, 2, 3}},
    });
}

TEST(CompilerDiagnostics, WhyTheNetRefusedANode) {
    ExpectDetails({
        {"nodes { a {(bayesian, 1.3)} }", "  column 23: the prior 1.3 is outside [0, 1]", {1, 23, 26}},
        {"nodes { a {(bayesian, 2, goal)} }", "  column 23: the prior 2 is outside [0, 1]", {1, 23, 24}},
        {"nodes {\n a {(bayesian, 0.5)}\n b {(logical, or)}\n a {(logical, and)} }",
         "  column 2: \"a\" is already defined at line 2", {4, 2, 3}},
    });
}

TEST(CompilerDiagnostics, WhyTheNetRefusedARuleOrLink) {
    ExpectDetails({
        {kTwoNodes + "rules { { a, petrol_smel } }", "  column 14: no node named \"petrol_smel\"", {2, 14, 25}},
        {kTwoNodes + "rules {\n { x, b, 0.5, 0.5 }\n}", "  column 4: no node named \"x\"", {3, 4, 5}},
        {kTwoNodes + "rules { { a, b, 1.5, 0.1 } }", "  column 17: P(H|E) 1.5 is outside [0, 1]", {2, 17, 20}},
        {kTwoNodes + "rules { { a, b, 0.5, 2 } }", "  column 22: P(H|not E) 2 is outside [0, 1]", {2, 22, 23}},
        {kTwoNodes + "rules {\n { a, b }\n { a, b, 0.5, 0.5 } }",
         "  column 4: a rule from \"a\" to \"b\" is already defined at line 3", {4, 4, 5}},
        // The refusal is found at the token after the rule, on a later line.
        {kTwoNodes + "rules { { a, nosuch\n\n} }", "  line 2, column 14: no node named \"nosuch\"", {2, 14, 20}},
        {kTwoNodes + "links { { a, zz } }", "  column 14: no node named \"zz\"", {2, 14, 16}},
        {kTwoNodes + "links { { a, b }\n { a, b, 0, 0.5 } }",
         "  column 4: a link from \"a\" to \"b\" is already defined at line 2", {3, 4, 5}},
    });
}

TEST(CompilerDiagnostics, WhyTaxonomiesAndRetrieversWereRefused) {
    ExpectDetails({
        {kTwoNodes + "taxonomies { t hypothesis { c } \n u hiddenboth { c } }",
         "  column 17: the class \"c\" is already defined at line 2; class names are unique across all taxonomies",
         {3, 17, 18}},
        {kTwoNodes + "taxonomies { t hypothesis (a, q) }", "  column 31: no node named \"q\"", {2, 31, 32}},
        {"nodes { a {(bayesian, 0.5) retriever (nosuch)} }", "  column 39: no retriever named \"nosuch\"",
         {1, 39, 45}},
    });
}
