#include "tables/in_database_txt.h"

#include "net/params.h"
#include "tables/text_file.h"

CInDatabaseTxtTab::CInDatabaseTxtTab(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

int32_t CInDatabaseTxtTab::GetName(CString &kindName) {
    kindName = "idbtxttab";
    return 0;
}

int32_t CInDatabaseTxtTab::Open(CParameters *parameters) {
    active = false;
    CString kind;
    GetName(kind);
    if (!parameters->HasParam(kind)) {
        ClearRecord();
        return 0;
    }
    int32_t status = Load(parameters->GetParam(kind));
    active = status == 0;
    return status;
}

bool CInDatabaseTxtTab::ReadName(CTextFile &file, CString &name) {
    return file.ReadUntil('\t', CTextFile::kEnd, kTextLimit, name) == '\t';
}

void CInDatabaseTxtTab::ReadLine(CTextFile &file, CString &value) {
    file.ReadUntil('\n', CTextFile::kEnd, kTextLimit, value);
}

int32_t CInDatabaseTxtTab::Load(const CString &path) {
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

int32_t CInDatabaseTxtComma::GetName(CString &kindName) {
    kindName = "idbtxtcomma";
    return 0;
}

bool CInDatabaseTxtComma::ReadName(CTextFile &file, CString &name) {
    return file.ReadUntil(',', CTextFile::kEnd, kTextLimit, name) == ',';
}
