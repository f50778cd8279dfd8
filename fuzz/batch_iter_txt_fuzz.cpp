// Fuzz target for the batch iterators over relational text files, both
// kinds.
//
// The first line of the input names the key column ("idbheadername"; an
// empty line leaves the default "header"), the rest is the file. It is
// written once and opened as a knowledge base switches a batch run on:
// "batchidbtxtreltab" with "idbtxtreltab" naming the file relative to the
// knowledge base's directory (then the comma kind). Every key is then handed
// out. Besides the sanitizers' checks it traps when opening returns other
// than 0 or 2, an iterator is active without keys, `Next` hands out more or
// fewer keys than were read or does not fail after the last, a key handed
// out does not reach all three record parameters, a key is not a field of
// the file (a piece between separators and line ends, cut to 255
// characters), or there are more keys than data lines.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "net/params.h"
#include "scratch_environment.h"
#include "scratch_file.h"
#include "tables/table_formats.h"
#include "tables/batch_iter_txt.h"
#include "tables/rel_text_row.h"
#include "tables/table_environment.h"

namespace {

// The file as the readers see it: CR LF is one LF.
std::string WithLineFeeds(const std::string &bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += bytes[i];
    }
    return text;
}

// Every piece of the text between separators and line ends, as a field
// holds it: at most 255 characters, and nothing from a zero byte on.
std::set<std::string> FieldsOf(const std::string &text, char separator) {
    std::set<std::string> fields;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != separator && text[i] != '\n') continue;
        std::string field = text.substr(start, std::min<size_t>(i - start, kRelFieldLimit));
        fields.insert(field.substr(0, field.find('\0')));
        start = i + 1;
    }
    return fields;
}

// The lines of the text that can hold a row, the header's included.
int32_t LinesOf(const std::string &text) {
    int32_t lines = 0;
    for (char c : text)
        if (c == '\n') ++lines;
    return lines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void IterateAs(CBatchIterDBTxt &iterator, const char *switchName, const char *sourceName, char separator,
               const std::string &column, const std::string &text) {
    CParameters parameters;
    parameters.SetParam(switchName, "");
    parameters.SetParam(sourceName, "cases.txt");
    if (!column.empty()) parameters.SetParam("idbheadername", column.c_str());
    const int32_t status = iterator.Open(&parameters);
    Require(status == 0 || status == 2);
    if (status != 0) {
        Require(!iterator.active && iterator.keys == nullptr);
        return;
    }
    const int32_t read = iterator.keys == nullptr ? 0 : iterator.keys->Count();
    Require(iterator.active == (read > 0));
    Require(read == 0 || read < LinesOf(text));
    const std::set<std::string> fields = FieldsOf(text, separator);
    int32_t handedOut = 0;
    while (iterator.active) {
        Require(handedOut < read);
        Require(iterator.Next(&parameters) == 0);
        ++handedOut;
        // Compared as texts: an empty CString equals nothing, itself included.
        const std::string key = parameters.GetParam("dbrecord").Text();
        Require(key == parameters.GetParam("idbrecord").Text() && key == parameters.GetParam("odbrecord").Text());
        Require(fields.count(key) == 1);
    }
    Require(handedOut == read);
    Require(iterator.keys == nullptr);
    Require(iterator.Next(&parameters) == 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static ScratchFile file("cases.txt");
    static CTableEnvironment *environment = &ScratchEnvironment(file);
    const std::string input(reinterpret_cast<const char *>(data), size);
    const size_t lineEnd = input.find('\n');
    if (lineEnd == std::string::npos) return 0;
    // A parameter holds no zero byte, as a knowledge base cannot write one.
    const std::string column = input.substr(0, lineEnd);
    if (column.find('\0') != std::string::npos) return 0;
    file.Write(data + lineEnd + 1, size - lineEnd - 1);
    const std::string text = WithLineFeeds(input.substr(lineEnd + 1));
    CBatchIterDBTxt tab(*FindTableFormat("idbtxtreltab"), *environment);
    IterateAs(tab, "batchidbtxtreltab", "idbtxtreltab", '\t', column, text);
    CBatchIterDBTxt comma(*FindTableFormat("idbtxtrelcomma"), *environment);
    IterateAs(comma, "batchidbtxtrelcomma", "idbtxtrelcomma", ',', column, text);
    return 0;
}
