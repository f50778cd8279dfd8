// CInDatabaseText: the common part of the input tables kept in text files,
// name-value (tables/in_database_txt.h) and relational
// (tables/in_database_rel_txt.h).
//
// Such a table is configured by the row of its format (tables/table_formats.h):
// the row's input kind is the table's name and the parameter that names its
// file, the row's separator splits its fields. The file name is resolved in
// the table environment.
#pragma once

#include <cstdint>

#include "tables/in_database.h"
#include "tables/input_record.h"
#include "tables/table_environment.h"
#include "tables/table_format.h"

class CInDatabaseText : public CInDatabase, public CInputRecord {
public:
    explicit CInDatabaseText(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment);

    int32_t GetName(CString &kindName) override;

    const CTableFormat format;

protected:
    CTableEnvironment &environment;
};
