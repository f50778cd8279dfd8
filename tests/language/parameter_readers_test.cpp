// The parameter readers of the translators and of the choice retrievers,
// driven over texts through the compiler's token interface.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "retrieval/choice_abstract.h"
#include "retrieval/choice_translator.h"
#include "retrieval/default_retrievers.h"
#include "retrieval/registry_rows.h"
#include "retrieval/value_translators.h"
#include "tests/language/token_source.h"

using retrieval_test::TokenSource;

namespace {

// The outcome of one reader run: its status, the record it made, and the
// kind and text of the token it left current.
struct Reading {
    int32_t status = -1;
    std::unique_ptr<CParamRecord> record;
    TToken left = tokError;
    std::string leftText;
};

// Runs `reader` over `text` and keeps what it left behind.
template <typename Reader>
Reading ReadWith(const std::string &text, Reader reader) {
    TokenSource source(text);
    CParamRecord *data = nullptr;
    Reading reading;
    reading.status = reader(&source, data);
    reading.record.reset(data);
    reading.left = source.Token();
    reading.leftText = source.Text();
    return reading;
}

// Runs a translator's reader on `clause`, the text after "translator (".
Reading ReadTranslator(CDataTranslator &translator, const std::string &clause) {
    return ReadWith(clause, [&](ITokenReader *source, CParamRecord *&data) { return translator.ReadParameters(source, data); });
}

std::vector<float> Points(const Reading &reading) {
    auto *table = dynamic_cast<CDTValueTable *>(reading.record.get());
    return table ? table->points : std::vector<float>{};
}

std::vector<float> Probabilities(const Reading &reading) {
    if (auto *table = dynamic_cast<CDTValueTable *>(reading.record.get())) return table->probabilities;
    if (auto *table = dynamic_cast<CDTChoiceTable *>(reading.record.get())) return table->probabilities;
    return {};
}

// Runs a choice retriever's reader with the retriever's name current:
// `clause` starts with that name.
Reading ReadOptions(const std::string &clause) {
    CDRDefault reader(*FindRetrieverRow("dnchoice"));
    return ReadWith(clause, [&](ITokenReader *source, CParamRecord *&data) { return reader.ReadParameters(source, data); });
}

std::vector<std::string> Options(const Reading &reading) {
    std::vector<std::string> texts;
    if (auto *list = dynamic_cast<CChoiceList *>(reading.record.get()))
        for (int32_t i = 0; i < list->count; ++i) texts.emplace_back(list->options.At(i).Text());
    return texts;
}

std::string ManyOptions(int count) {
    std::string clause = "winchoice (";
    for (int i = 0; i < count; ++i) clause += "o" + std::to_string(i) + ", ";
    return clause + ")";
}

}  // namespace

TEST(ParameterReaders, PointTableIsReadUpToTheClausesParenthesis) {
    CDTValue value;
    Reading with = ReadTranslator(value, "(0, 10, 20) (0.1, 0.5, 0.9))");
    ASSERT_EQ(with.status, 0);
    EXPECT_EQ(Points(with), (std::vector<float>{0, 10, 20}));
    EXPECT_EQ(Probabilities(with), (std::vector<float>{0.1f, 0.5f, 0.9f}));
    EXPECT_EQ(dynamic_cast<CDTValueTable &>(*with.record).count, 3);
    // The token after the second list is current, for the compiler to test.
    EXPECT_EQ(with.left, tokRightParen);

    // Commas are optional, and one trailing comma is accepted.
    Reading without = ReadTranslator(value, "(1 2 3) (0.2 0.4 0.6))");
    ASSERT_EQ(without.status, 0);
    EXPECT_EQ(Points(without), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(ReadTranslator(value, "(1, 2,) (0, 1,))").status, 0);

    // A probability is tested after rounding to a 32-bit real.
    EXPECT_EQ(ReadTranslator(value, "(1, 2) (0, 1.00000001))").status, 0);
    EXPECT_EQ(ReadTranslator(value, "(1, 2) (0, 1.0001))").status, 2);
}

TEST(ParameterReaders, PointTableRejections) {
    CDTValue value;
    CDTValueEx valuex;
    const char *faulty[] = {
        "(1) (0.5))",             // fewer than 2 points
        "(1, 2) (0.5, 1.5))",     // a probability above 1
        "(1, 2, 3) (0.5, 0.6))",  // one probability too few
        "(1, 2) (0.5, 0.6, 0.7))",
        "(1, 2), (0.5, 0.6))",    // a comma between the lists
        "(1,, 2) (0.5, 0.6))",    // two commas in a row
        "(, 1, 2) (0.5, 0.6))",
        "(1, x) (0.5, 0.6))",     // a name in the list
        "1, 2) (0.5, 0.6))",      // no opening parenthesis
        "(1, 2) 0.5, 0.6)",
        "(1, 2) (0.5, 0.6",       // the source ends inside a list
        "(1, 2",
        "(1, 1e39) (0.5, 0.6))",  // a point too large for a 32-bit real
        ")",                      // an empty clause
    };
    for (const char *clause : faulty) {
        Reading reading = ReadTranslator(value, clause);
        EXPECT_EQ(reading.status, 2) << clause;
        EXPECT_EQ(reading.record, nullptr) << clause;
        EXPECT_EQ(ReadTranslator(valuex, clause).status, 2) << clause;
    }
}

TEST(ParameterReaders, IntervalTableHasOneProbabilityFewer) {
    CDTInterval interval;
    Reading reading = ReadTranslator(interval, "(1, 2, 3) (0.5, 0.6))");
    ASSERT_EQ(reading.status, 0);
    EXPECT_EQ(Points(reading), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(Probabilities(reading), (std::vector<float>{0.5f, 0.6f}));
    EXPECT_EQ(reading.left, tokRightParen);

    EXPECT_EQ(ReadTranslator(interval, "(1, 2, 3) (0.5, 0.6, 0.7))").status, 2);
    EXPECT_EQ(ReadTranslator(interval, "(1) ())").status, 2);
    EXPECT_EQ(ReadTranslator(interval, "(1, 2) (2))").status, 2);
}

TEST(ParameterReaders, ChoiceProbabilitiesRunToTheClausesParenthesis) {
    CDTChoice choice;
    Reading reading = ReadTranslator(choice, "0.7, 0.2, 0.1) next");
    ASSERT_EQ(reading.status, 0);
    EXPECT_EQ(Probabilities(reading), (std::vector<float>{0.7f, 0.2f, 0.1f}));
    EXPECT_EQ(dynamic_cast<CDTChoiceTable &>(*reading.record).count, 3);
    // Left on the clause's own ")", which the compiler steps over.
    EXPECT_EQ(reading.left, tokRightParen);

    // No range test; one number is enough; commas optional.
    EXPECT_EQ(Probabilities(ReadTranslator(choice, "2.5)")), (std::vector<float>{2.5f}));
    EXPECT_EQ(Probabilities(ReadTranslator(choice, "0.1 0.9,)")), (std::vector<float>{0.1f, 0.9f}));

    for (const char *clause : {")", "(0.5))", "0.5,, 0.5)", "0.5 x)", "0.5"})
        EXPECT_EQ(ReadTranslator(choice, clause).status, 2) << clause;
}

TEST(ParameterReaders, ChoiceOptions) {
    Reading reading = ReadOptions("winchoice (red, green, 'light blue', \"dark red\") next");
    ASSERT_EQ(reading.status, 0);
    EXPECT_EQ(Options(reading), (std::vector<std::string>{"red", "green", "light blue", "dark red"}));
    EXPECT_EQ(reading.left, tokRightParen);

    // Commas optional, one trailing comma accepted.
    EXPECT_EQ(Options(ReadOptions("winchoice (a b,)")), (std::vector<std::string>{"a", "b"}));

    const char *faulty[] = {
        "winchoice ()",          // no option
        "winchoice red, green)", // no opening parenthesis
        "winchoice (red,, green)",
        "winchoice (red, 2)",    // a number is no option
        "winchoice (red, (green))",
        "winchoice (red, green", // the source ends inside the list
        "winchoice",
    };
    for (const char *clause : faulty) {
        Reading failed = ReadOptions(clause);
        EXPECT_EQ(failed.status, 2) << clause;
        EXPECT_EQ(failed.record, nullptr) << clause;
    }
}

TEST(ParameterReaders, ChoiceOptionLimit) {
    Reading full = ReadOptions(ManyOptions(255));
    ASSERT_EQ(full.status, 0);
    std::vector<std::string> options = Options(full);
    ASSERT_EQ(options.size(), 255u);
    EXPECT_EQ(options.front(), "o0");
    EXPECT_EQ(options.back(), "o254");

    // A 256th option fails the list.
    EXPECT_EQ(ReadOptions(ManyOptions(256)).status, 2);
}
