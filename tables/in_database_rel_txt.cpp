#include "tables/in_database_rel_txt.h"

#include "net/params.h"
#include "tables/rel_text_row.h"
#include "tables/table_params.h"
#include "tables/text_file.h"

CInDatabaseRelTxtTab::CInDatabaseRelTxtTab(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

int32_t CInDatabaseRelTxtTab::GetName(CString &kindName) {
    kindName = "idbtxtreltab";
    return 0;
}

int32_t CInDatabaseRelTxtTab::Open(CParameters *parameters) {
    active = false;
    CString kind, key;
    GetName(kind);
    if (!parameters->HasParam(kind) || !KeyValue(parameters, kInputParams, key)) {
        ClearRecord();
        return 0;
    }
    int32_t status = Load(parameters->GetParam(kind), KeyColumnName(parameters, kInputParams), key);
    active = status == 0;
    return status;
}

bool CInDatabaseRelTxtTab::ReadField(CTextFile &file, CString &text) { return ReadRelField(file, '\t', text); }

int32_t CInDatabaseRelTxtTab::ReadIndex(const std::string &path, const CFileStamp &stamp,
                                        const CString &keyColumnName) {
    index.Clear();
    CTextFile file;
    if (!file.Open(path)) return 2;
    index.Start(stamp, keyColumnName);
    auto readField = [this](CTextFile &source, CString &text) { return ReadField(source, text); };
    CStringVector fields;
    ReadRelRow(file, readField, fields);
    index.SetHeader(fields);
    if (index.keyColumn < 0) return 0;
    do {
        ReadRelRow(file, readField, fields);
    } while (index.AddRow(fields));
    return 0;
}

int32_t CInDatabaseRelTxtTab::Load(const CString &path, const CString &keyColumnName, const CString &keyValue) {
    NewRecord();
    std::string resolved = environment.ResolvePath(path);
    CFileStamp stamp = CFileStamp::Of(resolved);
    if (!index.Matches(stamp, keyColumnName) && ReadIndex(resolved, stamp, keyColumnName) != 0) return 2;
    keyColumn = index.keyColumn;
    const std::vector<CString> *row = index.Find(keyValue);
    if (keyColumn < 0 || row == nullptr) return 2;
    for (size_t i = 0; i < row->size() && i < index.headerNames.size(); ++i)
        InsertField(index.headerNames[i], (*row)[i]);
    return 0;
}

int32_t CInDatabaseRelTxtComma::GetName(CString &kindName) {
    kindName = "idbtxtrelcomma";
    return 0;
}

bool CInDatabaseRelTxtComma::ReadField(CTextFile &file, CString &text) { return ReadRelField(file, ',', text); }
