// Relational output files: one row per consultation appended under the
// file's header row; tab-separated ("odbtxtreltab") or comma-separated
// ("odbtxtrelcomma").
//
// The file must exist with a header naming the key column and the nodes of
// interest; it is never created. The header is read with the rules of the
// relational input files (so it ends at an empty field). Each column of the
// appended row holds the key value when the column is the key column, the
// current value ("%f") of the node of exactly that name, or "?" (don't
// know). When the file does not end with a line end, one is written first so
// that the new row cannot run into the last one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/string_collections.h"
#include "tables/out_database.h"
#include "tables/table_environment.h"

class CTextFile;

class COutDatabaseRel : public COutDatabase {
public:
    explicit COutDatabaseRel(CTableEnvironment &tableEnvironment = TableEnvironment());
    ~COutDatabaseRel() override;

    // 2 when a parameter is missing or the file cannot be read or appended to.
    int32_t Write(CParameters *parameters, CInferenceNet *net, CTable *table) override;

    // Reads one header field with the separator of the kind; true when the
    // row ended.
    virtual bool ReadField(CTextFile &source, CString &text);
    virtual void CloseFile();
    // Reads the header row into `headerNames` and opens the file for
    // appending; 2 when it cannot be read or reopened.
    virtual int32_t ReadHeader(const std::string &path);
    // Appends the row of the consultation; 2 when writing fails.
    virtual int32_t WriteRow(CInferenceNet *net);
    virtual char GetSeparator() = 0;

    CStringVector headerNames;
    CString keyColumnName;
    CString keyValue;

protected:
    CTableEnvironment &environment;
    std::FILE *file = nullptr;  // open for appending while writing
};

class COutDatabaseRelTxtTab : public COutDatabaseRel {
public:
    using COutDatabaseRel::COutDatabaseRel;

    int32_t GetName(CString &kindName) override;
    char GetSeparator() override { return '\t'; }
};

class COutDatabaseRelTxtComma : public COutDatabaseRelTxtTab {
public:
    using COutDatabaseRelTxtTab::COutDatabaseRelTxtTab;

    int32_t GetName(CString &kindName) override;
    char GetSeparator() override { return ','; }
};
