// A knowledge base consulted without windows: the questions reach the
// answerer as the console words them, the files the caller did not ask for
// are not written, and an answerer that throws ends its consultation
// cleanly.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "consult/text_consultation.h"
#include "consult_helpers.h"
#include "language/input_char.h"
#include "net/inf_tax_net.h"
#include "net/node.h"

namespace {

const char *const kKnowledgeBase =
    "net { askparam(site) setparam(prottxt, \"report.txt\") setparam(odbtxttab, \"goals.txt\") }\n"
    "nodes {\n"
    "  a { 'question a' (bayesian, 0.5) retriever (winprob) }\n"
    "  ch { 'colour' (bayesian, 0.5) retriever (winchoice ('Red', 'Green')) translator (0.1, 0.9) }\n"
    "  h1 { (bayesian, 0.3, goal) }\n"
    "  h2 { (bayesian, 0.6, goal) }\n"
    "}\n"
    "rules { { a, h1, 0.9, 0.1 } { ch, h2, 0.9, 0.2 } }\n"
    "taxonomies { all hypothesis { first (h1) second (h2) } }\n"
    "description { h1 { <p>the first</p> } }\n";

// Answers from a list of lines in order, keeping every question it sees.
class ListAnswers : public ITextAnswerer {
public:
    explicit ListAnswers(std::vector<std::string> lines) : lines(std::move(lines)) {}
    bool Answer(const CTextQuestion &question, std::string &line) override {
        asked.push_back(question);
        if (next == lines.size()) throw std::runtime_error("no more answers");
        line = lines[next++];
        return true;
    }

    std::vector<std::string> lines;
    size_t next = 0;
    std::vector<CTextQuestion> asked;
};

struct Consultation {
    Consultation(const TempDir &dir, const CWrittenFiles &files)
        : text(kKnowledgeBase), consultation(CTextSource{&text, dir.path, "kb.qvb", files, nullptr}) {}
    CPInputChar text;
    CTextConsultation consultation;
};

TEST(TextConsultation, AsksAsTheConsoleWordsItAndConsults) {
    TempDir dir;
    Consultation c(dir, {});
    ASSERT_TRUE(c.consultation.Built());
    EXPECT_EQ(c.consultation.BuildLines().front(), "Building inference net...");
    EXPECT_EQ(c.consultation.BuildLines().back(), "Done.");

    ListAnswers answers({"north", "", "2", "0.9"});
    ASSERT_EQ(c.consultation.Run(answers), 0);
    ASSERT_EQ(answers.asked.size(), 4u);
    const CTextQuestion &site = answers.asked[0];
    EXPECT_EQ(site.kind, TQuestionKind::parameter);
    EXPECT_EQ(site.name, "site");
    EXPECT_EQ(site.text, std::string(TextHelpLine(TQuestionKind::parameter).Text()) +
                             TextPrompt(TQuestionKind::parameter, "site").Text());
    const CTextQuestion &taxonomy = answers.asked[1];
    EXPECT_EQ(taxonomy.kind, TQuestionKind::taxonomy);
    EXPECT_EQ(taxonomy.name, "all");
    EXPECT_EQ(taxonomy.options, (std::vector<std::string>{"all", "first", "second"}));
    const CTextQuestion &choice = answers.asked[2];  // the likelier goal first
    EXPECT_EQ(choice.kind, TQuestionKind::choice);
    EXPECT_EQ(choice.name, "ch");
    EXPECT_EQ(choice.subject, "colour");
    EXPECT_EQ(choice.options, (std::vector<std::string>{"Red", "Green"}));
    EXPECT_NE(choice.text.find("  2. Green\n"), std::string::npos);
    EXPECT_TRUE(choice.rejection.empty());
    EXPECT_EQ(c.consultation.LastStatus(), "Done, consulted ok.");
    EXPECT_GT(c.consultation.Net().FindNode("h2")->current, 0.6f);

    // Every file the knowledge base names was written.
    EXPECT_TRUE(FileExists(dir.File("h1.html")));
    EXPECT_TRUE(FileExists(dir.File("report.txt")));
    EXPECT_TRUE(FileExists(dir.File("goals.txt")));

    EXPECT_TRUE(c.consultation.Answerable("a"));
    EXPECT_TRUE(c.consultation.Answerable("site"));
    EXPECT_TRUE(c.consultation.Answerable("all"));
    EXPECT_FALSE(c.consultation.Answerable("first"));  // a class is an answer, not a name
    EXPECT_FALSE(c.consultation.Answerable("nosuch"));
}

TEST(TextConsultation, WritesOnlyTheFilesAskedFor) {
    TempDir dir;
    Consultation c(dir, {false, false, false});
    ASSERT_TRUE(c.consultation.Built());
    ListAnswers answers({"", "", "", ""});
    ASSERT_EQ(c.consultation.Run(answers), 0);
    EXPECT_FALSE(FileExists(dir.File("h1.html")));
    EXPECT_FALSE(FileExists(dir.File("report.txt")));
    EXPECT_FALSE(FileExists(dir.File("goals.txt")));

    // A help page name that would leave the folder still fails the build.
    CPInputChar unsafe("nodes { g { (bayesian, 0.5, goal) } } description { \"../g\" { text } }");
    CTextConsultation refused(CTextSource{&unsafe, dir.path, "kb.qvb", {false, false, false}, nullptr});
    EXPECT_FALSE(refused.Built());
    ASSERT_TRUE(refused.Diagnostic().has_value());
    EXPECT_EQ(refused.Diagnostic()->message, "cannot create html help file");
}

TEST(TextConsultation, AnAnswererThatThrowsAbortsItsConsultationOnly) {
    TempDir dir;
    Consultation c(dir, {false, false, false});
    ListAnswers tooFew({"north"});
    EXPECT_THROW(c.consultation.Run(tooFew), std::runtime_error);
    EXPECT_TRUE(c.consultation.Aborted());
    EXPECT_EQ(c.consultation.LastStatus(), "Consultation aborted.");
    EXPECT_EQ(tooFew.asked.size(), 2u);  // nothing asked after the throw

    // The next consultation starts afresh.
    ListAnswers enough({"north", "", "Red", "0.9"});
    EXPECT_EQ(c.consultation.Run(enough), 0);
    EXPECT_FALSE(c.consultation.Aborted());
    EXPECT_LT(c.consultation.Net().FindNode("h2")->current, 0.6f);
}

TEST(TextConsultation, AnUnreadableSourceFailsTheBuildWithItsLine) {
    CTextConsultation unreadable(CTextSource{});
    EXPECT_FALSE(unreadable.Built());
    EXPECT_EQ(unreadable.BuildLines(),
              (std::vector<std::string>{"Building inference net...", "[Error] Cannot read net source code."}));
    EXPECT_FALSE(unreadable.Answerable("a"));
}

}  // namespace
