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

bool CBatchIterDBTxt::ReadRow(CTextFile &file, CRelRowBuffer &fields) {
    fields.Clear();
    bool rowEnded = ReadRelField(file, format.separator, fields.Add());
    if (rowEnded && fields.IsEmpty(0)) return false;
    while (!rowEnded) rowEnded = ReadRelField(file, format.separator, fields.Add());
    return true;
}

int32_t CBatchIterDBTxt::ReadKeys(CTextFile &file) {
    StartKeys();
    // Only the key field of a row is kept; the others are read into the
    // buffers and dropped.
    CRelRowBuffer fields;
    int32_t keyPosition = -1;
    if (ReadRow(file, fields)) {
        for (int32_t i = 0; i < fields.Count(); ++i)
            if (CString(fields.Text(i)).Equals(keyColumnName)) keyPosition = i;
    }
    if (keyPosition < 0) {
        Close();
        return 2;
    }
    while (!file.AtEnd()) {
        if (ReadRow(file, fields) && fields.Count() > keyPosition) keys->Add(CString(fields.Text(keyPosition)));
    }
    return FinishKeys();
}
