#include "tables/rel_text_row.h"

bool ReadRelField(CTextFile &file, char separator, CString &text) {
    return file.ReadUntil(static_cast<unsigned char>(separator), '\n', kRelFieldLimit, text) != separator;
}
