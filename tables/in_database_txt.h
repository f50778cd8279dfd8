// Name-value input files: one field per line, its name, a separator and its
// value ("Fever<TAB>0.8"), tab-separated ("idbtxttab") or comma-separated
// ("idbtxtcomma"); one class, configured by the row of its
// format (tables/table_formats.h).
//
// The file path is the value of the parameter named like the kind. There is
// no header and no quoting: the name runs to the first separator (across line
// ends, if a line has none) and the value to the end of its line, so a value
// of the comma kind may hold commas. Names and values are kept exactly as
// written, blanks included, at most 254 characters each (the rest is
// dropped). A pair with an empty name or value is skipped, and of two pairs
// with the same name the first counts.
#pragma once

#include <cstdint>

#include "tables/in_database_text.h"

class CTextFile;

class CInDatabaseTxt : public CInDatabaseText {
public:
    using CInDatabaseText::CInDatabaseText;

    int32_t Open(CParameters *parameters) override;

    // Replaces the record by the pairs of the file; 2 when it cannot be read.
    int32_t Load(const CString &path);

    static constexpr int32_t kTextLimit = 254;

private:
    // Reads a name up to the separator (consumed) or the end of the file;
    // true when the separator was found.
    bool ReadName(CTextFile &file, CString &name);
    // Reads a value up to the line end (consumed) or the end of the file.
    void ReadLine(CTextFile &file, CString &value);
};
