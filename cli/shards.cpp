#include "shards.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "consult/text_consultation.h"
#include "foundation/safe_file.h"
#include "net/params.h"
#include "quiet_build.h"
#include "retrieval/table.h"
#include "tables/table_formats.h"
#include "tables/table_params.h"
#include "tables/text_outputs.h"

namespace {

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The batch's keys in the order one run consults them.
std::vector<std::string> BatchKeys(CTextConsultation &consultation) {
    std::vector<std::string> keys;
    CParameters &parameters = *consultation.Parameters();
    CTable &table = *consultation.Table();
    table.OpenBatch(&parameters);
    while (table.BatchActive() && table.NextBatchRecord(&parameters) == 0)
        keys.emplace_back(parameters.GetParam("odbrecord").Text());
    return keys;
}

std::vector<std::string> FileLines(const std::filesystem::path &path, bool &read) {
    std::ifstream in(path, std::ios::binary);
    read = static_cast<bool>(in);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string &line, char separator) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

// One shard's rows of a relational output, read in order.
struct ShardRows {
    std::vector<std::string> rows;
    size_t next = 0;
    int keyColumn = -1;  // -1: no key column, rows are taken as they come
};

// The rows of every shard in the order of the keys. A key whose shard has
// no row for it (a case without a record) has no row here either.
bool MergeRows(std::vector<ShardRows> &shards, const std::vector<std::string> &keys, char separator,
               std::string &merged, std::string &reason) {
    const size_t count = shards.size();
    for (size_t position = 0; position < keys.size(); ++position) {
        ShardRows &shard = shards[position % count];
        if (shard.next >= shard.rows.size()) continue;
        const std::string &row = shard.rows[shard.next];
        const std::vector<std::string> fields = Fields(row, separator);
        const bool matches = shard.keyColumn < 0 ||
                             (static_cast<size_t>(shard.keyColumn) < fields.size() && fields[shard.keyColumn] == keys[position]);
        if (!matches) continue;
        merged += row + "\n";
        ++shard.next;
    }
    for (size_t k = 0; k < count; ++k) {
        if (shards[k].next == shards[k].rows.size()) continue;
        reason = "shard " + CShard{static_cast<int32_t>(k), static_cast<int32_t>(count)}.Label() +
                 " has rows for keys that are not its own";
        return false;
    }
    return true;
}

bool MergeRelational(const CTextOutput &output, CParameters &parameters, const std::filesystem::path &directory,
                     const std::vector<std::string> &keys, int32_t count, std::string &reason) {
    const std::string keyColumn = KeyColumnName(&parameters, kOutputParams).Text();
    std::vector<ShardRows> shards(count);
    for (int32_t k = 0; k < count; ++k) {
        const std::string name = CShard{k, count}.FileName(output.name);
        bool read = false;
        std::vector<std::string> lines = FileLines(directory / name, read);
        if (!read) {
            reason = "cannot read " + name;
            return false;
        }
        if (lines.empty()) continue;  // a shard without keys
        const std::vector<std::string> header = Fields(lines.front(), output.format->separator);
        for (size_t i = 0; i < header.size(); ++i)
            if (header[i] == keyColumn) shards[k].keyColumn = static_cast<int>(i);
        shards[k].rows.assign(lines.begin() + 1, lines.end());
    }
    std::string merged;
    if (!MergeRows(shards, keys, output.format->separator, merged, reason)) return false;
    if (!std::filesystem::is_regular_file(directory / output.name)) {
        reason = output.name + " does not exist: a relational output must exist before the run";
        return false;
    }
    return merged.empty() || quorvin::AppendRecord(directory.string(), output.name, merged, reason);
}

bool MergeNameValue(const CTextOutput &output, const std::filesystem::path &directory,
                    const std::vector<std::string> &keys, int32_t count, std::string &reason) {
    if (keys.empty()) return true;
    const std::string name = CShard{static_cast<int32_t>((keys.size() - 1) % count), count}.FileName(output.name);
    std::ifstream in(directory / name, std::ios::binary);
    if (!in) {
        reason = "cannot read " + name;
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return quorvin::ReplaceFile(directory.string(), output.name, content.str(), reason);
}

}  // namespace

std::optional<CShard> ParseShard(const std::string &text) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto k = WholeNumber(std::string_view(text).substr(0, slash));
    const auto n = WholeNumber(std::string_view(text).substr(slash + 1));
    if (!k || !n || *k < 1 || *k > *n) return std::nullopt;
    return CShard{*k - 1, *n};
}

bool StartShardOutputs(CParameters &parameters, const std::string &directory, const CShard &shard,
                       std::string &reason) {
    for (const CTextOutput &output : TextOutputs(parameters))
        if (!quorvin::ReplaceFile(directory, shard.FileName(output.name), "", reason)) return false;
    return true;
}

int MergeShards(const std::string &knowledgeBase, const std::string &countText) {
    const auto count = WholeNumber(countText);
    if (!count || *count < 1) {
        std::fprintf(stderr, "quorvin-cli: --shards needs a whole number from 1\n");
        return 64;
    }
    QuietBuild build(knowledgeBase);
    if (!build.Built()) return 1;
    CTextConsultation &consultation = build.Consultation();
    consultation.Environment().baseDirectory = build.Directory().c_str();
    const std::filesystem::path directory = build.Directory().empty() ? "." : build.Directory();
    std::string reason;
    const std::vector<std::string> keys = BatchKeys(consultation);
    CParameters &parameters = *consultation.Parameters();
    for (const CTextOutput &output : TextOutputs(parameters)) {
        const bool merged = output.format->form == CTableForm::Relational
                                ? MergeRelational(output, parameters, directory, keys, *count, reason)
                                : MergeNameValue(output, directory, keys, *count, reason);
        if (!merged) {
            std::fprintf(stderr, "quorvin-cli: %s: %s\n", output.name.c_str(), reason.c_str());
            return 2;
        }
        std::printf("Merged %d shards into %s.\n", *count, output.name.c_str());
    }
    return 0;
}
