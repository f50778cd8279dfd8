#include "tables/batch_iter_txt.h"

#include "net/params.h"
#include "tables/rel_text_row.h"
#include "tables/table_params.h"
#include "tables/text_file.h"

int32_t CBatchIterDBTxtTab::Open(CParameters *parameters) {
    return OpenFrom(parameters, "batchidbtxtreltab", "idbtxtreltab");
}

char CBatchIterDBTxtTab::GetSeparator() { return '\t'; }

int32_t CBatchIterDBTxtTab::OpenFrom(CParameters *parameters, const char *switchName, const char *sourceName) {
    Close();
    if (!parameters->HasParam(switchName) || !parameters->HasParam(sourceName)) return 0;
    keyColumnName = KeyColumnName(parameters, kInputParams);
    CTextFile file;
    if (!file.Open(environment.ResolvePath(parameters->GetParam(sourceName)))) return 2;
    return ReadKeys(file);
}

bool CBatchIterDBTxtTab::ReadRow(CTextFile &file, CStringVector &fields) {
    fields.Reset();
    CString text;
    bool rowEnded = ReadRelField(file, GetSeparator(), text);
    if (rowEnded && text.IsEmpty()) return false;
    fields.Add(text);
    while (!rowEnded) {
        rowEnded = ReadRelField(file, GetSeparator(), text);
        fields.Add(text);
    }
    return true;
}

int32_t CBatchIterDBTxtTab::ReadKeys(CTextFile &file) {
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

int32_t CBatchIterDBTxtComma::Open(CParameters *parameters) {
    return OpenFrom(parameters, "batchidbtxtrelcomma", "idbtxtrelcomma");
}

char CBatchIterDBTxtComma::GetSeparator() { return ','; }
