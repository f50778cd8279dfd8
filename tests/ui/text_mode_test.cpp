// The console's wording of the questions and its readings of typed answers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ui/text_mode.h"

namespace {

std::string Text(const CString &text) { return text.Text(); }

// Options given as texts (a CVector cannot be returned by value).
struct Options {
    Options(std::initializer_list<const char *> texts) {
        for (const char *text : texts) list.Add(CString(text));
    }
    CStringVector list;
};

}  // namespace

TEST(TextMode, FixedWording) {
    const CString fever("Has the patient a fever?");
    EXPECT_EQ(Text(TextPrompt(TQuestionKind::probability, fever)),
              "Enter a probability for the node \"Has the patient a fever?\".\n>");
    EXPECT_EQ(Text(TextHelpLine(TQuestionKind::probability)),
              "Probability is a real number from interval <0,1>.\n  Press [Enter] if you dont know.\n");
    EXPECT_EQ(Text(TextPrompt(TQuestionKind::certainty, fever)),
              "Enter a certainty factor for the node \"Has the patient a fever?\".\n>");
    EXPECT_EQ(Text(TextHelpLine(TQuestionKind::certainty)),
              "Certainity factor is integer from -5 (surely no) to 5 (surely yes),\n  0 means dont know. You can "
              "also enter \"y\" for yes or \"n\" for no.\n  Press [Enter] if you dont know.\n");
    EXPECT_EQ(Text(TextPrompt(TQuestionKind::exactValue, fever)),
              "Enter exact numerical value for the node \"Has the patient a fever?\".\n>");
    EXPECT_EQ(Text(TextHelpLine(TQuestionKind::exactValue)),
              "Numerical value as a real number is expected.\n  Press [Enter] if you dont know.\n");
    EXPECT_EQ(Text(TextPrompt(TQuestionKind::choice, fever)), "Enter choice for node \"Has the patient a fever?\".\n");
    EXPECT_EQ(Text(TextHelpLine(TQuestionKind::choice)),
              "Number of choice is expected (for example \"1\" for the first choice).\n  Press [Enter] if you dont "
              "know.\n");

    // The subject is put in as it is, "%" signs included.
    EXPECT_EQ(Text(TextPrompt(TQuestionKind::parameter, CString("100%s"))),
              "Enter the value of the parameter \"100%s\".\n>");
    for (TQuestionKind kind : {TQuestionKind::interval, TQuestionKind::parameter, TQuestionKind::taxonomy}) {
        std::string help = Text(TextHelpLine(kind));
        EXPECT_FALSE(help.empty());
        EXPECT_EQ(help.back(), '\n');
    }
}

TEST(TextMode, Listings) {
    EXPECT_EQ(Text(ChoiceListing(Options({"red", "light blue"}).list)), "  1. red\n  2. light blue\n");
    EXPECT_EQ(Text(ChoiceListing(Options({}).list)), "");
    CTaxonomyTree tree{{CString("Diseases"), 0}, {CString("Infections"), 1}, {CString("Viral"), 2},
                       {CString("Digestive"), 1}};
    EXPECT_EQ(Text(TaxonomyTreeListing(tree)), "  Diseases\n    Infections\n      Viral\n    Digestive\n");
}

TEST(TextMode, CertaintyAnswers) {
    const struct {
        const char *line;
        float factor;
    } readable[] = {{"y", 5}, {"YES", 5}, {" n ", -5}, {"No", -5}, {"3", 3}, {"-2", -2}, {"+4", 4}, {"0", 0}, {"7", 7}};
    for (const auto &row : readable) EXPECT_EQ(CertaintyFromText(CString(row.line)), row.factor) << row.line;
    for (const char *line : {"maybe", "2.5", "yy", "", "1 2", "9999999999", "- 1"})
        EXPECT_TRUE(std::isnan(CertaintyFromText(CString(line)))) << line;
}

TEST(TextMode, ChoiceAnswers) {
    Options given({"red", "Light Blue", "7"});
    const CStringVector &options = given.list;
    EXPECT_EQ(ChoiceFromText(CString("1"), options), 0);
    EXPECT_EQ(ChoiceFromText(CString(" 2 "), options), 1);
    EXPECT_EQ(ChoiceFromText(CString("light blue"), options), 1);
    EXPECT_EQ(ChoiceFromText(CString("RED"), options), 0);
    // A number is a position first, even where an option is written so.
    EXPECT_EQ(ChoiceFromText(CString("7"), options), 6);
    for (const char *line : {"0", "-1", "+1", "purple", "", "1.5"})
        EXPECT_LT(ChoiceFromText(CString(line), options), 0) << line;
}

TEST(TextMode, IntervalAnswersAndBlankLines) {
    CString from, to, certainty;
    SplitIntervalAnswer(CString("  2  5.5\t3 "), from, to, certainty);
    EXPECT_EQ(Text(from), "2");
    EXPECT_EQ(Text(to), "5.5");
    EXPECT_EQ(Text(certainty), "3");
    SplitIntervalAnswer(CString("2;5;-1"), from, to, certainty);
    EXPECT_EQ(Text(to), "5");
    EXPECT_EQ(Text(certainty), "-1");
    SplitIntervalAnswer(CString("1 2 3 4"), from, to, certainty);
    EXPECT_EQ(Text(certainty), "3 4");  // which the question refuses
    SplitIntervalAnswer(CString("7"), from, to, certainty);
    EXPECT_EQ(Text(from), "7");
    EXPECT_EQ(Text(to), "");
    EXPECT_EQ(Text(certainty), "");

    EXPECT_TRUE(IsBlankLine(CString("")));
    EXPECT_TRUE(IsBlankLine(CString(" \t ")));
    EXPECT_FALSE(IsBlankLine(CString(" 0 ")));
}
