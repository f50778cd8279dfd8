#include "language/lexer.h"

#include "lexer_helpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "foundation/number_text.h"

namespace {

using Kinds = std::vector<TToken>;

}  // namespace

TEST(Lexer, PunctuationAndEveryKeywordHaveTheirKinds) {
    EXPECT_EQ(KindsOf("( ) , { }"),
              (Kinds{tokLeftParen, tokRightParen, tokComma, tokLeftBrace, tokRightBrace, tokEnd}));
    const std::vector<std::pair<const char *, int>> keywords = {
        {"net", 8},         {"rules", 9},      {"nodes", 10},       {"links", 11},        {"taxonomies", 12},
        {"retriever", 13},  {"translator", 14}, {"output", 15},     {"logical", 16},      {"goal", 17},
        {"bayesian", 18},   {"and", 19},       {"not", 20},         {"or", 21},           {"template", 22},
        {"hypothesis", 23}, {"hidden_yes", 24}, {"hiddenyes", 24},  {"hidden_no", 25},    {"hiddenno", 25},
        {"hidden_both", 26}, {"hiddenboth", 26}, {"description", 27}, {"askparam", 28},  {"setparam", 29},
        {"defretr", 30}};
    for (const auto &[word, value] : keywords) {
        std::vector<Lexeme> lexemes = LexAll(word);
        ASSERT_EQ(lexemes.size(), 2u) << word;
        EXPECT_EQ(static_cast<int>(lexemes[0].first), value) << word;
        EXPECT_EQ(lexemes[1].first, tokEnd) << word;
    }
    EXPECT_EQ(tokText, 31);
    EXPECT_EQ(tokError, 32);
}

TEST(Lexer, KeywordsAreWholeLowerCaseWordsOutsideQuotes) {
    EXPECT_EQ(LexAll("goal Goal goals \"goal\" GOAL goal_ or0 notx"),
              (std::vector<Lexeme>{{tokGoal, ""},
                                   {tokName, "Goal"},
                                   {tokName, "goals"},
                                   {tokName, "goal"},
                                   {tokName, "GOAL"},
                                   {tokName, "goal_"},
                                   {tokName, "or0"},
                                   {tokName, "notx"},
                                   {tokEnd, ""}}));
    // The longest keywords, and words one character longer or shorter.
    EXPECT_EQ(LexAll("description hidden_both descriptions hidden_boths descriptio"),
              (std::vector<Lexeme>{{tokDescription, ""},
                                   {tokHiddenBoth, ""},
                                   {tokName, "descriptions"},
                                   {tokName, "hidden_boths"},
                                   {tokName, "descriptio"},
                                   {tokEnd, ""}}));
}

TEST(Lexer, BlanksAndCommentsAloneGiveEnd) {
    EXPECT_EQ(KindsOf(""), (Kinds{tokEnd}));
    EXPECT_EQ(KindsOf(" \t\r\n\f "), (Kinds{tokEnd}));
    EXPECT_EQ(KindsOf("/* a */ // b\n  // unterminated line comment"), (Kinds{tokEnd}));
    EXPECT_EQ(KindsOf("/**/x/*/ still comment */y"), (Kinds{tokName, tokName, tokEnd}));
}

TEST(Lexer, MalformedCommentsGiveError) {
    EXPECT_EQ(KindsOf("a /* never closed *"), (Kinds{tokName, tokError, tokEnd}));
    EXPECT_EQ(KindsOf("/*/"), (Kinds{tokError, tokEnd}));
    EXPECT_EQ(KindsOf("/"), (Kinds{tokError, tokEnd}));
    // The character after a lone slash is left for the next token.
    CPInputChar input("/x");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokError);
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_STREQ(lexer.Text(), "x");
    EXPECT_EQ(lexer.Next(), tokEnd);
}

TEST(Lexer, NumbersConvertTheirLongestValidPrefix) {
    struct Case {
        const char *source;
        double value;
        const char *text;
    };
    const Case cases[] = {{"0.5", 0.5, "0.5"},   {".5", 0.5, ".5"},      {"1e3", 1000.0, "1e3"},
                          {"1E2", 100.0, "1E2"}, {"1.2.3", 1.2, "1.2.3"}, {"1e", 1.0, "1e"},
                          {"007", 7.0, "007"},   {"1.", 1.0, "1."}};
    for (const Case &c : cases) {
        CPInputChar input(c.source);
        CLexicalAnalyzer lexer(&input);
        EXPECT_EQ(lexer.Token(), tokNumber) << c.source;
        EXPECT_DOUBLE_EQ(lexer.Number(), c.value) << c.source;
        EXPECT_STREQ(lexer.Text(), c.text) << c.source;
        EXPECT_EQ(lexer.Next(), tokEnd) << c.source;
    }
}

// Plain decimals (digits and one point) take a shorter way than other
// numbers; both must give the very bits of the full reading, also for
// fractions that no double holds exactly, many digits, and long runs that the
// text keeps only the start of.
TEST(Lexer, EveryNumberHasTheBitsOfTheFullReading) {
    std::vector<std::string> numbers = {"0.1", "0.3", "0.7", "2.675", "1.005", "123456789012345",
                                        "1234567890123456", "0.000000000000001", "9007199254740993",
                                        "99999999999999.9", ".123456789012345", "5.", "0.9999999999999999",
                                        "3.14159265358979", "1.7976931348623157e308", "4.9e330",
                                        std::string(300, '1'), "0." + std::string(300, '3')};
    std::mt19937 random(13);
    for (int i = 0; i < 2000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string number;
        for (int d = 0; d < digits; ++d) number += static_cast<char>('0' + random() % 10);
        number.insert(random() % (number.size() + 1), ".");
        numbers.push_back(number);
    }
    for (const std::string &number : numbers) {
        CPInputChar input(number.c_str());
        CLexicalAnalyzer lexer(&input);
        ASSERT_EQ(lexer.Token(), tokNumber) << number;
        const double expected = ReadReal(number, kSourceNumber).value();
        EXPECT_EQ(std::bit_cast<uint64_t>(lexer.Number()), std::bit_cast<uint64_t>(expected)) << number;
        EXPECT_EQ(lexer.Next(), tokEnd) << number;
    }
}

TEST(Lexer, NumbersStopAtOtherCharactersAndHaveNoSign) {
    EXPECT_EQ(LexAll("12abc"), (std::vector<Lexeme>{{tokNumber, "12"}, {tokName, "abc"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("1e-5"), (std::vector<Lexeme>{{tokNumber, "1e"}, {tokName, "-5"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("-0.5"), (std::vector<Lexeme>{{tokName, "-0.5"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("0.1,0.9)"),
              (std::vector<Lexeme>{{tokNumber, "0.1"}, {tokComma, ""}, {tokNumber, "0.9"}, {tokRightParen, ""},
                                   {tokEnd, ""}}));
}

TEST(Lexer, ALonePointKeepsTheLastNumber) {
    CPInputChar first(". 0.25 . .e5");
    CLexicalAnalyzer lexer(&first);
    EXPECT_EQ(lexer.Token(), tokNumber);
    EXPECT_EQ(lexer.Number(), 0.0);  // before any number
    EXPECT_EQ(lexer.Next(), tokNumber);
    EXPECT_EQ(lexer.Number(), 0.25);
    EXPECT_EQ(lexer.Next(), tokNumber);
    EXPECT_STREQ(lexer.Text(), ".");
    EXPECT_EQ(lexer.Number(), 0.25);
    EXPECT_EQ(lexer.Next(), tokNumber);
    EXPECT_EQ(lexer.Number(), 0.25);
}

TEST(Lexer, HugeExponentsOverflowInsteadOfKeepingAnOldValue) {
    CPInputChar input("0.5 1e999 0.");
    CLexicalAnalyzer lexer(&input);
    lexer.Next();
    EXPECT_GT(lexer.Number(), 1e308);
    lexer.Next();
    EXPECT_EQ(lexer.Number(), 0.0);
}

TEST(Lexer, CharactersBetweenTokensBelongToNeither) {
    EXPECT_EQ(LexAll("a,b"), (std::vector<Lexeme>{{tokName, "a"}, {tokComma, ""}, {tokName, "b"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("f(x){y}z/"),
              (std::vector<Lexeme>{{tokName, "f"},
                                   {tokLeftParen, ""},
                                   {tokName, "x"},
                                   {tokRightParen, ""},
                                   {tokLeftBrace, ""},
                                   {tokName, "y"},
                                   {tokRightBrace, ""},
                                   {tokName, "z"},
                                   {tokError, ""},
                                   {tokEnd, ""}}));
}

TEST(Lexer, BareNamesHoldPathsQuotesAndSigns) {
    EXPECT_EQ(LexAll("c:\\data\\kb.txt a\"b it's x-1.5 _under"),
              (std::vector<Lexeme>{{tokName, "c:\\data\\kb.txt"},
                                   {tokName, "a\"b"},
                                   {tokName, "it's"},
                                   {tokName, "x-1.5"},
                                   {tokName, "_under"},
                                   {tokEnd, ""}}));
    // A slash ends a bare name, so Unix paths need double quotes.
    EXPECT_EQ(KindsOf("a/b"), (Kinds{tokName, tokError, tokName, tokEnd}));
    EXPECT_EQ(LexAll("\"/tmp/kb 1.txt\""), (std::vector<Lexeme>{{tokName, "/tmp/kb 1.txt"}, {tokEnd, ""}}));
}

TEST(Lexer, QuotedNamesAllowPunctuationButNoControlCharacters) {
    EXPECT_EQ(LexAll("\"a (b), {c} // d\" \"\""),
              (std::vector<Lexeme>{{tokName, "a (b), {c} // d"}, {tokName, ""}, {tokEnd, ""}}));
    // The offending character is left unread: here the tab, then a bare name.
    EXPECT_EQ(LexAll("\"tab\there\""), (std::vector<Lexeme>{{tokError, ""}, {tokName, "here\""}, {tokEnd, ""}}));
    EXPECT_EQ(KindsOf("\"never closed"), (Kinds{tokError, tokEnd}));
}

TEST(Lexer, QuotedNameBrokenByALineEndLeavesTheLineEndToCount) {
    CPInputChar input("\"broken\nname");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokError);
    EXPECT_EQ(lexer.Line(), 1);
    EXPECT_EQ(input.Pos(), 7);  // the line end is still unread
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_STREQ(lexer.Text(), "name");
    EXPECT_EQ(lexer.Line(), 2);
}

TEST(Lexer, TextsSpanLinesAndCountThem) {
    CPInputChar input("'first\nsecond\n\nfourth' after\n'unterminated\n");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokText);
    EXPECT_STREQ(lexer.Text(), "first\nsecond\n\nfourth");
    EXPECT_EQ(lexer.Line(), 4);
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_EQ(lexer.Next(), tokError);
    EXPECT_EQ(lexer.Line(), 6);
    EXPECT_EQ(lexer.Next(), tokEnd);
}

TEST(Lexer, TextsKeepQuotesOfTheOtherKindAndAnyByte) {
    EXPECT_EQ(LexAll("'say \"yes\", (or) {no} /* not a comment */' ''"),
              (std::vector<Lexeme>{{tokText, "say \"yes\", (or) {no} /* not a comment */"},
                                   {tokText, ""},
                                   {tokEnd, ""}}));
    EXPECT_EQ(LexAll("'\tgr\xc3\xbc\xc3\x9f'"), (std::vector<Lexeme>{{tokText, "\tgr\xc3\xbc\xc3\x9f"}, {tokEnd, ""}}));
}

TEST(Lexer, CrLfLineEndsReadAsLineFeeds) {
    std::vector<Lexeme> withCrLf = LexAll("nodes\r\n{ 'a\r\nb' \"c\" // note\r\n}\r\n");
    std::vector<Lexeme> withLf = LexAll("nodes\n{ 'a\nb' \"c\" // note\n}\n");
    EXPECT_EQ(withCrLf, withLf);
    EXPECT_EQ(withCrLf[2], (Lexeme{tokText, "a\nb"}));
    // A CR that does not precede a line feed stays in a text.
    EXPECT_EQ(LexAll("'a\rb\r'"), (std::vector<Lexeme>{{tokText, "a\rb\r"}, {tokEnd, ""}}));

    CPInputChar input("'x\r\ny'\r\nz");
    CLexicalAnalyzer lexer(&input);
    lexer.Next();
    EXPECT_EQ(lexer.Line(), 3);
}

TEST(Lexer, LineNumbersCountEveryLineEndSkipped) {
    CPInputChar input("// one\n/* two\nthree */\n\n  a\n");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokName);
    EXPECT_EQ(lexer.Line(), 5);
    EXPECT_EQ(lexer.Next(), tokEnd);
    EXPECT_EQ(lexer.Line(), 6);
}

TEST(Lexer, TheReadPositionEndsJustAfterTheCurrentToken) {
    CPInputChar input("nodes { x");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(input.Pos(), 5);
    lexer.Next();
    EXPECT_EQ(input.Pos(), 7);
    lexer.Next();
    EXPECT_EQ(input.Pos(), 9);
    EXPECT_EQ(lexer.Next(), tokEnd);
    EXPECT_LE(input.Pos(), 10);
}

TEST(Lexer, ByteFFEndsTheSourceForGood) {
    CPInputChar input("a \xff b");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokName);
    EXPECT_EQ(lexer.Next(), tokEnd);
    EXPECT_EQ(lexer.Next(), tokEnd);
    EXPECT_EQ(lexer.Next(), tokEnd);

    EXPECT_EQ(LexAll("abc\xff" "def"), (std::vector<Lexeme>{{tokName, "abc"}, {tokEnd, ""}}));
    EXPECT_EQ(KindsOf("\"ab\xff" "c\""), (Kinds{tokError, tokEnd}));
    EXPECT_EQ(KindsOf("'ab\xff" "c'"), (Kinds{tokError, tokEnd}));
    EXPECT_EQ(KindsOf("/* \xff */ x"), (Kinds{tokError, tokEnd}));
    EXPECT_EQ(KindsOf("// \xff\n x"), (Kinds{tokEnd}));
}

TEST(Lexer, HighBytesBelongToNames) {
    EXPECT_EQ(LexAll("gr\xc3\xb6\xc3\x9f" "e \"Gr\xc3\xb6\xc3\x9f" "e Zahl\" \x80\xfe"),
              (std::vector<Lexeme>{{tokName, "gr\xc3\xb6\xc3\x9f" "e"},
                                   {tokName, "Gr\xc3\xb6\xc3\x9f" "e Zahl"},
                                   {tokName, "\x80\xfe"},
                                   {tokEnd, ""}}));
}

TEST(Lexer, AByteOrderMarkIsSkippedOnlyAtTheVeryStart) {
    EXPECT_EQ(LexAll("\xef\xbb\xbfnodes"), (std::vector<Lexeme>{{tokNodes, ""}, {tokEnd, ""}}));
    EXPECT_EQ(KindsOf("\xef\xbb\xbf"), (Kinds{tokEnd}));
    EXPECT_EQ(LexAll(" \xef\xbb\xbfx"), (std::vector<Lexeme>{{tokName, "\xef\xbb\xbfx"}, {tokEnd, ""}}));
    // Not a whole mark: every byte is read again as part of the name.
    EXPECT_EQ(LexAll("\xef\xbbx"), (std::vector<Lexeme>{{tokName, "\xef\xbbx"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("\xef"), (std::vector<Lexeme>{{tokName, "\xef"}, {tokEnd, ""}}));
}

TEST(Lexer, LongTokensKeepTheirFirst255Characters) {
    const std::string longWord(300, 'w');
    const std::string kept(255, 'w');
    EXPECT_EQ(LexAll(longWord + " next"), (std::vector<Lexeme>{{tokName, kept}, {tokName, "next"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("\"" + longWord + "\" next"),
              (std::vector<Lexeme>{{tokName, kept}, {tokName, "next"}, {tokEnd, ""}}));
    EXPECT_EQ(LexAll("'" + longWord + "' next"),
              (std::vector<Lexeme>{{tokText, kept}, {tokName, "next"}, {tokEnd, ""}}));
    // A 256-character word is not a keyword even if its first 255 were one.
    EXPECT_EQ(LexAll(std::string(255, 'a')), (std::vector<Lexeme>{{tokName, std::string(255, 'a')}, {tokEnd, ""}}));

    // A long number keeps 255 characters of text but its whole value.
    CPInputChar input(("1" + std::string(299, '0') + " x").c_str());
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokNumber);
    EXPECT_EQ(std::string(lexer.Text()).size(), 255u);
    EXPECT_DOUBLE_EQ(lexer.Number(), 1e299);
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_STREQ(lexer.Text(), "x");
}

TEST(Lexer, WithoutInputEverythingIsEnd) {
    CLexicalAnalyzer lexer(nullptr);
    EXPECT_EQ(lexer.Token(), tokEnd);
    EXPECT_EQ(lexer.Next(), tokEnd);
    EXPECT_EQ(lexer.Line(), 1);
    RecordingOutput out;
    lexer.CopyRawLines('}', &out, 2048);
    EXPECT_TRUE(out.lines.empty());
}

TEST(Lexer, ZeroBytesSeparateTokens) {
    EXPECT_EQ(LexAll(std::string("a\0b", 3)), (std::vector<Lexeme>{{tokName, "a"}, {tokName, "b"}, {tokEnd, ""}}));
}
