// The help pages of description sections: their bytes (header, raw lines with
// their blanks, carriage returns and empty lines, footer), where they are
// written, and the names that are refused because they would leave the help
// directory.
#include <gtest/gtest.h>

#include "compiler_test_support.h"
#include "language/help_builder.h"

using namespace compiler_test;

namespace {

std::string Page(const std::string &name, const std::vector<std::string> &rawLines) {
    std::string page = "<HTML><HEAD><META name=\"GENERATOR\" content=\"Quorvin\"><TITLE>\n" + name +
                       "\n</TITLE></HEAD><BODY BGCOLOR=\"#ffffff\"><H1>\n" + name + "\n</H1><P><HR><P>\n";
    for (const std::string &line : rawLines) page += line + "\n";
    return page + "</BODY></HTML>\n";
}

std::string PageFile(Build &build, const std::string &name) { return ReadFile(build.helpDir.Path() / (name + ".html")); }

}  // namespace

TEST(CompilerHelpPages, RawLinesAreCopiedByteForByte) {
    struct Case {
        const char *what;
        std::string source;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"braces on lines of their own", "description\n{\nflu\n{\nfirst line\nsecond line\n}\n}\n",
         {"first line", "second line"}},
        {"blanks, tabs, empty lines and carriage returns",
         "description { flu {\n   indented\n\n\tTab\r\n\r\nlone cr\r\r\nmid\rdle\n\r}\n}",
         {"   indented", "\tTab", "lone cr", "mid\rdle", ""}},
        {"an indented closing brace leaves its blanks", "description { flu {\n a\n }\n}", {" a", " "}},
        {"markup, quotes and comment marks are text",
         "description { flu { <a href=\"cold.html\">'cold'</a> // not /* a comment { } }",
         {" <a href=\"cold.html\">'cold'</a> // not /* a comment { "}},
        {"nothing between the braces", "description { flu {} }", {}},
        {"text on the brace lines", "description { flu {one\ntwo} }", {"one", "two"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Build build;
        ASSERT_EQ(build.Compile(c.source), 0) << build.Error();
        EXPECT_EQ(build.helpDir.Files(), std::vector<std::string>{"flu.html"});
        EXPECT_EQ(PageFile(build, "flu"), Page("flu", c.lines));
    }
}

TEST(CompilerHelpPages, EightLinesForTwoTextLines) {
    Build build;
    ASSERT_EQ(build.Compile("description {\nflu\n{\nInfluenza.\nSee <a href=\"cold.html\">cold</a>.\n}\n}\n"), 0);
    std::string page = PageFile(build, "flu");
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 8);
    EXPECT_EQ(page, Page("flu", {"Influenza.", "See <a href=\"cold.html\">cold</a>."}));
}

TEST(CompilerHelpPages, NamesRepeatsAndLongLines) {
    Build build;
    std::string longLine(3000, 'x');
    std::string name250(250, 'n');
    ASSERT_EQ(build.Compile("description {\n"
                            "  \"two words\" { spaced }\n"
                            "  gr\xc3\xbc\xc3\x9f" "e { utf-8 }\n"
                            "  again { first } again { second }\n"
                            "  long {" + longLine + "}\n  " +
                            name250 + " { at the limit }\n}"),
              0)
        << build.Error();
    EXPECT_EQ(build.helpDir.Files(), (std::vector<std::string>{"again.html", "gr\xc3\xbc\xc3\x9f" "e.html", "long.html",
                                                               name250 + ".html", "two words.html"}));
    EXPECT_EQ(PageFile(build, "two words"), Page("two words", {" spaced "}));
    EXPECT_EQ(PageFile(build, "again"), Page("again", {" second "}));
    EXPECT_EQ(PageFile(build, "long"), Page("long", {std::string(2047, 'x')}));
    EXPECT_EQ(PageFile(build, name250), Page(name250, {" at the limit "}));
}

TEST(CompilerHelpPages, ABraceInsideTheTextEndsIt) {
    Build build;
    EXPECT_EQ(build.Compile("description { flu { a } b } }"), 2);
    EXPECT_EQ(build.lines, std::vector<std::string>{ErrorLine(1, "{ expected")});
    EXPECT_EQ(PageFile(build, "flu"), Page("flu", {" a "}));
}

TEST(CompilerHelpPages, PagesWrittenBeforeAnErrorStay) {
    Build build;
    EXPECT_EQ(build.Compile("description { a { first }\n b { second\nline"), 2);
    EXPECT_EQ(build.lines, std::vector<std::string>{ErrorLine(3, "} expected")});
    EXPECT_EQ(PageFile(build, "a"), Page("a", {" first "}));
    EXPECT_EQ(PageFile(build, "b"), Page("b", {" second", "line"}));
}

TEST(CompilerHelpPages, NamesThatWouldLeaveTheHelpDirectoryAreRefused) {
    const std::string names[] = {"\"a/b\"", "\"../escaped\"", "\"..\"", "x..y", "a\\b", "\"c:x\"", "\"\"",
                                 "\"/abs\"", "\"..\\\\escaped\""};
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        Build build;
        std::filesystem::create_directory(build.helpDir.Path() / "kb");
        std::filesystem::create_directory(build.helpDir.Path() / "kb" / "a");
        build.sourceDir = (build.helpDir.Path() / "kb").string();
        EXPECT_EQ(build.Compile("description {\n" + name + " { text } }"), 2);
        EXPECT_EQ(build.lines, std::vector<std::string>{ErrorLine(2, "cannot create html help file")});
        EXPECT_EQ(build.helpDir.Files(), std::vector<std::string>{"kb"});
        EXPECT_EQ(FilesIn(build.helpDir.Path() / "kb"), std::vector<std::string>{"a"});
        EXPECT_TRUE(FilesIn(build.helpDir.Path() / "kb" / "a").empty());
    }
}

TEST(CompilerHelpPages, FilesThatCannotBeCreatedAreReported) {
    Build missingDirectory;
    missingDirectory.sourceDir = (missingDirectory.helpDir.Path() / "missing").string();
    EXPECT_EQ(missingDirectory.Compile("description { flu { x } }"), 2);
    EXPECT_EQ(missingDirectory.lines, std::vector<std::string>{ErrorLine(1, "cannot create html help file")});

    // 300 characters are cut to 255, and with ".html" the file name is too long.
    Build longName;
    EXPECT_EQ(longName.Compile("description {\n" + std::string(300, 'n') + " { x } }"), 2);
    EXPECT_EQ(longName.lines, std::vector<std::string>{ErrorLine(2, "cannot create html help file")});
    EXPECT_TRUE(longName.helpDir.Files().empty());
}

TEST(CompilerHelpPages, AbsoluteHelpPathTakesThePages) {
    Build build;
    TempDir absolute;
    build.parameters.SetParam("helppath", CString(absolute.Str().c_str()));
    ASSERT_EQ(build.Compile("description { flu { x } }"), 0) << build.Error();
    EXPECT_TRUE(build.helpDir.Files().empty());
    EXPECT_EQ(absolute.Files(), std::vector<std::string>{"flu.html"});

    // A relative one (and the default "temphtml") leaves them in the knowledge
    // base's directory.
    Build relative;
    relative.parameters.SetParam("helppath", "pages");
    ASSERT_EQ(relative.Compile("description { flu { x } }"), 0) << relative.Error();
    EXPECT_EQ(relative.helpDir.Files(), std::vector<std::string>{"flu.html"});
}

TEST(CompilerHelpPages, WithoutASourceDirectoryPagesGoToTheCurrentDirectory) {
    TempDir current;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(current.Path());
    Build build;
    build.sourceDir.clear();
    int result = build.Compile("description { flu { x } }");
    std::filesystem::current_path(previous);
    EXPECT_EQ(result, 0) << build.Error();
    EXPECT_EQ(current.Files(), std::vector<std::string>{"flu.html"});
}

TEST(HelpDirectory, AbsolutePathsAndPagePaths) {
    EXPECT_TRUE(IsAbsoluteHelpPath("/srv/help"));
    EXPECT_TRUE(IsAbsoluteHelpPath("c:\\help"));
    EXPECT_TRUE(IsAbsoluteHelpPath("D:"));
    EXPECT_FALSE(IsAbsoluteHelpPath("temphtml"));
    EXPECT_FALSE(IsAbsoluteHelpPath(""));
    EXPECT_FALSE(IsAbsoluteHelpPath("c"));
    EXPECT_FALSE(IsAbsoluteHelpPath("help/c:"));

    EXPECT_STREQ(HelpDirectory("temphtml", "/kb").Text(), "/kb");
    EXPECT_STREQ(HelpDirectory("/srv/help", "/kb").Text(), "/srv/help");
    EXPECT_STREQ(HelpDirectory("0", "").Text(), "");

    EXPECT_STREQ(CHelpBuilder("").PagePath("flu").Text(), "flu.html");
    EXPECT_STREQ(CHelpBuilder("/kb").PagePath("flu").Text(), "/kb/flu.html");
    EXPECT_STREQ(CHelpBuilder("/kb/").PagePath("flu").Text(), "/kb/flu.html");
    EXPECT_STREQ(CHelpBuilder("c:\\kb\\").PagePath("a b").Text(), "c:\\kb\\a b.html");

    EXPECT_TRUE(CHelpBuilder::IsSafePageName("flu"));
    EXPECT_TRUE(CHelpBuilder::IsSafePageName(".hidden"));
    EXPECT_TRUE(CHelpBuilder::IsSafePageName("a.b"));
    for (const char *name : {"", "..", "a/b", "a\\b", "c:x", "x..y", "../x"}) EXPECT_FALSE(CHelpBuilder::IsSafePageName(name)) << name;
}
