#include "tables/rel_text_row.h"

bool ReadRelField(CTextFile &file, char separator, CString &text) {
    return file.ReadUntil(static_cast<unsigned char>(separator), '\n', kRelFieldLimit, text) != separator;
}

bool ReadRelField(CTextFile &file, char separator, std::string &bytes) {
    return file.ReadUntil(static_cast<unsigned char>(separator), '\n', kRelFieldLimit, bytes) != separator;
}

std::string &CRelRowBuffer::Add() {
    if (count == fields.size()) fields.emplace_back();
    std::string &field = fields[count++];
    field.clear();
    return field;
}

void CRelRowBuffer::CopyInto(CStringVector &texts) const {
    texts.Reset();
    for (int32_t i = 0; i < Count(); ++i) texts.Add(CString(Text(i)));
}

void ReadRelRow(CTextFile &file, char separator, CRelRowBuffer &row) {
    row.Clear();
    for (;;) {
        const bool rowEnded = ReadRelField(file, separator, row.Add());
        if (row.IsEmpty(row.Count() - 1)) {
            row.RemoveLast();
            return;
        }
        if (rowEnded) return;
    }
}
