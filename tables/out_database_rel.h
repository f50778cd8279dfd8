// Relational output files: one row per consultation appended under the
// file's header row; tab-separated ("odbtxtreltab") or comma-separated
// ("odbtxtrelcomma"); one class, configured by the row of its
// format (tables/table_formats.h).
//
// The file must exist with a header naming the key column and the nodes of
// interest; it is never created. The header is read with the rules of the
// relational input files (so it ends at an empty field). Each column of the
// appended row holds the key value when the column is the key column, the
// current value ("%f") of the node of exactly that name, or "?" (don't
// know).
//
// The file is held under an exclusive lock from reading its header to
// writing the row, and the row is written with one call (see
// foundation/safe_file.h), so runs appending to one file at the same time
// never mix their rows, and a row that cannot be written whole (a full disk)
// is taken back off. A last line without its line end is looked at first:
// the header, or a row with all the header's fields, is ended so that the
// new row cannot run into it; a shorter one is what an interrupted writer
// left, and is cut off rather than extended.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/safe_file.h"
#include "foundation/string_collections.h"
#include "tables/out_database.h"
#include "tables/table_environment.h"
#include "tables/table_format.h"
#include "tables/text_file.h"

class COutDatabaseRel : public COutDatabase {
public:
    explicit COutDatabaseRel(const CTableFormat &tableFormat, CTableEnvironment &tableEnvironment);
    ~COutDatabaseRel() override;

    int32_t GetName(CString &kindName) override;
    // 0 without the kind's parameter or a key (nothing to write); 2 when
    // the name is refused or the file cannot be read or appended to.
    int32_t Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource *source) override;

    // Reads one header field with the separator of the kind; true when the
    // row ended.
    bool ReadField(CTextFile &source, CString &text);
    void CloseFile();
    // Opens and locks the file `name` below the knowledge base's directory
    // (a shard's own file of it) and reads its header row into
    // `headerNames`; 2 when it cannot.
    int32_t ReadHeader(const std::string &name);
    // Starts an empty shard file with the header line of the output `name`;
    // false when that cannot be read or the line written.
    bool CopyHeaderLine(const std::string &name);
    // Appends the row of the consultation; 2 when writing fails.
    int32_t WriteRow(CInferenceNet *net);
    char GetSeparator() const { return format.separator; }

    const CTableFormat format;
    CStringVector headerNames;
    CString keyColumnName;
    CString keyValue;

protected:
    CTableEnvironment &environment;
    quorvin::CLockedAppend file;  // open and locked while writing

private:
    // Records the failure of writing the file `name`; 2.
    int32_t Fail(const CString &name, const std::string &why);
    // What goes before the new row when the last line lacks its line end:
    // a line end, or nothing after cutting an interrupted row off.
    bool EndLastLine(std::string &prefix);
    // The row's text for one column.
    CString ColumnText(const CString &column, CInferenceNet *net) const;

    // The header is kept from row to row while the file is the one it was
    // read from (the same path below the same directory) and nothing but
    // this table has written to it: its stamp is the one after the last row.
    bool headerKept = false;
    std::string keptPath;
    CFileStamp keptStamp;
    int64_t lockedSize = 0;  // of the file while this table holds its lock
};
