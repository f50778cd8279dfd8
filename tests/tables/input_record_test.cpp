#include "tables/input_record.h"

#include <gtest/gtest.h>

#include <vector>


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

// A batch loads rows of the same columns case after case; the record must
// read exactly as if every field had been entered by name.
TEST(InputRecord, RowsLoadedByColumnReadAsFieldsEnteredByName) {
    CInputRecord holder;
    // Lookups are kept per name string, as a node's name lasts: the same
    // strings are asked every time.
    const CString cough("cough"), capitalCough("Cough"), id("Id"), fever("Fever"), note("Note");
    const std::vector<CString> names = {"id", "Fever", "", "Fever", "COUGH", "note"};
    std::vector<CString> texts = {"p1", "0.8", "x", "0.1", "yes", ""};
    holder.LoadRow(names.data(), texts.data(), names.size());
    EXPECT_EQ(holder.record->Count(), 4);  // the empty name and the repeated one are not entered
    EXPECT_STREQ(holder.FieldText("Fever").Text(), "0.8");
    EXPECT_TRUE(holder.HasField("note"));
    CString text;
    ASSERT_TRUE(holder.FindAnyCase(cough, text));  // the upper-case spelling
    EXPECT_STREQ(text.Text(), "yes");

    // The same columns again: only the texts change, and a kept lookup
    // reads the new text.
    texts = {"p2", "0.3", "y", "0.9", "no", "n"};
    holder.LoadRow(names.data(), texts.data(), names.size());
    EXPECT_EQ(holder.record->Count(), 4);
    EXPECT_STREQ(holder.FieldText("Fever").Text(), "0.3");
    EXPECT_STREQ(holder.FieldText("id").Text(), "p2");
    ASSERT_TRUE(holder.FindAnyCase(cough, text));
    EXPECT_STREQ(text.Text(), "no");
    // An empty text is a field; once no text is empty, the empty count is
    // right again.
    EXPECT_TRUE(holder.HasField("note"));
    EXPECT_FALSE(holder.HasField("x"));

    // Other columns (equal names in other strings, in another order, one
    // short): the record is that of the new row, and a kept lookup follows.
    const std::vector<CString> reordered = {"COUGH", "cough", "id"};
    const std::vector<CString> others = {"a", "b", "p3"};
    holder.LoadRow(reordered.data(), others.data(), reordered.size());
    EXPECT_EQ(holder.record->Count(), 3);
    EXPECT_FALSE(holder.HasField("Fever"));
    ASSERT_TRUE(holder.FindAnyCase(cough, text));  // now the name as written
    EXPECT_STREQ(text.Text(), "b");
    ASSERT_TRUE(holder.FindAnyCase(capitalCough, text));  // the upper case before the lower
    EXPECT_STREQ(text.Text(), "a");
    ASSERT_TRUE(holder.FindAnyCase(id, text));  // only the lower case is there
    EXPECT_STREQ(text.Text(), "p3");
    EXPECT_FALSE(holder.FindAnyCase(fever, text));
    holder.LoadRow(names.data(), texts.data(), 2);
    EXPECT_EQ(holder.record->Count(), 2);
    EXPECT_FALSE(holder.FindAnyCase(cough, text));
    ASSERT_TRUE(holder.FindAnyCase(fever, text));
    EXPECT_STREQ(text.Text(), "0.3");

    // A field entered by name after a row also moves the kept lookups on.
    EXPECT_FALSE(holder.FindAnyCase(note, text));
    ASSERT_TRUE(holder.InsertField("NOTE", "late"));
    ASSERT_TRUE(holder.FindAnyCase(note, text));
    EXPECT_STREQ(text.Text(), "late");
    holder.NewRecord();
    EXPECT_FALSE(holder.FindAnyCase(note, text));
}
