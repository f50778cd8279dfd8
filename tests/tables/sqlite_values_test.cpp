#include "tables/sqlite_values.h"

#include <gtest/gtest.h>

TEST(SqliteValues, DeclaredTypesGiveSqlitesAffinities) {
    EXPECT_EQ(AffinityOfType("INTEGER"), CSqliteAffinity::Integer);
    EXPECT_EQ(AffinityOfType("bigint"), CSqliteAffinity::Integer);
    EXPECT_EQ(AffinityOfType("VARCHAR(20)"), CSqliteAffinity::Text);
    EXPECT_EQ(AffinityOfType("clob"), CSqliteAffinity::Text);
    EXPECT_EQ(AffinityOfType(""), CSqliteAffinity::Blob);
    EXPECT_EQ(AffinityOfType("BLOB"), CSqliteAffinity::Blob);
    EXPECT_EQ(AffinityOfType("double precision"), CSqliteAffinity::Real);
    EXPECT_EQ(AffinityOfType("Float"), CSqliteAffinity::Real);
    EXPECT_EQ(AffinityOfType("DECIMAL(10,5)"), CSqliteAffinity::Numeric);
    EXPECT_EQ(AffinityOfType("FLOATING POINT"), CSqliteAffinity::Integer);  // "INT" comes first
}

TEST(SqliteValues, EngineNumbersTakeADecimalCommaOrPointAndNothingElse) {
    double number = -1;
    EXPECT_TRUE(ParseEngineNumber("0,500000", number));
    EXPECT_DOUBLE_EQ(number, 0.5);
    EXPECT_TRUE(ParseEngineNumber(" -1.25e3 ", number));
    EXPECT_DOUBLE_EQ(number, -1250);
    EXPECT_TRUE(ParseEngineNumber("+7", number));
    EXPECT_DOUBLE_EQ(number, 7);
    for (const char *text : {"", " ", "?", "1,000,5", "0x10", "inf", "nan", "1e999", "12 kg", "p17", "1e"})
        EXPECT_FALSE(ParseEngineNumber(text, number)) << text;
}

TEST(SqliteValues, FieldsStoreWhatTheirAffinityAsksFor) {
    CSqliteValue value = ValueForField(CSqliteAffinity::Real, "1,000000");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Real);
    EXPECT_DOUBLE_EQ(value.real, 1.0);
    value = ValueForField(CSqliteAffinity::Integer, "2,000000");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Integer);
    EXPECT_EQ(value.integer, 2);
    value = ValueForField(CSqliteAffinity::Integer, "0,734000");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Real);
    EXPECT_DOUBLE_EQ(value.real, 0.734);
    value = ValueForField(CSqliteAffinity::Numeric, "?");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Null);
    value = ValueForField(CSqliteAffinity::Numeric, "p17");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Text);
    EXPECT_EQ(value.text, "p17");
    value = ValueForField(CSqliteAffinity::Text, "0,500000");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Text);
    EXPECT_EQ(value.text, "0,500000");
    value = ValueForField(CSqliteAffinity::Blob, "?");
    EXPECT_EQ(value.kind, CSqliteValue::Kind::Text);
    EXPECT_EQ(value.text, "?");
}
