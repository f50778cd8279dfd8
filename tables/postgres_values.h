// How the PostgreSQL engine hands the tables' texts to a column.
//
// The tables pass every value as a text, numbers with a decimal comma
// ("0,500000"). A numeric column (integer, real, double precision, numeric)
// receives the number ("0.5"), and the don't-know text "?" as null; an
// integer column takes only whole numbers. A text the column cannot hold is
// not set, so that one bad field does not lose the record. Other columns
// receive the text as given.
#pragma once

#include <optional>
#include <string>

enum class CPgFieldKind { Integer, Number, Other };

// The kind of a column from its type's category ("N" for numbers) and
// type name ("integer", "bigint", "double precision").
CPgFieldKind PgFieldKind(const std::string &category, const std::string &typeName);

// What a column of the kind receives for `text`: set (a text, or nothing
// for null) or, when `set` is false, left alone.
struct CPgFieldValue {
    bool set = false;
    std::optional<std::string> text;
};
CPgFieldValue PgValueForField(CPgFieldKind kind, const std::string &text);
