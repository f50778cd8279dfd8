// Rows of the relational text files read into reused buffers: the same
// fields as the string reader gives, and nothing left over from a longer
// row before.
#include "tables/rel_text_row.h"

#include <gtest/gtest.h>

#include <string>

#include "table_test_support.h"
#include "tables/text_file.h"

TEST(CRelRowBuffer, ReadsRowsAsTheStringReaderDoesAndReusesItsBuffers) {
    CScratchDir dir;
    const std::string text = std::string("alpha\tbeta\tgamma\r\n") + "one\t\tlost\n" + "x\n" + "\n" +
                             std::string("nu\0l\tz\n", 7) + std::string(300, 'w') + "\tlast";
    const std::string path = dir.Write("rows.tsv", text);
    CTextFile buffered;
    CTextFile strings;
    ASSERT_TRUE(buffered.Open(path));
    ASSERT_TRUE(strings.Open(path));
    CRelRowBuffer row;
    CStringVector expected;
    CStringVector copied;
    const auto readString = [](CTextFile &file, CString &field) { return ReadRelField(file, '\t', field); };
    int32_t rows = 0;
    do {
        ReadRelRow(buffered, '\t', row);
        ReadRelRow(strings, readString, expected);
        row.CopyInto(copied);
        ASSERT_EQ(copied.Count(), expected.Count()) << "row " << rows;
        for (int32_t i = 0; i < expected.Count(); ++i) EXPECT_TRUE(copied.At(i).Equals(expected.At(i)));
        ++rows;
    } while (expected.Count() > 0 || !strings.AtEnd());
    EXPECT_EQ(rows, 8);  // the empty field, the blank line and the end each give a row of their own
}

TEST(CRelRowBuffer, FieldsEndAtAZeroByteAndTheLimit) {
    CScratchDir dir;
    const std::string path = dir.Write("rows.tsv", std::string("nu\0l\t", 5) + std::string(300, 'w') + "\n");
    CTextFile file;
    ASSERT_TRUE(file.Open(path));
    CRelRowBuffer row;
    ReadRelRow(file, '\t', row);
    ASSERT_EQ(row.Count(), 2);
    EXPECT_STREQ(row.Text(0), "nu");
    EXPECT_EQ(std::string(row.Text(1)), std::string(kRelFieldLimit, 'w'));
    // A shorter row afterwards shows only its own fields.
    row.Clear();
    row.Add() = "solo";
    EXPECT_EQ(row.Count(), 1);
    EXPECT_STREQ(row.Text(0), "solo");
    row.Add();
    EXPECT_TRUE(row.IsEmpty(1));
}
