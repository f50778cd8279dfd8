#include "tables/in_database_text.h"

CInDatabaseText::CInDatabaseText(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment)
    : format(tableFormat), environment(tableEnvironment) {}

int32_t CInDatabaseText::GetName(CString &kindName) {
    kindName = format.input;
    return 0;
}
