// Batch iterators over relational text files: "batchidbtxtreltab" over the
// tab-separated input file ("idbtxtreltab"), "batchidbtxtrelcomma" over the
// comma-separated one ("idbtxtrelcomma"); one class, configured by the row of
// its format (tables/table_formats.h), which also names the input kind.
//
// The keys are the fields in the key column of every data row, in file
// order. Here an empty field counts as a position, so a row "p17, , 0.5"
// has 0.5 in its third column. The key column is the last header field equal
// to the key column name. A blank line is not a row, and a row too short to
// reach the key column gives no key. Fields keep at most 255 characters, as
// in the input files.
#pragma once

#include <cstdint>

#include "tables/batch_iterator_db.h"
#include "tables/table_format.h"

class CRelRowBuffer;
class CTextFile;

class CBatchIterDBTxt : public CBatchIteratorDB {
public:
    explicit CBatchIterDBTxt(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment);

    // 0 and inactive unless both the switch and the source parameter exist;
    // 2 when the file cannot be read or its header lacks the key column.
    int32_t Open(CParameters *parameters) override;
    const char *SourceKind() const override { return format.input; }
    // Collects the keys of an open file; 2 without a key column.
    int32_t ReadKeys(CTextFile &file);

    const CTableFormat format;

private:
    // Reads one row, empty fields included; false for a blank line or the
    // end of the file.
    bool ReadRow(CTextFile &file, CRelRowBuffer &fields);
};

// The names under which the two kinds' classes were known.
using CBatchIterDBTxtTab = CBatchIterDBTxt;
using CBatchIterDBTxtComma = CBatchIterDBTxt;
