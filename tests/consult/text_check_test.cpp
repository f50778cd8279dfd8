// Checking a text for an editor gives Build's lines and diagnostic and
// writes no file, where a build of the same text writes its help pages.
#include "consult/text_check.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "consult_helpers.h"
#include "fake_registry.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kWithHelpPages =
    "nodes { a { (bayesian, 0.5) retriever (ask) } h { (bayesian, 0.5, goal) } }\n"
    "description { h { <p>The goal.</p> } a {\n  Asked.\n} }\n"
    "rules { { a, h, 0.9, 0.1 } }\n";

// Runs `body` with the current directory in a fresh temporary directory,
// which is where help pages go when the knowledge base has no directory.
template <typename Body>
std::vector<std::string> FilesWrittenBy(Body body) {
    TempDir scratch;
    const std::string home = std::filesystem::current_path().string();
    EXPECT_EQ(chdir(scratch.path.c_str()), 0);
    body();
    EXPECT_EQ(chdir(home.c_str()), 0);
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(scratch.path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(TextCheck, GivesBuildsLinesAndWritesNoFile) {
    FakeRegistry registry;
    CTextCheck check;
    EXPECT_TRUE(FilesWrittenBy([&] { check = CheckText(kWithHelpPages, &registry); }).empty());
    EXPECT_TRUE(check.ok);
    EXPECT_FALSE(check.diagnostic.has_value());
    EXPECT_EQ(check.lines, (Lines{"Building inference net...", "Compiled.", "Checking consistency...",
                                  "Consistency check passed.", "Done."}));
    // The same text built writes its pages: the check above could have seen them.
    EXPECT_EQ(FilesWrittenBy([&] { BuiltControl built(kWithHelpPages, &registry); }),
              (Lines{"a.html", "h.html"}));
    // The text after the pages is still read: an error behind them is found.
    check = CheckText(kWithHelpPages + "rules { { a, x } }", &registry);
    EXPECT_FALSE(check.ok);
    ASSERT_TRUE(check.diagnostic.has_value());
    EXPECT_EQ(check.diagnostic->place.line, 6);
    EXPECT_EQ(check.lines[1], "[Error at line 6] cannot add rule");
}

TEST(TextCheck, RefusesWhatABuildRefuses) {
    FakeRegistry registry;
    // A page name that would leave the help directory.
    CTextCheck check = CheckText("nodes { a { (bayesian, 0.5) } } description { \"../x\" { text } }", &registry);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.lines[1], "[Error at line 1] cannot create html help file");
    // A net that compiles and fails the consistency check.
    check = CheckText("nodes { a { (bayesian, 0.5) } }", &registry);
    EXPECT_FALSE(check.ok);
    ASSERT_TRUE(check.diagnostic.has_value());
    EXPECT_EQ(check.diagnostic->message, "no goals");
    EXPECT_EQ(check.lines.back(), "Consistency check failed.");
}
