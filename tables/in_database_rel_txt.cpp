#include "tables/in_database_rel_txt.h"

#include <algorithm>

#include "net/params.h"
#include "tables/rel_text_row.h"
#include "tables/table_params.h"
#include "tables/text_file.h"

int32_t CInDatabaseRelTxt::Open(CParameters *parameters) {
    active = false;
    CString key;
    if (!parameters->HasParam(format.input) || !KeyValue(parameters, kInputParams, key)) {
        ClearRecord();
        return 0;
    }
    int32_t status = Load(parameters->GetParam(format.input), KeyColumnName(parameters, kInputParams), key);
    active = status == 0;
    return status;
}

int32_t CInDatabaseRelTxt::ReadIndex(const std::string &path, const CFileStamp &stamp,
                                     const CString &keyColumnName) {
    index.Clear();
    CTextFile file;
    if (!file.Open(path)) return 2;
    index.Start(stamp, keyColumnName);
    CRelRowBuffer row;
    ReadRelRow(file, format.separator, row);
    CStringVector header;
    row.CopyInto(header);
    index.SetHeader(header);
    if (index.keyColumn < 0) return 0;
    do {
        ReadRelRow(file, format.separator, row);
    } while (index.AddRow(row));
    return 0;
}

int32_t CInDatabaseRelTxt::Load(const CString &path, const CString &keyColumnName, const CString &keyValue) {
    std::string resolved = environment.ResolvePath(path);
    CFileStamp stamp = CFileStamp::Of(resolved);
    if (!index.Matches(stamp, keyColumnName) && ReadIndex(resolved, stamp, keyColumnName) != 0) {
        NewRecord();
        return 2;
    }
    keyColumn = index.keyColumn;
    const std::vector<CString> *row = index.Find(keyValue);
    if (keyColumn < 0 || row == nullptr) {
        NewRecord();
        return 2;
    }
    LoadRow(index.headerNames.data(), row->data(), std::min(row->size(), index.headerNames.size()));
    return 0;
}
