// The databases the engine suite runs on: one SQLite file, one PostgreSQL
// database on a throwaway server, one directory of dBASE files. Each makes
// the same tables from one description and reads back what was stored with
// its own client, not through the engine under test.
#pragma once

#include <shapefil.h>
#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "postgres_server.h"
#include "table_test_support.h"
#include "tables/field_names.h"

// A column of a test table: its name and whether it holds text, whole
// numbers or real numbers.
enum class CColumnKind { Text, Integer, Real };
struct CTestColumn {
    std::string name;
    CColumnKind kind;
};
using CTestRow = std::vector<std::optional<std::string>>;
struct CTestTable {
    std::string name;
    std::vector<CTestColumn> columns;
    std::vector<CTestRow> rows;
};

class CEngineBackend {
public:
    virtual ~CEngineBackend() = default;
    // False, with the reason, when the backend cannot run here.
    virtual bool Start(std::string &reason) = 0;
    virtual void Make(const CTestTable &table) = 0;
    // The location an alias of the database holds.
    virtual std::string Location() const = 0;
    // What a field of the first record with the key holds, as the backend
    // stores it: "number:0.5", "text:?", "null", or "none" without a record.
    virtual std::string Stored(const std::string &table, const std::string &key, const std::string &column) = 0;
    virtual bool TakesSql() const { return true; }
    virtual bool NeedsServer() const { return false; }
};

inline std::string SqlLiteral(const std::optional<std::string> &value) {
    if (!value) return "NULL";
    std::string quoted = "'";
    for (char c : *value) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

inline std::string SqlName(const std::string &name) {
    std::string quoted = "\"";
    for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// The SQL that makes a table in SQLite and in PostgreSQL.
inline std::string TableScript(const CTestTable &table, const char *realType) {
    std::string script = "CREATE TABLE " + SqlName(table.name) + " (";
    for (size_t i = 0; i < table.columns.size(); ++i) {
        const CTestColumn &column = table.columns[i];
        script += (i ? ", " : "") + SqlName(column.name) + " " +
                  (column.kind == CColumnKind::Text ? "TEXT" : column.kind == CColumnKind::Integer ? "INTEGER" : realType);
    }
    script += ");";
    for (const CTestRow &row : table.rows) {
        script += "INSERT INTO " + SqlName(table.name) + " VALUES (";
        for (size_t i = 0; i < row.size(); ++i) script += (i ? ", " : "") + SqlLiteral(row[i]);
        script += ");";
    }
    return script;
}

inline std::string KindOfNumber(const std::string &text) { return "number:" + text; }

class CSqliteBackend : public CEngineBackend {
public:
    bool Start(std::string &) override { return true; }
    void Make(const CTestTable &table) override { dir.MakeDatabase("clinic.db", TableScript(table, "REAL")); }
    std::string Location() const override { return dir.Path("clinic.db"); }
    std::string Stored(const std::string &table, const std::string &key, const std::string &column) override {
        const std::vector<std::string> rows =
            dir.Query("clinic.db", "SELECT \"" + column + "\" FROM \"" + table + "\" WHERE id = " + SqlLiteral(key));
        if (rows.empty()) return "none";
        const std::string &value = rows.front();
        if (value == "null") return "null";
        return (value[0] == 't' ? "text:" : "number:") + value.substr(2);
    }

private:
    CScratchDir dir;
};

class CPostgresBackend : public CEngineBackend {
public:
    bool Start(std::string &reason) override { return server.Start(reason); }
    void Make(const CTestTable &table) override {
        std::string reason;
        EXPECT_TRUE(server.Execute("quorvin_test", TableScript(table, "DOUBLE PRECISION"), reason)) << reason;
    }
    std::string Location() const override { return server.Location(); }
    std::string Stored(const std::string &table, const std::string &key, const std::string &column) override {
        const std::vector<std::string> rows =
            server.Rows("SELECT \"" + column + "\"::text, pg_typeof(\"" + column + "\")::text FROM \"" + table +
                        "\" WHERE id = " + SqlLiteral(key));
        if (rows.empty()) return "none";
        const std::string &row = rows.front();
        const size_t bar = row.rfind('|');
        const std::string value = row.substr(0, bar), type = row.substr(bar + 1);
        if (value == "null") return "null";
        return (type == "text" ? "text:" : "number:") + value;
    }
    bool NeedsServer() const override { return true; }
    CPostgresServer server;
};

class CDbaseBackend : public CEngineBackend {
public:
    bool Start(std::string &) override { return std::filesystem::create_directory(dir.Path("clinic")); }
    void Make(const CTestTable &table) override {
        DBFHandle dbf = DBFCreate((dir.Path("clinic") + "/" + table.name + ".dbf").c_str());
        ASSERT_NE(dbf, nullptr);
        for (const CTestColumn &column : table.columns) {
            if (column.kind == CColumnKind::Text) DBFAddField(dbf, column.name.c_str(), FTString, 20, 0);
            else DBFAddField(dbf, column.name.c_str(), FTDouble, 12, column.kind == CColumnKind::Real ? 4 : 0);
        }
        for (size_t record = 0; record < table.rows.size(); ++record) {
            for (size_t i = 0; i < table.columns.size(); ++i) {
                const auto &value = table.rows[record][i];
                const int r = static_cast<int>(record), f = static_cast<int>(i);
                if (!value) DBFWriteNULLAttribute(dbf, r, f);
                else if (table.columns[i].kind == CColumnKind::Text) DBFWriteStringAttribute(dbf, r, f, value->c_str());
                else DBFWriteDoubleAttribute(dbf, r, f, std::stod(*value));
            }
        }
        DBFClose(dbf);
    }
    std::string Location() const override { return dir.Path("clinic"); }
    std::string Stored(const std::string &table, const std::string &key, const std::string &column) override {
        DBFHandle dbf = DBFOpen((dir.Path("clinic") + "/" + table + ".dbf").c_str(), "rb");
        if (dbf == nullptr) return "no file";
        std::string found = "none";
        const int keyField = DBFGetFieldIndex(dbf, "id"), field = DBFGetFieldIndex(dbf, column.c_str());
        for (int record = 0; record < DBFGetRecordCount(dbf) && found == "none"; ++record) {
            if (key != DBFReadStringAttribute(dbf, record, keyField)) continue;
            if (DBFIsAttributeNULL(dbf, record, field)) found = "null";
            else if (DBFGetNativeFieldType(dbf, field) == 'N')
                found = "number:" + Trimmed(std::to_string(DBFReadDoubleAttribute(dbf, record, field)));
            else found = std::string("text:") + DBFReadStringAttribute(dbf, record, field);
        }
        DBFClose(dbf);
        return found;
    }
    bool TakesSql() const override { return false; }

private:
    // A number written as %f loses its trailing zeros: "0.500000" is "0.5".
    static std::string Trimmed(std::string number) {
        if (number.find('.') == std::string::npos) return number;
        while (number.back() == '0') number.pop_back();
        if (number.back() == '.') number.pop_back();
        return number;
    }
    CScratchDir dir;
};
