#include "tables/in_database_txt.h"

#include "net/params.h"
#include "tables/text_file.h"

int32_t CInDatabaseTxt::Open(CParameters *parameters) {
    active = false;
    if (!parameters->HasParam(format.input)) {
        ClearRecord();
        return 0;
    }
    int32_t status = Load(parameters->GetParam(format.input));
    active = status == 0;
    return status;
}

bool CInDatabaseTxt::ReadName(CTextFile &file, CString &name) {
    const auto separator = static_cast<unsigned char>(format.separator);
    return file.ReadUntil(separator, CTextFile::kEnd, kTextLimit, name) == separator;
}

void CInDatabaseTxt::ReadLine(CTextFile &file, CString &value) {
    file.ReadUntil('\n', CTextFile::kEnd, kTextLimit, value);
}

int32_t CInDatabaseTxt::Load(const CString &path) {
    NewRecord();
    CTextFile file;
    if (!file.Open(environment.ResolvePath(path))) return 2;
    while (!file.AtEnd()) {
        CString name, value;
        ReadName(file, name);
        ReadLine(file, value);
        if (!name.IsEmpty() && !value.IsEmpty()) InsertField(name, value);
    }
    return 0;
}
