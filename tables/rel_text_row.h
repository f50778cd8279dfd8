// Rows of the relational text files: fields separated by a tab or a comma,
// one row per line.
//
// A field runs up to the separator, the line end or the end of the file and
// keeps at most 255 characters (the rest is dropped). A row is read field by
// field until a field ends the line or a field is empty; the empty field is
// not part of the row and ends it at once, so whatever follows it on the
// line is read as the next row. A row without fields stands for a blank line
// or the end of the file. Input tables, output tables and the batch
// iterators all read their files this way.
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"
#include "tables/text_file.h"

constexpr int32_t kRelFieldLimit = 255;

// Reads one field; true when the row ended with it (line end or end of file).
bool ReadRelField(CTextFile &file, char separator, CString &text);

// Reads one row into `fields` with the given field reader, a callable
// `bool (CTextFile &, CString &)` like ReadRelField.
template <typename FieldReader>
void ReadRelRow(CTextFile &file, FieldReader readField, CStringVector &fields) {
    fields.Reset();
    for (;;) {
        CString text;
        bool rowEnded = readField(file, text);
        if (text.IsEmpty()) return;
        fields.Add(text);
        if (rowEnded) return;
    }
}
