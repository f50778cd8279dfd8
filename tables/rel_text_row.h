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
#include <string>
#include <vector>

#include "foundation/string_collections.h"
#include "tables/text_file.h"

constexpr int32_t kRelFieldLimit = 255;

// Reads one field; true when the row ended with it (line end or end of file).
bool ReadRelField(CTextFile &file, char separator, CString &text);
bool ReadRelField(CTextFile &file, char separator, std::string &bytes);

// The fields of one row in buffers that are reused from row to row, so that
// reading a file row by row allocates nothing once they have grown. A
// field's text is what a CString made of its bytes holds: the bytes up to
// the first zero byte.
class CRelRowBuffer {
public:
    // Forgets the fields; their buffers stay.
    void Clear() { count = 0; }
    // The buffer of a new last field, empty.
    std::string &Add();
    // Forgets the last field.
    void RemoveLast() { --count; }

    int32_t Count() const { return static_cast<int32_t>(count); }
    const char *Text(int32_t i) const { return fields[static_cast<size_t>(i)].c_str(); }
    bool IsEmpty(int32_t i) const { return Text(i)[0] == '\0'; }
    // The fields as strings of the system, for rows that are kept.
    void CopyInto(CStringVector &texts) const;

private:
    std::vector<std::string> fields;
    size_t count = 0;
};

// Reads one row into `row` as ReadRelRow does: up to the line end or the
// first empty field, which is not part of the row.
void ReadRelRow(CTextFile &file, char separator, CRelRowBuffer &row);

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
