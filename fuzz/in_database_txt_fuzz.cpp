// Fuzz target for the name-value input files, both kinds.
//
// The input is the file. It is written once and read as a knowledge base
// would have it read: the parameter "idbtxttab" (then "idbtxtcomma") names
// the file relative to the knowledge base's directory. Besides the
// sanitizers' checks it traps when the record differs from a plain reading
// of the file (the name up to the separator, the value up to the line end,
// CR LF as LF, both cut to 254 characters and
// at a zero byte, empty pairs skipped, the first of
// a name winning), or when a field of the record breaks the limits: a name
// or value longer than 254 characters or empty, a separator in a name, a
// line end in a value, or a lookup that does not find a field's own text.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

#include "net/params.h"
#include "scratch_environment.h"
#include "scratch_file.h"
#include "tables/table_formats.h"
#include "tables/in_database_txt.h"
#include "tables/table_environment.h"

namespace {

using Record = std::map<std::string, std::string>;

// The file as the readers see it: CR LF is one LF.
std::string WithLineFeeds(const uint8_t *data, size_t size) {
    std::string text;
    text.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') continue;
        text += static_cast<char>(data[i]);
    }
    return text;
}

// Reads up to `stop` (consumed) or the end; keeps the first `limit` bytes,
// and of those the part before a zero byte, as a text field holds no zero.
std::string Until(const std::string &text, size_t &at, char stop, size_t limit) {
    const size_t end = std::min(text.find(stop, at), text.size());
    std::string field = text.substr(at, std::min(end - at, limit));
    at = end < text.size() ? end + 1 : end;
    return field.substr(0, field.find('\0'));
}

// The pairs the file holds, read the plain way.
Record Expected(const std::string &text, char separator) {
    const size_t limit = CInDatabaseTxt::kTextLimit;
    Record record;
    size_t at = 0;
    while (at < text.size()) {
        std::string name = Until(text, at, separator, limit);
        std::string value = Until(text, at, '\n', limit);
        if (!name.empty() && !value.empty()) record.emplace(name, value);
    }
    return record;
}

// The fields of a loaded record, each checked against the limits.
Record Loaded(CInDatabaseTxt &table, char separator) {
    Record record;
    Require(table.record != nullptr);
    CStringHTable &fields = *table.record;
    for (int32_t slot = 0; slot < fields.Size(); ++slot) {
        const CString &name = fields.KeyAt(slot);
        if (name.IsEmpty()) continue;
        const CString value = fields.ValueAt(slot);
        Require(name.Length() <= CInDatabaseTxt::kTextLimit);
        Require(value.Length() >= 1 && value.Length() <= CInDatabaseTxt::kTextLimit);
        const std::string nameText(name.Text(), static_cast<size_t>(name.Length()));
        const std::string valueText(value.Text(), static_cast<size_t>(value.Length()));
        Require(nameText.find(separator) == std::string::npos);
        Require(valueText.find('\n') == std::string::npos);
        Require(table.HasField(name) && table.FieldText(name).Equals(value));
        Require(record.emplace(nameText, valueText).second);
    }
    Require(static_cast<int32_t>(record.size()) == fields.Count());
    return record;
}

void ReadAs(CInDatabaseTxt &table, const char *kind, char separator, const std::string &text) {
    CParameters parameters;
    parameters.SetParam(kind, "cases.txt");
    Require(table.Open(&parameters) == 0);
    Require(table.active);
    Require(Loaded(table, separator) == Expected(text, separator));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static ScratchFile file("cases.txt");
    static CTableEnvironment *environment = &ScratchEnvironment(file);
    file.Write(data, size);
    const std::string text = WithLineFeeds(data, size);
    CInDatabaseTxt tab(*FindTableFormat("idbtxttab"), *environment);
    ReadAs(tab, "idbtxttab", '\t', text);
    CInDatabaseTxt comma(*FindTableFormat("idbtxtcomma"), *environment);
    ReadAs(comma, "idbtxtcomma", ',', text);
    return 0;
}
