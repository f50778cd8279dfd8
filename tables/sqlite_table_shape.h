// CSqliteTableShape: what the SQLite engine derives from a table's columns,
// made once while the database's schema stays.
//
// A batch opens its input table for every case. The columns, their
// affinities, their names as the system's strings and the text of the
// statements that read the table all follow from the table's definition
// alone, so the connection keeps them per table until the schema's version
// moves (see tables/sqlite_connection.h) instead of working them out again
// for every case.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "foundation/string_collections.h"
#include "tables/sqlite_values.h"

struct CSqliteField {
    std::string name;
    CSqliteAffinity affinity;
};

class CSqliteTableShape {
public:
    // Names and declared types, in declaration order.
    using CColumnInfo = std::vector<std::pair<std::string, std::string>>;

    CSqliteTableShape(const std::string &tableName, CColumnInfo tableColumns);
    CSqliteTableShape(const CSqliteTableShape &) = delete;
    CSqliteTableShape &operator=(const CSqliteTableShape &) = delete;

    // The table's columns, as declared and as the engine stores into them.
    const CColumnInfo &Columns() const { return columns; }
    const std::vector<CSqliteField> &Fields() const { return fields; }
    // The column names as strings of the system; copies of them share their
    // text, so a reader can tell the same names from the last case's cheaply.
    const CStringVector &Names() const { return names; }

    // "SELECT" of every column "FROM" the table.
    const std::string &SelectText() const { return select; }
    // The same with "WHERE" the column at `keyColumn` "= ?1"; made on first
    // use and kept.
    const std::string &FilteredSelectText(size_t keyColumn);

private:
    CColumnInfo columns;
    std::vector<CSqliteField> fields;
    CStringVector names;
    std::string select;
    std::unordered_map<size_t, std::string> filtered;  // by key column
};
