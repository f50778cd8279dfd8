#include "tables/batch_iter_txt.h"

#include "net/params.h"
#include "tables/rel_text_row.h"
#include "tables/table_params.h"
#include "tables/text_file.h"

CBatchIterDBTxt::CBatchIterDBTxt(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment)
    : CBatchIteratorDB(tableEnvironment), format(tableFormat) {}

int32_t CBatchIterDBTxt::Open(CParameters *parameters) {
    Close();
    if (!parameters->HasParam(format.batch) || !parameters->HasParam(format.input)) return 0;
    keyColumnName = KeyColumnName(parameters, kInputParams);
    CTextFile file;
    if (!file.Open(environment.ResolvePath(parameters->GetParam(format.input)))) return 2;
    return ReadKeys(file);
}

bool CBatchIterDBTxt::ReadRow(CTextFile &file, CStringVector &fields) {
    fields.Reset();
    CString text;
    bool rowEnded = ReadRelField(file, format.separator, text);
    if (rowEnded && text.IsEmpty()) return false;
    fields.Add(text);
    while (!rowEnded) {
        rowEnded = ReadRelField(file, format.separator, text);
        fields.Add(text);
    }
    return true;
}

int32_t CBatchIterDBTxt::ReadKeys(CTextFile &file) {
    StartKeys();
    CStringVector fields;
    int32_t keyPosition = -1;
    if (ReadRow(file, fields)) {
        for (int32_t i = 0; i < fields.Count(); ++i)
            if (fields.At(i).Equals(keyColumnName)) keyPosition = i;
    }
    if (keyPosition < 0) {
        Close();
        return 2;
    }
    while (!file.AtEnd()) {
        if (ReadRow(file, fields) && fields.Count() > keyPosition) keys->Add(fields.At(keyPosition));
    }
    return FinishKeys();
}
