// The rows of the table formats: every kind a row names is found by its
// name and made under it.
#include "tables/table_formats.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tables/batch_iterator.h"
#include "tables/in_database.h"
#include "tables/out_database.h"

namespace {

std::string NameOf(CInDatabase &table) {
    CString name;
    table.GetName(name);
    return name.Text();
}

std::string NameOf(COutDatabase &table) {
    CString name;
    table.GetName(name);
    return name.Text();
}

}  // namespace

TEST(TableFormats, EveryKindIsFoundByItsNameAndMadeUnderIt) {
    CTableEnvironment environment;
    int32_t batchIterators = 0;
    for (const CTableFormat &format : kTableFormats) {
        EXPECT_EQ(FindTableFormat(format.input), &format);
        EXPECT_EQ(FindTableFormat(format.output), &format);
        std::unique_ptr<CInDatabase> input(NewInDatabase(format, environment));
        std::unique_ptr<COutDatabase> output(NewOutDatabase(format, environment));
        EXPECT_EQ(NameOf(*input), format.input);
        EXPECT_EQ(NameOf(*output), format.output);
        std::unique_ptr<CBatchIterator> batch(NewBatchIterator(format, environment));
        if (*format.batch == '\0') {
            EXPECT_EQ(batch, nullptr) << format.input;
            continue;
        }
        ++batchIterators;
        EXPECT_EQ(FindTableFormat(format.batch), &format);
        ASSERT_NE(batch, nullptr) << format.batch;
        EXPECT_STREQ(batch->SourceKind(), format.input);
    }
    EXPECT_EQ(batchIterators, 3);
    // The formats without a batch iterator do not answer to the empty name.
    EXPECT_EQ(FindTableFormat(""), nullptr);
    EXPECT_EQ(FindTableFormat("idbtxt"), nullptr);
}
