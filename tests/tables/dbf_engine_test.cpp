// What only the dBASE engine has: files checked before they are read, and
// directories a knowledge base names itself.
#include <gtest/gtest.h>
#include <shapefil.h>

#include "foundation/memory_option_store.h"
#include "table_test_support.h"
#include "tables/database_engine.h"
#include "tables/dbf_file.h"
#include "tables/table_environment.h"

namespace {

class DbfEngineTest : public ::testing::Test {
protected:
    DbfEngineTest() {
        environment.baseDirectory = dir.Dir().c_str();
        std::filesystem::create_directory(dir.Path("data"));
        DBFHandle dbf = DBFCreate(dir.Path("data/cases.dbf").c_str());
        DBFAddField(dbf, "ID", FTString, 10, 0);
        DBFAddField(dbf, "VALUE", FTDouble, 10, 3);
        for (int record = 0; record < 3; ++record) {
            DBFWriteStringAttribute(dbf, record, 0, ("c" + std::to_string(record)).c_str());
            DBFWriteDoubleAttribute(dbf, record, 1, record * 0.5);
        }
        DBFClose(dbf);
        whole = dir.Read("data/cases.dbf");
    }

    int32_t Open(const char *alias, CEngineAccess access) {
        std::unique_ptr<CEngineTable> table;
        return environment.Engine().OpenTable(alias, "cases", access, table);
    }

    CScratchDir dir;
    CTableEnvironment environment;
    std::string whole;
};

TEST_F(DbfEngineTest, FilesShorterThanTheirHeaderSaysAreRefused) {
    std::string reason;
    EXPECT_TRUE(CheckDbfHeader(dir.Path("data/cases.dbf"), reason)) << reason;
    EXPECT_EQ(Open("data", CEngineAccess::Read), 0);

    // Cut in the last record.
    dir.Write("data/cases.dbf", whole.substr(0, whole.size() - 5));
    EXPECT_FALSE(CheckDbfHeader(dir.Path("data/cases.dbf"), reason));
    EXPECT_NE(reason.find("damaged"), std::string::npos);
    EXPECT_EQ(Open("data", CEngineAccess::Read), 2);
    EXPECT_NE(environment.Engine().LastFailure().find("damaged"), std::string::npos);

    // A record count that claims more records than the file holds.
    std::string lying = whole;
    lying[4] = static_cast<char>(200);
    dir.Write("data/cases.dbf", lying);
    EXPECT_EQ(Open("data", CEngineAccess::Read), 2);

    // Fields wider than the record.
    std::string wide = whole;
    wide[32 + 16] = static_cast<char>(250);
    dir.Write("data/cases.dbf", wide);
    EXPECT_EQ(Open("data", CEngineAccess::Read), 2);

    // A header that stops in its field descriptors, and an empty file.
    dir.Write("data/cases.dbf", whole.substr(0, 40));
    EXPECT_EQ(Open("data", CEngineAccess::Read), 2);
    dir.Write("data/cases.dbf", "");
    EXPECT_EQ(Open("data", CEngineAccess::Read), 2);
}

TEST_F(DbfEngineTest, KeysAreFoundInTheFileAsItIsNowAndTheFirstRecordOfAKeyWins) {
    auto Lookup = [this](const char *key) {
        std::unique_ptr<CEngineTable> table;
        CString value = "none";
        if (environment.Engine().OpenTable("data", "cases", CEngineAccess::Read, table) == 0 &&
            table->SetFilter("id", key) == 0 && table->First() == 0)
            table->FieldText(1, value);
        return std::string(value.Text());
    };
    auto Append = [this](const char *key, const char *value) {
        std::unique_ptr<CEngineTable> table;
        int32_t id = -1, number = -1;
        ASSERT_EQ(environment.Engine().OpenTable("data", "cases", CEngineAccess::Append, table), 0);
        ASSERT_EQ(table->FindField("id", id) + table->FindField("value", number), 0);
        table->Append();
        table->SetFieldText(id, key);
        table->SetFieldText(number, value);
        ASSERT_EQ(table->Post(), 0);
    };
    EXPECT_EQ(Lookup("c2"), "1.000");
    EXPECT_EQ(Lookup("c9"), "none");
    Append("c9", "2,5");
    Append("c1", "7");
    EXPECT_EQ(Lookup("c9"), "2.500");
    EXPECT_EQ(Lookup("c1"), "0.500");
    // A file put in the place of the old one is read anew.
    DBFHandle other = DBFCreate(dir.Path("other.dbf").c_str());
    DBFAddField(other, "ID", FTString, 10, 0);
    DBFAddField(other, "VALUE", FTDouble, 10, 3);
    DBFWriteStringAttribute(other, 0, 0, "c2");
    DBFWriteDoubleAttribute(other, 0, 1, 9.0);
    DBFClose(other);
    std::filesystem::rename(dir.Path("other.dbf"), dir.Path("data/cases.dbf"));
    EXPECT_EQ(Lookup("c2"), "9.000");
    EXPECT_EQ(Lookup("c1"), "none");
}

TEST_F(DbfEngineTest, AKnowledgeBaseAppendsOnlyInsideItsOwnFolder) {
    EXPECT_EQ(Open("data", CEngineAccess::Append), 0);
    EXPECT_EQ(Open(dir.Path("data").c_str(), CEngineAccess::Append), 2);
    EXPECT_EQ(Open(dir.Path("data").c_str(), CEngineAccess::Read), 0);
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_directory_symlink(dir.Path("data"), dir.Path("sub/link"));
    EXPECT_EQ(Open("sub/link", CEngineAccess::Append), 2);
    EXPECT_EQ(Open("sub/../data", CEngineAccess::Append), 2);
    // An alias the user defined may point anywhere.
    CMemoryOptionStore aliases;
    environment.aliasStore = &aliases;
    aliases.WriteText(CTableEnvironment::kAliasKey, "mine", dir.Path("sub/link"));
    EXPECT_EQ(Open("mine", CEngineAccess::Append), 0);
    // No SQL reaches a directory of files.
    std::unique_ptr<CEngineQuery> query;
    EXPECT_EQ(environment.Engine().RunQuery("data", "select id from cases", query), 2);
}

}  // namespace
