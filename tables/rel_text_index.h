// The data rows of a relational text file, found by key.
//
// Selecting a row by key reads the rows in order and takes the first whose
// key field equals the key, stopping at the first row without fields or too
// short to reach the key column. The index holds the outcome of that search
// for every key at once: the rows before the stop, each under its key, the
// first row of a key winning. A batch run then reads its file once instead of
// once per key; the index is built again when the file or the key column
// name changes. Equal field texts share one string.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "foundation/string_collections.h"
#include "tables/rel_text_row.h"
#include "tables/text_file.h"

class CRelTextIndex {
public:
    // True when the index was built from the file as it is now, for this key
    // column name.
    bool Matches(const CFileStamp &stamp, const CString &keyColumnName) const;
    // Empties the index and records what it is built from. Without a
    // readable file it stays empty.
    void Start(const CFileStamp &stamp, const CString &keyColumnName);
    // Sets the header and finds the key column (the first name equal to the
    // key column name; -1 when there is none).
    void SetHeader(const CStringVector &names);
    // Offers the next data row; false when the row ends the search.
    bool AddRow(const CRelRowBuffer &fields);
    // The row of a key, or null.
    const std::vector<CString> *Find(const CString &key) const;
    void Clear();

    std::vector<CString> headerNames;
    int32_t keyColumn = -1;

private:
    // The string of a field text, shared with every earlier field of the
    // same text.
    CString SharedText(const char *text);

    bool built = false;
    CFileStamp fileStamp;
    std::string columnName;
    std::unordered_map<std::string, std::vector<CString>> rows;
    // Texts recur from row to row (a "?", a choice, a rounded number): one
    // string each, up to a bound, instead of a string per field.
    struct CTextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, CString, CTextHash, std::equal_to<>> sharedTexts;
};
