// A database engine for tests that records every call it receives, so that
// tests can check what the tables hand to an engine and in which order. It
// knows one table with the given field names, lets a field be refused, and
// answers every query with the given rows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tables/database_engine.h"

class CRecordingEngine : public CDatabaseEngine {
public:
    std::vector<std::string> log;
    std::vector<std::string> fields;       // of the one table, "patients"
    std::string refusedField;              // SetFieldText fails for it
    std::vector<std::string> queryRows;    // first columns of every query
    bool failQueries = false;

    int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                      std::unique_ptr<CEngineTable> &table) override {
        log.push_back(std::string("OpenTable ") + alias.Text() + " " + tableName.Text() +
                      (access == CEngineAccess::Append ? " append" : " read"));
        if (!tableName.Equals("patients")) return 2;
        table = std::make_unique<Table>(*this);
        return 0;
    }

    int32_t RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) override {
        log.push_back(std::string("RunQuery ") + alias.Text() + " " + queryText.Text());
        if (failQueries) return 2;
        query = std::make_unique<Query>(*this);
        return 0;
    }

private:
    class Table : public CEngineTable {
    public:
        explicit Table(CRecordingEngine &owner) : engine(owner) {}
        int32_t FieldNames(CStringVector &names) override {
            engine.log.push_back("FieldNames");
            for (const std::string &field : engine.fields) names.Add(field.c_str());
            return 0;
        }
        int32_t SetFilter(const CString &column, const CString &value) override {
            engine.log.push_back(std::string("SetFilter ") + column.Text() + "='" + value.Text() + "'");
            return 0;
        }
        int32_t First() override { return 2; }
        int32_t FieldCount() override { return static_cast<int32_t>(engine.fields.size()); }
        bool IsNull(int32_t) override { return true; }
        int32_t FieldText(int32_t, CString &) override { return 2; }
        int32_t Append() override {
            engine.log.push_back("Append");
            return 0;
        }
        int32_t FindField(const CString &name, int32_t &position) override {
            for (size_t i = 0; i < engine.fields.size(); ++i)
                if (engine.fields[i] == name.Text()) position = static_cast<int32_t>(i);
            return 0;
        }
        int32_t SetFieldText(int32_t position, const CString &text) override {
            const std::string &field = engine.fields[position];
            engine.log.push_back("Set " + field + "=" + text.Text());
            return field == engine.refusedField ? 2 : 0;
        }
        int32_t Post() override {
            engine.log.push_back("Post");
            return 0;
        }
        void Close() override { engine.log.push_back("Close"); }

    private:
        CRecordingEngine &engine;
    };

    class Query : public CEngineQuery {
    public:
        explicit Query(CRecordingEngine &owner) : engine(owner) {}
        int32_t NextRow(bool &hasRow) override {
            hasRow = ++row < static_cast<int>(engine.queryRows.size());
            return 0;
        }
        int32_t FirstColumnText(CString &text) override {
            text = engine.queryRows[row].c_str();
            return 0;
        }
        void CloseQuery() override { engine.log.push_back("CloseQuery"); }

    private:
        CRecordingEngine &engine;
        int row = -1;
    };
};
