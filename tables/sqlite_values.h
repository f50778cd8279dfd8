// How the SQLite engine stores the texts it is given.
//
// The tables hand every value to the engine as a text, numbers with a
// decimal comma ("0,500000"). A field keeps what its declared type asks for,
// by SQLite's own affinity rules: a numeric field (INTEGER, REAL or NUMERIC
// affinity) stores a number as a number (0.5, not the text "0,500000") and
// the don't-know text "?" as null; a text field, or one without a type,
// stores the text as given.
#pragma once

#include <cstdint>
#include <string>

enum class CSqliteAffinity { Integer, Text, Blob, Real, Numeric };

// The affinity of a column declared with `declaredType` ("VARCHAR(20)",
// "double", "" ...).
CSqliteAffinity AffinityOfType(const std::string &declaredType);

// A field value ready to be bound to a statement.
struct CSqliteValue {
    enum class Kind { Null, Integer, Real, Text } kind = Kind::Null;
    int64_t integer = 0;
    double real = 0.0;
    std::string text;
};

// Reads a number written with a decimal comma or point ("0,5", "-1.25e3",
// " 7"); false unless the whole text (blanks around it aside) is one finite
// number.
bool ParseEngineNumber(const std::string &text, double &number);

// The value a field of the given affinity stores for `text`.
CSqliteValue ValueForField(CSqliteAffinity affinity, const std::string &text);
