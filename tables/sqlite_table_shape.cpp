#include "tables/sqlite_table_shape.h"

#include "tables/sqlite_connection.h"

CSqliteTableShape::CSqliteTableShape(const std::string &tableName, CColumnInfo tableColumns)
    : columns(std::move(tableColumns)) {
    select = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string &name = columns[i].first;
        fields.push_back({name, AffinityOfType(columns[i].second)});
        names.Add(CString(name.c_str()));
        if (i > 0) select += ", ";
        select += QuoteIdentifier(name.c_str());
    }
    select += " FROM " + QuoteIdentifier(tableName.c_str());
}

const std::string &CSqliteTableShape::FilteredSelectText(size_t keyColumn) {
    auto known = filtered.find(keyColumn);
    if (known != filtered.end()) return known->second;
    std::string text = select + " WHERE " + QuoteIdentifier(fields[keyColumn].name.c_str()) + " = ?1";
    return filtered.emplace(keyColumn, std::move(text)).first->second;
}
