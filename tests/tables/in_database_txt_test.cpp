#include "tables/in_database_txt.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "net/params.h"
#include "table_test_support.h"
#include "tables/table_formats.h"

namespace {

class NameValueInputTest : public ::testing::Test {
protected:
    NameValueInputTest() { environment.baseDirectory = dir.Dir().c_str(); }

    // Opens a table of the kind over a file with the given bytes; the
    // record as "name=value;" pairs in insertion order of the file.
    std::string Read(const char *kindName, const std::string &bytes) {
        dir.Write("input.txt", bytes);
        CInDatabaseTxt table(*FindTableFormat(kindName), environment);
        CString kind;
        table.GetName(kind);
        CParameters params;
        params.SetParam(kind, "input.txt");
        EXPECT_EQ(table.Open(&params), 0);
        EXPECT_TRUE(table.active);
        return Describe(table);
    }

    static std::string Describe(CInputRecord &table) {
        std::string pairs;
        if (table.record == nullptr) return "no record";
        for (int32_t slot = 0; slot < table.record->Size(); ++slot) {
            if (table.record->KeyAt(slot).IsEmpty()) continue;
            pairs += std::string("[") + table.record->KeyAt(slot).Text() + "=" + table.record->ValueAt(slot).Text() + "]";
        }
        return pairs;
    }

    CScratchDir dir;
    CTableEnvironment environment;
};

TEST_F(NameValueInputTest, PairsAreReadUpToTheLastLineWithOrWithoutANewline) {
    CInDatabaseTxt table(*FindTableFormat("idbtxttab"), environment);
    dir.Write("input.txt", "Fever\t0.8\nCough\tn");
    CParameters params;
    params.SetParam("idbtxttab", "input.txt");
    EXPECT_EQ(table.Open(&params), 0);
    EXPECT_TRUE(table.active);
    EXPECT_STREQ(table.FieldText("Fever").Text(), "0.8");
    EXPECT_STREQ(table.FieldText("Cough").Text(), "n");
    EXPECT_TRUE(table.HasField("Cough"));
    EXPECT_FALSE(table.HasField("cough"));
    EXPECT_EQ(table.record->Count(), 2);

    dir.Write("input.txt", "Fever\t0.8\nCough\tn\n");
    EXPECT_EQ(table.Open(&params), 0);
    EXPECT_STREQ(table.FieldText("Cough").Text(), "n");
    EXPECT_EQ(table.record->Count(), 2);
}

TEST_F(NameValueInputTest, EmptyNamesAndValuesAreSkippedAndTheFirstPairOfANameWins) {
    CInDatabaseTxt table(*FindTableFormat("idbtxttab"), environment);
    dir.Write("input.txt", "Fever\t\nFever\t0.8\nFever\t0.1\n\tlost\n");
    CParameters params;
    params.SetParam("idbtxttab", "input.txt");
    ASSERT_EQ(table.Open(&params), 0);
    EXPECT_STREQ(table.FieldText("Fever").Text(), "0.8");
    EXPECT_EQ(table.record->Count(), 1);
}

TEST_F(NameValueInputTest, TextsAreTakenAsWrittenAndANameMaySpanLines) {
    EXPECT_EQ(Read("idbtxttab", " Fever \t 0.8 \n"), "[ Fever = 0.8 ]");
    // A line without a separator becomes the start of the next name.
    EXPECT_EQ(Read("idbtxttab", "Cough\nFlu\t0.3\n"), "[Cough\nFlu=0.3]");
    // The value runs to the end of the line, separators included.
    EXPECT_EQ(Read("idbtxttab", "a\tb\tc\n"), "[a=b\tc]");
    EXPECT_EQ(Read("idbtxtcomma", "a,b,c\n"), "[a=b,c]");
    EXPECT_EQ(Read("idbtxttab", "a,b\tc\n"), "[a,b=c]");
    EXPECT_EQ(Read("idbtxtcomma", ",lost\nx,1"), "[x=1]");
    EXPECT_EQ(Read("idbtxttab", ""), "");
    EXPECT_EQ(Read("idbtxttab", "name only"), "");
}

TEST_F(NameValueInputTest, CrLfReadsAsLfAndALoneCrIsKept) {
    std::string plain = Read("idbtxttab", "Fever\t0.8\nCough\tn\n");
    EXPECT_EQ(Read("idbtxttab", "Fever\t0.8\r\nCough\tn\r\n"), plain);
    EXPECT_NE(plain.find("[Fever=0.8]"), std::string::npos);
    CInDatabaseTxt table(*FindTableFormat("idbtxtcomma"), environment);
    dir.Write("input.txt", "Fever,0.8\r\nNote,a\rb\r\n");
    CParameters params;
    params.SetParam("idbtxtcomma", "input.txt");
    ASSERT_EQ(table.Open(&params), 0);
    EXPECT_STREQ(table.FieldText("Fever").Text(), "0.8");
    EXPECT_STREQ(table.FieldText("Note").Text(), "a\rb");
}

TEST_F(NameValueInputTest, OverlongNamesAndValuesKeepTheir254FirstCharacters) {
    std::string longName(300, 'n'), longValue(400, 'v');
    CInDatabaseTxt table(*FindTableFormat("idbtxttab"), environment);
    dir.Write("input.txt", longName + "\t" + longValue + "\nnext\t1\n" + std::string(254, 'm') + "\t2\n");
    CParameters params;
    params.SetParam("idbtxttab", "input.txt");
    ASSERT_EQ(table.Open(&params), 0);
    EXPECT_STREQ(table.FieldText(std::string(254, 'n').c_str()).Text(), std::string(254, 'v').c_str());
    EXPECT_FALSE(table.HasField(longName.c_str()));
    EXPECT_STREQ(table.FieldText("next").Text(), "1");
    EXPECT_STREQ(table.FieldText(std::string(254, 'm').c_str()).Text(), "2");
    EXPECT_EQ(table.record->Count(), 3);
}

TEST_F(NameValueInputTest, AnAbsentParameterOrUnreadableFileLeavesTheTableInactive) {
    CInDatabaseTxt table(*FindTableFormat("idbtxttab"), environment);
    CParameters none;
    EXPECT_EQ(table.Open(&none), 0);
    EXPECT_FALSE(table.active);
    EXPECT_FALSE(table.HasField("Fever"));

    dir.Write("input.txt", "Fever\t0.8\n");
    CParameters params;
    params.SetParam("idbtxttab", "input.txt");
    ASSERT_EQ(table.Open(&params), 0);
    ASSERT_TRUE(table.active);
    CParameters missing;
    missing.SetParam("idbtxttab", "missing.txt");
    EXPECT_EQ(table.Open(&missing), 2);
    EXPECT_FALSE(table.active);
    EXPECT_FALSE(table.HasField("Fever"));
    CParameters directory;
    directory.SetParam("idbtxttab", ".");
    EXPECT_EQ(table.Open(&directory), 2);
    EXPECT_FALSE(table.active);
    // A named pipe would wait for a writer forever: it is refused at once.
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    CParameters pipe;
    pipe.SetParam("idbtxttab", "pipe");
    EXPECT_EQ(table.Open(&pipe), 2);
    EXPECT_FALSE(table.active);
    // The comma kind answers to its own parameter only.
    CInDatabaseTxt comma(*FindTableFormat("idbtxtcomma"), environment);
    EXPECT_EQ(comma.Open(&params), 0);
    EXPECT_FALSE(comma.active);
    // An absolute path is used as it is.
    CParameters absolute;
    absolute.SetParam("idbtxttab", dir.Path("input.txt").c_str());
    CTableEnvironment elsewhere;
    elsewhere.baseDirectory = "/nonexistent";
    CInDatabaseTxt other(*FindTableFormat("idbtxttab"), elsewhere);
    EXPECT_EQ(other.Open(&absolute), 0);
    EXPECT_STREQ(other.FieldText("Fever").Text(), "0.8");
}

}  // namespace
