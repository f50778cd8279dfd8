// Fuzz target for the relational input files, both kinds.
//
// The first line of the input says which row is wanted, the rest is the
// file. "COLUMN<TAB>KEY" sets "idbheadername" and "idbrecord" as a knowledge
// base would; a line without a tab sets only "dbrecord", so the key column
// is the default "header". The file is written once and opened through
// "idbtxtreltab" (then "idbtxtrelcomma"), relative to the knowledge base's
// directory, twice per kind: the second opening is answered from the index.
// Besides the sanitizers' checks it traps when an opening returns other than
// 0 or 2 or sets `active` otherwise than on 0, when a loaded record has a
// field name or text that is empty, longer than 255 characters or holds a
// line end or the separator, or a key field other than the key asked for,
// or when the second opening differs from the first.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "net/params.h"
#include "scratch_environment.h"
#include "scratch_file.h"
#include "tables/table_formats.h"
#include "tables/in_database_rel_txt.h"
#include "tables/rel_text_row.h"
#include "tables/table_environment.h"

namespace {

using Record = std::map<std::string, std::string>;

struct Wanted {
    bool ownParams = false;  // "idbheadername" and "idbrecord", else "dbrecord"
    std::string column = "header";
    std::string key;
};

// Splits the first line off the input.
Wanted ReadWanted(const std::string &line) {
    Wanted wanted;
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) {
        wanted.key = line;
        return wanted;
    }
    wanted.ownParams = true;
    wanted.column = line.substr(0, tab);
    wanted.key = line.substr(tab + 1);
    return wanted;
}

bool FieldIsWithinLimits(const CString &text, char separator) {
    if (text.IsEmpty() || text.Length() > kRelFieldLimit) return false;
    const std::string bytes(text.Text(), static_cast<size_t>(text.Length()));
    return bytes.find('\n') == std::string::npos && bytes.find(separator) == std::string::npos;
}

// The fields of a loaded record, each checked against the limits.
Record Loaded(CInDatabaseRelTxt &table, char separator) {
    Record record;
    Require(table.record != nullptr);
    CStringHTable &fields = *table.record;
    for (int32_t slot = 0; slot < fields.Size(); ++slot) {
        const CString &name = fields.KeyAt(slot);
        if (name.IsEmpty()) continue;
        const CString text = fields.ValueAt(slot);
        Require(FieldIsWithinLimits(name, separator) && FieldIsWithinLimits(text, separator));
        Require(table.HasField(name) && table.FieldText(name).Equals(text));
        Require(record.emplace(name.Text(), text.Text()).second);
    }
    return record;
}

// Opens the table; the record when one was loaded, checked, else nothing.
std::pair<int32_t, Record> OpenOnce(CInDatabaseRelTxt &table, CParameters &parameters, const Wanted &wanted,
                                    char separator) {
    const int32_t status = table.Open(&parameters);
    Require(status == 0 || status == 2);
    Require(table.active == (status == 0));
    if (status != 0) return {status, Record()};
    Record record = Loaded(table, separator);
    Require(!record.empty());
    Require(table.keyColumn >= 0);
    const auto key = record.find(wanted.column);
    Require(key != record.end() && key->second == wanted.key);
    return {status, record};
}

void ReadAs(CInDatabaseRelTxt &table, const char *kind, char separator, const Wanted &wanted) {
    CParameters parameters;
    parameters.SetParam(kind, "cases.txt");
    if (wanted.ownParams) {
        parameters.SetParam("idbheadername", wanted.column.c_str());
        parameters.SetParam("idbrecord", wanted.key.c_str());
    } else {
        parameters.SetParam("dbrecord", wanted.key.c_str());
    }
    const auto first = OpenOnce(table, parameters, wanted, separator);
    const auto again = OpenOnce(table, parameters, wanted, separator);
    Require(first == again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static ScratchFile file("cases.txt");
    static CTableEnvironment *environment = &ScratchEnvironment(file);
    const std::string input(reinterpret_cast<const char *>(data), size);
    const size_t lineEnd = input.find('\n');
    if (lineEnd == std::string::npos) return 0;
    // A parameter holds no zero byte, as a knowledge base cannot write one.
    const std::string line = input.substr(0, lineEnd);
    if (line.find('\0') != std::string::npos) return 0;
    const Wanted wanted = ReadWanted(line);
    file.Write(data + lineEnd + 1, size - lineEnd - 1);
    CInDatabaseRelTxt tab(*FindTableFormat("idbtxtreltab"), *environment);
    ReadAs(tab, "idbtxtreltab", '\t', wanted);
    CInDatabaseRelTxt comma(*FindTableFormat("idbtxtrelcomma"), *environment);
    ReadAs(comma, "idbtxtrelcomma", ',', wanted);
    return 0;
}
