// What only the PostgreSQL engine has: a server that is down, a connection
// that breaks during a batch, a large batch read row by row.
#include <gtest/gtest.h>

#include "foundation/memory_option_store.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "net/params.h"
#include "postgres_server.h"
#include "table_test_support.h"
#include "tables/batch_iter_bde.h"
#include "tables/database_engine.h"
#include "tables/in_database_bde.h"
#include "tables/out_database_bde.h"
#include "tables/postgres_values.h"
#include "tables/table_environment.h"

namespace {

TEST(PostgresValues, NumericColumnsReceiveNumbersAndTheRestTheText) {
    EXPECT_EQ(PgFieldKind("N", "integer"), CPgFieldKind::Integer);
    EXPECT_EQ(PgFieldKind("N", "double precision"), CPgFieldKind::Number);
    EXPECT_EQ(PgFieldKind("N", "numeric(8,2)"), CPgFieldKind::Number);
    EXPECT_EQ(PgFieldKind("S", "text"), CPgFieldKind::Other);
    EXPECT_EQ(PgValueForField(CPgFieldKind::Number, "0,500000").text, "0.5");
    EXPECT_EQ(PgValueForField(CPgFieldKind::Number, "-1.25e3").text, "-1250");
    EXPECT_EQ(PgValueForField(CPgFieldKind::Integer, "1,000000").text, "1");
    const CPgFieldValue unknown = PgValueForField(CPgFieldKind::Number, "?");
    EXPECT_TRUE(unknown.set);
    EXPECT_FALSE(unknown.text.has_value());
    EXPECT_FALSE(PgValueForField(CPgFieldKind::Integer, "0,5").set);
    EXPECT_FALSE(PgValueForField(CPgFieldKind::Number, "high").set);
    EXPECT_EQ(PgValueForField(CPgFieldKind::Other, "0,500000").text, "0,500000");
    EXPECT_EQ(PgValueForField(CPgFieldKind::Other, "?").text, "?");
}

TEST(PostgresEngine, AServerThatIsDownFailsNamingTheAliasAndTheReasonWithoutThePassword) {
    CScratchDir dir;
    CMemoryOptionStore aliases;
    CTableEnvironment environment;
    environment.aliasStore = &aliases;
    aliases.WriteText(CTableEnvironment::kAliasKey, "claims",
                      "host=" + dir.Path("no-server") + " dbname=claims user=ann password=s3cret");
    std::unique_ptr<CEngineTable> table;
    EXPECT_EQ(environment.Engine().OpenTable("claims", "claims", CEngineAccess::Read, table), 2);
    const std::string failure = environment.Engine().LastFailure();
    EXPECT_NE(failure.find("cannot connect: "), std::string::npos) << failure;
    EXPECT_NE(failure.find("No such file or directory"), std::string::npos) << failure;
    // The batch says which database it could not read, and why.
    CParameters batch;
    batch.SetParam("idbbde", "claims");
    batch.SetParam("idbbdetable", "claims");
    batch.SetParam("batchidbbde", "");
    CBatchIterDBBDE iterator(environment);
    EXPECT_EQ(iterator.Open(&batch), 2);
    EXPECT_EQ(iterator.Failure().rfind("Cannot read the batch keys of database claims: cannot connect: ", 0), 0u)
        << iterator.Failure();
    // Named by its location directly, the alias is shown without password.
    const CString direct = ("host=" + dir.Path("no-server") + " password=s3cret dbname=claims").c_str();
    std::vector<std::string> tables;
    EXPECT_EQ(environment.Engine().ListTables(direct, tables), 2);
    EXPECT_EQ(environment.Engine().LastFailure().find("s3cret"), std::string::npos)
        << environment.Engine().LastFailure();

    // Nor does the output table's failure, which reaches the user.
    CParameters params;
    params.SetParam("odbbde", direct);
    params.SetParam("odbbdetable", "verdicts");
    params.SetParam("dbrecord", "c1");
    COutDatabaseBDE output(environment);
    EXPECT_EQ(output.Write(&params, nullptr, nullptr), 2);
    EXPECT_EQ(output.Failure().find("s3cret"), std::string::npos) << output.Failure();
    EXPECT_NE(output.Failure().find("Cannot write to table verdicts of database host="), std::string::npos)
        << output.Failure();
}

class PostgresServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QUORVIN_START_POSTGRES(server);
        std::string reason;
        ASSERT_TRUE(server.Execute("quorvin_test",
                                   "CREATE TABLE cases (id TEXT PRIMARY KEY, reading DOUBLE PRECISION);"
                                   "CREATE TABLE verdicts (id TEXT, value DOUBLE PRECISION);"
                                   "INSERT INTO cases SELECT 'c' || n, n FROM generate_series(1, 50000) AS n;",
                                   reason))
            << reason;
        aliases.WriteText(CTableEnvironment::kAliasKey, "cases", server.Location());
        environment.aliasStore = &aliases;
        params.SetParam("idbbde", "cases");
        params.SetParam("idbbdetable", "cases");
        params.SetParam("dbheadername", "id");
        params.SetParam("batchidbbde", "");
    }

    int32_t WriteVerdict(const char *key) {
        std::unique_ptr<CEngineTable> table;
        int32_t id = -1, value = -1;
        if (environment.Engine().OpenTable("cases", "verdicts", CEngineAccess::Append, table) != 0) return 2;
        table->FindField("id", id);
        table->FindField("value", value);
        table->Append();
        table->SetFieldText(id, key);
        table->SetFieldText(value, "0,25");
        return table->Post();
    }

    CPostgresServer server;
    CMemoryOptionStore aliases;
    CTableEnvironment environment;
    CParameters params;
};

TEST_F(PostgresServerTest, ALargeBatchHandsOutEveryKeyInOrder) {
    params.RemoveParam("batchidbbde");
    params.SetParam("batchidbbde", "reading > 0 order by reading");
    CBatchIterDBBDE iterator(environment);
    ASSERT_EQ(iterator.Open(&params), 0) << environment.Engine().LastFailure();
    ASSERT_NE(iterator.keys, nullptr);
    ASSERT_EQ(iterator.keys->Count(), 50000);
    EXPECT_STREQ(iterator.keys->At(0).Text(), "c1");
    EXPECT_STREQ(iterator.keys->At(49999).Text(), "c50000");
    // The transaction of the key query is over: the connection writes again.
    EXPECT_EQ(WriteVerdict("c1"), 0);
}

// A batch looks its input table up once; a table changed between two cases
// is looked up again, so every record has the table's fields of its time.
TEST_F(PostgresServerTest, RecordsFollowTheTableWhenItsColumnsChangeBetweenCases) {
    CInDatabaseBDE input(environment);
    const auto read = [&](const char *key) {
        params.RemoveParam("dbrecord");
        params.SetParam("dbrecord", key);
        return input.Open(&params);
    };
    const auto alter = [&](const char *sql) {
        std::string reason;
        return server.Execute("quorvin_test", sql, reason) ? std::string() : reason;
    };
    ASSERT_EQ(read("c7"), 0) << environment.Engine().LastFailure();
    EXPECT_STREQ(input.FieldText("reading").Text(), "7");
    // The output table's statement on the same connection must keep its own.
    ASSERT_EQ(WriteVerdict("c7"), 0);
    ASSERT_EQ(read("c8"), 0);
    EXPECT_STREQ(input.FieldText("reading").Text(), "8");

    ASSERT_EQ(alter("ALTER TABLE cases ADD COLUMN note TEXT DEFAULT 'Loud'"), "");
    ASSERT_EQ(read("c9"), 0) << environment.Engine().LastFailure();
    EXPECT_STREQ(input.FieldText("note").Text(), "loud");
    EXPECT_STREQ(input.FieldText("reading").Text(), "9");
    ASSERT_EQ(WriteVerdict("c9"), 0);

    ASSERT_EQ(alter("ALTER TABLE cases DROP COLUMN note; ALTER TABLE cases RENAME COLUMN reading TO level"), "");
    ASSERT_EQ(read("c10"), 0) << environment.Engine().LastFailure();
    EXPECT_FALSE(input.HasField("note"));
    EXPECT_FALSE(input.HasField("reading"));
    EXPECT_STREQ(input.FieldText("level").Text(), "10");
    ASSERT_EQ(read("c11"), 0);
    EXPECT_STREQ(input.FieldText("level").Text(), "11");
    EXPECT_EQ(read("nobody"), 2);

    // A table dropped and made again under its name is read as it is now.
    ASSERT_EQ(alter("DROP TABLE cases; CREATE TABLE cases (id TEXT, level INTEGER, colour TEXT);"
                    "INSERT INTO cases VALUES ('c12', 12, 'Red')"),
              "");
    ASSERT_EQ(read("c12"), 0) << environment.Engine().LastFailure();
    EXPECT_STREQ(input.FieldText("colour").Text(), "red");
    EXPECT_STREQ(input.FieldText("level").Text(), "12");

    // A table renamed away is no longer found.
    ASSERT_EQ(alter("ALTER TABLE cases RENAME TO old_cases"), "");
    EXPECT_EQ(read("c12"), 2);
    EXPECT_NE(environment.Engine().LastFailure().find("no table cases"), std::string::npos)
        << environment.Engine().LastFailure();
    EXPECT_EQ(server.Rows("SELECT id FROM verdicts ORDER BY id"), (std::vector<std::string>{"c7", "c9"}));
}

// A group of appended records looks its output table up at the first record
// and keeps it; a record the kept table cannot take has the table looked up
// again, so no record is lost or stored twice.
TEST_F(PostgresServerTest, AGroupKeepsItsOutputTableAndFollowsItWhenItChanges) {
    CInferenceNet net;
    for (const auto &[name, value] : {std::pair{"value", 0.25f}, {"level", 0.5f}, {"note", 0.75f}}) {
        ASSERT_EQ(net.AddBayesNode(name, 0.1f, true, false), 0);
        net.FindNode(name)->current = value;
    }
    CParameters out;
    out.SetParam("odbbde", "cases");
    out.SetParam("odbbdetable", "verdicts");
    out.SetParam("dbheadername", "id");
    COutDatabaseBDE output(environment);
    const auto write = [&](const char *key) {
        out.RemoveParam("dbrecord");
        out.SetParam("dbrecord", key);
        return output.Write(&out, &net, nullptr);
    };
    const auto alter = [&](const char *sql) {
        std::string reason;
        return server.Execute("quorvin_test", sql, reason) ? std::string() : reason;
    };
    CDatabaseEngine &engine = environment.Engine();

    ASSERT_EQ(engine.BeginAppending("cases"), 0);
    ASSERT_EQ(write("c1"), 0) << output.Failure();
    // The kept table's statement names a column that is gone.
    ASSERT_EQ(alter("ALTER TABLE verdicts RENAME COLUMN value TO level"), "");
    ASSERT_EQ(write("c2"), 0) << output.Failure();
    // A column added within a group is filled from the next group on.
    ASSERT_EQ(alter("ALTER TABLE verdicts ADD COLUMN note DOUBLE PRECISION"), "");
    ASSERT_EQ(write("c3"), 0) << output.Failure();
    ASSERT_EQ(engine.EndAppending("cases"), 0);
    ASSERT_EQ(engine.BeginAppending("cases"), 0);
    ASSERT_EQ(write("c4"), 0) << output.Failure();
    ASSERT_EQ(engine.EndAppending("cases"), 0);
    EXPECT_EQ(server.Rows("SELECT id, note FROM verdicts WHERE id >= 'c3' ORDER BY id"),
              (std::vector<std::string>{"c3|null", "c4|0.75"}));
    // Outside a group every record looks the table up, as before.
    ASSERT_EQ(alter("ALTER TABLE verdicts DROP COLUMN note"), "");
    ASSERT_EQ(write("c5"), 0) << output.Failure();
    EXPECT_EQ(server.Rows("SELECT id, level FROM verdicts ORDER BY id"),
              (std::vector<std::string>{"c1|0.25", "c2|0.5", "c3|0.5", "c4|0.5", "c5|0.5"}));

    // A table dropped within a group: the record fails, saying why.
    ASSERT_EQ(engine.BeginAppending("cases"), 0);
    ASSERT_EQ(write("c6"), 0) << output.Failure();
    ASSERT_EQ(alter("DROP TABLE verdicts"), "");
    EXPECT_EQ(write("c7"), 2);
    EXPECT_NE(output.Failure().find("no table verdicts"), std::string::npos) << output.Failure();
    EXPECT_EQ(engine.EndAppending("cases"), 0);
}

TEST_F(PostgresServerTest, ADroppedConnectionEndsTheBatchAndKeepsTheRecordsWritten) {
    CBatchIterDBBDE iterator(environment);
    ASSERT_EQ(iterator.Open(&params), 0) << environment.Engine().LastFailure();
    CInDatabaseBDE input(environment);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(iterator.Next(&params), 0);
        ASSERT_EQ(input.Open(&params), 0);
        ASSERT_EQ(WriteVerdict(params.GetParam("dbrecord").Text()), 0);
    }
    std::string reason;
    ASSERT_TRUE(server.Execute("postgres",
                               "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                               "WHERE datname = 'quorvin_test' AND pid <> pg_backend_pid()",
                               reason))
        << reason;
    ASSERT_EQ(iterator.Next(&params), 0);
    EXPECT_EQ(input.Open(&params), 2);
    EXPECT_TRUE(environment.Engine().ConnectionLost("cases"));
    EXPECT_EQ(iterator.Next(&params), 2);
    EXPECT_FALSE(iterator.active);
    EXPECT_EQ(iterator.Failure().rfind("The batch ended: lost the connection to database cases: ", 0), 0u)
        << iterator.Failure();
    EXPECT_NE(iterator.Failure().find("terminating connection"), std::string::npos) << iterator.Failure();
    EXPECT_EQ(server.Rows("SELECT id, value FROM verdicts ORDER BY id"),
              (std::vector<std::string>{"c1|0.25", "c2|0.25"}));
    // The next run connects afresh.
    ASSERT_EQ(iterator.Open(&params), 0) << environment.Engine().LastFailure();
    EXPECT_FALSE(environment.Engine().ConnectionLost("cases"));
}

}  // namespace
