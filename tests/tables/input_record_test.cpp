#include "tables/input_record.h"

#include <gtest/gtest.h>


TEST(InputRecord, NumericTextsAreDigitsWithCommaPointMinusAndExponentOnly) {
    for (const char *text : {"0.8", "0,75", "-12.5e1", "1E3", "12", "1-2", ".5", "-0"})
        EXPECT_TRUE(IsNumericText(text)) << text;
    // Without a digit a text is no number: "-" must not read as 0.
    for (const char *text : {"", "+1", " 1", "1 ", "12 kg", "?", "0x10", "1.5f", "yes", "-", ".", ",", "e", "E", "--", "-.e"})
        EXPECT_FALSE(IsNumericText(text)) << text;
}

TEST(InputRecord, ConversionsReadACommaAsThePointAndTakeTheLeadingInteger) {
    EXPECT_DOUBLE_EQ(TextToReal("0,75"), 0.75);
    EXPECT_DOUBLE_EQ(TextToReal("-12.5e1"), -125.0);
    EXPECT_DOUBLE_EQ(TextToReal("1,0"), 1.0);
    EXPECT_DOUBLE_EQ(TextToReal("e"), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal("1,5,3"), 1.5);
    EXPECT_EQ(TextToInt("2.7"), 2);
    EXPECT_EQ(TextToInt("-3"), -3);
    EXPECT_EQ(TextToInt("99999999999"), 2147483647);
    EXPECT_EQ(TextToInt("e"), 0);
    // The text itself is left as it was.
    CString text = "0,5";
    CString copy = text;
    EXPECT_DOUBLE_EQ(TextToReal(text), 0.5);
    EXPECT_STREQ(copy.Text(), "0,5");
    EXPECT_STREQ(text.Text(), "0,5");
}

TEST(InputRecord, FieldsAreFoundByNameAndEmptyTextsAreFieldsToo) {
    CInputRecord holder;
    EXPECT_FALSE(holder.HasField("Fever"));
    EXPECT_STREQ(holder.FieldText("Fever").Text(), "");
    EXPECT_FALSE(holder.InsertField("Fever", "0.8"));  // no record yet
    holder.NewRecord();
    EXPECT_TRUE(holder.InsertField("Fever", "0.8"));
    EXPECT_FALSE(holder.InsertField("Fever", "0.1"));
    EXPECT_FALSE(holder.InsertField("", "0.1"));
    EXPECT_FALSE(holder.HasField("Note"));
    EXPECT_TRUE(holder.InsertField("Note", ""));
    EXPECT_TRUE(holder.HasField("Note"));
    EXPECT_TRUE(holder.HasField("Fever"));
    EXPECT_FALSE(holder.HasField("Cough"));
    EXPECT_STREQ(holder.FieldText("Fever").Text(), "0.8");
    holder.NewRecord();
    EXPECT_FALSE(holder.HasField("Note"));
    EXPECT_FALSE(holder.HasField("Fever"));
    holder.ClearRecord();
    EXPECT_EQ(holder.record, nullptr);
}
