// Reading numbers typed into questions: the strict reading of the
// probability and value questions, the lenient one of the interval question.
#include <gtest/gtest.h>

#include "retrieval/number_text.h"

namespace {

struct Reading {
    bool ok;
    double number;
};

Reading Strict(const char *text) {
    double number = -99.0;
    bool ok = StrictReal(CString(text), number);
    return {ok, number};
}

Reading Leading(const char *text) {
    double number = -99.0;
    bool ok = LeadingReal(CString(text), number);
    return {ok, number};
}

}  // namespace

TEST(NumberText, StrictReadingTakesOnlyAWholeNumber) {
    const struct {
        const char *text;
        double number;
    } numbers[] = {{"0.5", 0.5},  {" 0.5\t", 0.5}, {"0,75", 0.75}, {"-12.5e1", -125}, {"+3", 3},
                   {".5", 0.5},   {"5.", 5},       {"1E-2", 0.01}, {"007", 7},        {"-0", 0}};
    for (const auto &row : numbers) {
        Reading reading = Strict(row.text);
        EXPECT_TRUE(reading.ok) << row.text;
        EXPECT_DOUBLE_EQ(reading.number, row.number) << row.text;
    }
    for (const char *text : {"", "  ", "abc", "12 kg", "1e", "1e+", "0x10", "inf", "nan", "-", ".", "1.2.3",
                             "1,5,0", "1 2", "1e39", "--1", "+-1", "٣"}) {
        Reading reading = Strict(text);
        EXPECT_FALSE(reading.ok) << text;
        EXPECT_EQ(reading.number, -99.0) << text;  // left alone
    }
}

TEST(NumberText, LenientReadingTakesTheLeadingNumber) {
    const struct {
        const char *text;
        double number;
    } numbers[] = {{"2x", 2}, {"  7 cm", 7}, {"1e", 1}, {"1.5.3", 1.5}, {"2,5 kg", 2.5}, {"-3e2x", -300}, {"4e+", 4}};
    for (const auto &row : numbers) {
        Reading reading = Leading(row.text);
        EXPECT_TRUE(reading.ok) << row.text;
        EXPECT_DOUBLE_EQ(reading.number, row.number) << row.text;
    }
    for (const char *text : {"", "   ", "x2", ". 5", "-x", "inf", "1e39"}) EXPECT_FALSE(Leading(text).ok) << text;
}
