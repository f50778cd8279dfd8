#include "tables/in_database_rel_txt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "net/params.h"
#include "table_test_support.h"
#include "tables/table_formats.h"

namespace {

class RelationalInputTest : public ::testing::Test {
protected:
    RelationalInputTest() {
        environment.baseDirectory = dir.Dir().c_str();
        params.SetParam("idbtxtreltab", "cases.txt");
        params.SetParam("dbheadername", "id");
    }

    // Opens the tab kind for `key` over a file with the given bytes; the
    // record's pairs sorted by the file's column order.
    std::string Select(const std::string &bytes, const char *key) {
        dir.Write("cases.txt", bytes);
        return SelectAgain(key);
    }

    std::string SelectAgain(const char *key) {
        params.RemoveParam("dbrecord");
        params.SetParam("dbrecord", key);
        int32_t status = table.Open(&params);
        EXPECT_EQ(status == 0, table.active);
        if (status != 0) return "status " + std::to_string(status);
        std::string pairs;
        for (int32_t slot = 0; slot < table.record->Size(); ++slot) {
            const CString &name = table.record->KeyAt(slot);
            if (!name.IsEmpty()) pairs += std::string(name.Text()) + "=" + table.record->ValueAt(slot).Text() + ";";
        }
        return pairs.empty() ? "empty" : Sorted(pairs);
    }

    static std::string Sorted(const std::string &pairs) {
        std::vector<std::string> items;
        size_t start = 0;
        for (size_t end; (end = pairs.find(';', start)) != std::string::npos; start = end + 1)
            items.push_back(pairs.substr(start, end - start + 1));
        std::sort(items.begin(), items.end());
        std::string joined;
        for (auto &item : items) joined += item;
        return joined;
    }

    CScratchDir dir;
    CTableEnvironment environment;
    CParameters params;
    CInDatabaseRelTxt table{*FindTableFormat("idbtxtreltab"), environment};
};

TEST_F(RelationalInputTest, TheRowOfTheKeyPairsEveryColumnWithItsField) {
    std::string file = "id\tFever\tCough\np16\t0.1\ty\np17\t0.8\tn\n";
    EXPECT_EQ(Select(file, "p17"), "Cough=n;Fever=0.8;id=p17;");
    EXPECT_EQ(table.keyColumn, 0);
    EXPECT_EQ(SelectAgain("p16"), "Cough=y;Fever=0.1;id=p16;");
    EXPECT_EQ(SelectAgain("p18"), "status 2");
    EXPECT_EQ(SelectAgain("P17"), "status 2");
    // Last line without a newline, Windows line ends, the key in a later column.
    EXPECT_EQ(Select("Fever\tid\r\n0.8\tp17", "p17"), "Fever=0.8;id=p17;");
    EXPECT_EQ(table.keyColumn, 1);
    // Of two rows with the key the first is taken.
    EXPECT_EQ(Select("id\tx\np17\t1\np17\t2\n", "p17"), "id=p17;x=1;");
    // A row longer than the header keeps only the named columns.
    EXPECT_EQ(Select("id\tx\np17\t1\t2\t3\n", "p17"), "id=p17;x=1;");
}

TEST_F(RelationalInputTest, BlankLinesShortRowsAndEmptyFieldsEndTheSearch) {
    EXPECT_EQ(Select("id\tFever\n\np17\t0.8\n", "p17"), "status 2");
    EXPECT_EQ(Select("x\tid\nshort\np17\t0.8\n", "p17"), "status 2");
    // A row stops at an empty field; the rest of its line is the next row.
    EXPECT_EQ(Select("id\tFever\tCough\np17\t\t0.8\n", "p17"), "id=p17;");
    EXPECT_EQ(SelectAgain("0.8"), "id=0.8;");
    // A row that starts with an empty field has no fields.
    EXPECT_EQ(Select("id\tFever\n\tq\np17\t0.8\n", "p17"), "status 2");
    // An empty key never selects a row.
    EXPECT_EQ(Select("id\tFever\np17\t0.8\n", ""), "status 2");
    EXPECT_EQ(Select("", "p17"), "status 2");
}

TEST_F(RelationalInputTest, AHeaderWithAnEmptyFieldEndsAtIt) {
    std::string file = "id\t\tFever\np17\t0.8\n";
    EXPECT_EQ(Select(file, "p17"), "id=p17;");
    EXPECT_EQ(SelectAgain("Fever"), "id=Fever;");
}

TEST_F(RelationalInputTest, TheKeyColumnNameComesFromTheParametersAndCaseMatters) {
    EXPECT_EQ(Select("ID\tFever\np17\t0.8\n", "p17"), "status 2");
    params.SetParam("idbheadername", "ID");  // overrides "dbheadername"
    EXPECT_EQ(SelectAgain("p17"), "Fever=0.8;ID=p17;");

    // Without a parameter the key column is "header".
    CParameters plain;
    plain.SetParam("idbtxtreltab", "cases.txt");
    plain.SetParam("idbrecord", "p17");
    EXPECT_EQ(table.Open(&plain), 2);
    dir.Write("cases.txt", "header\tFever\np17\t0.8\n");
    EXPECT_EQ(table.Open(&plain), 0);
    EXPECT_STREQ(table.FieldText("Fever").Text(), "0.8");
    // "idbrecord" is preferred to "dbrecord".
    plain.SetParam("dbrecord", "p18");
    EXPECT_EQ(table.Open(&plain), 0);
    EXPECT_STREQ(table.FieldText("header").Text(), "p17");
}

TEST_F(RelationalInputTest, TheTableIsInactiveWithoutItsParametersOrFile) {
    CParameters noKey;
    noKey.SetParam("idbtxtreltab", "cases.txt");
    dir.Write("cases.txt", "header\nx\n");
    EXPECT_EQ(table.Open(&noKey), 0);
    EXPECT_FALSE(table.active);
    CParameters noFile;
    noFile.SetParam("dbrecord", "x");
    EXPECT_EQ(table.Open(&noFile), 0);
    EXPECT_FALSE(table.active);
    noFile.SetParam("idbtxtreltab", "missing.txt");
    EXPECT_EQ(table.Open(&noFile), 2);
    EXPECT_FALSE(table.active);
}

TEST_F(RelationalInputTest, TheCommaKindSplitsAtCommas) {
    CInDatabaseRelTxt comma(*FindTableFormat("idbtxtrelcomma"), environment);
    dir.Write("cases.csv", "id,Fever,Note\np17,0.8,a\tb\n");
    CParameters commaParams;
    commaParams.SetParam("idbtxtrelcomma", "cases.csv");
    commaParams.SetParam("dbheadername", "id");
    commaParams.SetParam("dbrecord", "p17");
    ASSERT_EQ(comma.Open(&commaParams), 0);
    EXPECT_STREQ(comma.FieldText("Fever").Text(), "0.8");
    EXPECT_STREQ(comma.FieldText("Note").Text(), "a\tb");
    CString kind;
    comma.GetName(kind);
    EXPECT_STREQ(kind.Text(), "idbtxtrelcomma");
}

TEST_F(RelationalInputTest, OverlongFieldsKeepTheir255FirstCharacters) {
    std::string longKey(300, 'k'), longValue(280, 'v'), longName(260, 'N');
    std::string file = "id\t" + longName + "\n" + longKey + "\t" + longValue + "\np2\tshort\n";
    std::string kept = std::string(longName, 0, 255) + "=" + std::string(longValue, 0, 255) + ";";
    EXPECT_EQ(Select(file, std::string(255, 'k').c_str()), kept + "id=" + std::string(255, 'k') + ";");
    EXPECT_EQ(SelectAgain(longKey.c_str()), "status 2");
    EXPECT_EQ(SelectAgain("p2"), std::string(longName, 0, 255) + "=short;id=p2;");
}

TEST_F(RelationalInputTest, AChangedFileIsReadAgain) {
    EXPECT_EQ(Select("id\tFever\np17\t0.8\n", "p17"), "Fever=0.8;id=p17;");
    // Same size, another content: told apart by its modification time.
    dir.Write("cases.txt", "id\tFever\np17\t0.9\n");
    std::filesystem::last_write_time(dir.Path("cases.txt"),
                                     std::filesystem::last_write_time(dir.Path("cases.txt")) + std::chrono::seconds(2));
    EXPECT_EQ(SelectAgain("p17"), "Fever=0.9;id=p17;");
    std::filesystem::remove(dir.Path("cases.txt"));
    EXPECT_EQ(SelectAgain("p17"), "status 2");
    dir.Write("cases.txt", "id\tFever\tCough\np17\t0.7\ty\n");
    EXPECT_EQ(SelectAgain("p17"), "Cough=y;Fever=0.7;id=p17;");
    // Another key column name reads the file anew.
    params.SetParam("idbheadername", "Cough");
    EXPECT_EQ(SelectAgain("y"), "Cough=y;Fever=0.7;id=p17;");
}

}  // namespace
