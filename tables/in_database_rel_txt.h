// Relational input files: a header row of column names and data rows, the
// row of the consultation selected by its key; tab-separated
// ("idbtxtreltab") or comma-separated ("idbtxtrelcomma"); one class,
// configured by the row of its format (tables/table_formats.h).
//
// The file path is the value of the parameter named like the kind; the key
// value and the key column name come from the input key parameters. The key
// column is the first header column whose name equals the key column name
// (case matters). Data rows are searched in order for the first whose key
// field equals the key; a blank line, or a row too short to reach the key
// column, ends the search unsuccessfully. The record pairs every column name
// with the selected row's field below it. The file's rows are indexed by key
// on first use and re-read only when the file changes.
#pragma once

#include <cstdint>
#include <string>

#include "tables/in_database_text.h"
#include "tables/rel_text_index.h"

class CInDatabaseRelTxt : public CInDatabaseText {
public:
    using CInDatabaseText::CInDatabaseText;

    int32_t Open(CParameters *parameters) override;

    // Replaces the record by the row of `keyValue`; 2 when the file cannot be
    // read, has no key column, or has no row for the key.
    int32_t Load(const CString &path, const CString &keyColumnName, const CString &keyValue);

    int32_t keyColumn = -1;  // of the last file read; -1 when not found

private:
    // Reads the file into the index; 2 when it cannot be opened.
    int32_t ReadIndex(const std::string &path, const CFileStamp &stamp, const CString &keyColumnName);

    CRelTextIndex index;
};
