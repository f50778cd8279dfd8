#include "kb_generator.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <random>

namespace quorvin::bench {

namespace {

constexpr const char *kPrefix = "plant_area_unit_component_";

std::string ReadingName(int64_t i) { return std::string(kPrefix) + "reading_" + std::to_string(i); }
std::string NodeName(int64_t layer, int64_t i) {
    return std::string(kPrefix) + "finding_" + std::to_string(layer) + "_" + std::to_string(i);
}

// One of the four kinds of reading, by position.
int KindOf(size_t reading) { return static_cast<int>(reading % 4); }

std::string ReadingLine(const std::string &name, int kind) {
    switch (kind) {
        case 0:
            return "  " + name + " { 'Vibration velocity, mm/s' (bayesian, 0.3) retriever (dbvalue, dnvalue)" +
                   " translator ((1.8, 2.8, 4.5, 7.1) (0.02, 0.1, 0.4, 0.9)) }\n";
        case 1: return "  " + name + " { 'Is there a noise?' (bayesian, 0.2) retriever (dbcf, dncf) }\n";
        case 2: return "  " + name + " { 'Probability of a leak' (bayesian, 0.15) retriever (dbprob, dnprob) }\n";
        default:
            return "  " + name + " { 'Alignment' (bayesian, 0.25) retriever (dbchoice ('good', 'marginal', 'bad')," +
                   " dnchoice ('good', 'marginal', 'bad')) translator (0.05, 0.4, 0.95) }\n";
    }
}

std::string NetSection(CaseSource source) {
    switch (source) {
        case CaseSource::none: return "";
        case CaseSource::textTable:
            return "net {\n  setparam(idbtxtreltab, \"cases.tsv\")\n  setparam(dbheadername, case_id)\n}\n";
        case CaseSource::textBatch:
            return "net {\n  setparam(batchidbtxtreltab)\n  setparam(idbtxtreltab, \"cases.tsv\")\n"
                   "  setparam(dbheadername, case_id)\n  setparam(odbtxtreltab, \"verdicts.tsv\")\n}\n";
        case CaseSource::sqliteBatch:
            return "net {\n  setparam(batchidbbde)\n  setparam(idbbde, \"cases.db\")\n"
                   "  setparam(idbbdetable, cases)\n  setparam(dbheadername, case_id)\n"
                   "  setparam(odbtxtreltab, \"verdicts.tsv\")\n}\n";
    }
    return "";
}

// The widths of the layers: readings first, each layer about half the one
// below, the last one the goals, the whole adding up to `nodes`.
std::vector<int64_t> LayerWidths(int64_t nodes) {
    nodes = std::max<int64_t>(nodes, 4);
    std::vector<int64_t> widths;
    int64_t left = nodes;
    int64_t width = nodes / 2;
    while (left > 0) {
        width = std::max<int64_t>(std::min(width, left), 1);
        if (left - width < 2) width = left;  // no layer of one node below the goals
        widths.push_back(width);
        left -= width;
        width /= 2;
    }
    return widths;
}

}  // namespace

GeneratedBase LayeredKnowledgeBase(int64_t nodes, CaseSource source) {
    GeneratedBase base;
    std::mt19937_64 random(20261209);
    const std::vector<int64_t> widths = LayerWidths(nodes);
    std::vector<std::vector<std::string>> layers(widths.size());
    std::string text = "// A made-up plant model for measuring: " + std::to_string(nodes) + " nodes.\n";
    text += NetSection(source);
    text += "nodes {\n";
    for (int64_t i = 0; i < widths[0]; ++i) {
        layers[0].push_back(ReadingName(i));
        text += ReadingLine(layers[0].back(), KindOf(static_cast<size_t>(i)));
    }
    for (size_t layer = 1; layer < widths.size(); ++layer) {
        const bool goals = layer + 1 == widths.size();
        for (int64_t i = 0; i < widths[layer]; ++i) {
            layers[layer].push_back(NodeName(static_cast<int64_t>(layer), i));
            const double prior = 0.05 + 0.01 * static_cast<double>(random() % 40);
            text += "  " + layers[layer].back() + " { (bayesian, " + std::to_string(prior).substr(0, 4) +
                    (goals ? ", goal) }\n" : ") }\n");
        }
    }
    text += "}\nrules {\n";
    for (size_t layer = 1; layer < layers.size(); ++layer) {
        const auto &below = layers[layer - 1];
        for (size_t i = 0; i < layers[layer].size(); ++i) {
            // Three different sources, spread over the layer below so that
            // every node below feeds something.
            std::vector<size_t> sources;
            for (size_t k = 0; sources.size() < std::min<size_t>(3, below.size()); ++k) {
                const size_t source = (i * 2 + k * (below.size() / 3 + 1) + random() % 2) % below.size();
                if (std::find(sources.begin(), sources.end(), source) == sources.end()) sources.push_back(source);
            }
            for (size_t source : sources) {
                const int yes = 55 + static_cast<int>(random() % 40);
                const int no = 2 + static_cast<int>(random() % 30);
                text += "  { " + below[source] + ", " + layers[layer][i] + ", 0." + std::to_string(yes) + ", 0." +
                        (no < 10 ? "0" : "") + std::to_string(no) + " }\n";
                ++base.rules;
            }
        }
    }
    text += "}\n";
    base.text = std::move(text);
    base.readings = layers[0];
    base.goals = layers.back();
    base.nodes = std::max<int64_t>(nodes, 4);
    return base;
}

namespace {

const char *Reading(int kind, uint64_t draw) {
    static const char *const values[] = {"1.2", "2.1", "3.3", "5.2", "7.9", "12"};
    static const char *const cfs[] = {"no", "n", "yes", "y", "0", "3", "-2"};
    static const char *const probabilities[] = {"0.05", "0.1", "0.2", "0.9", "0.5"};
    static const char *const choices[] = {"1", "2", "3", "a", "b"};
    if (draw % 11 == 0) return "?";
    switch (kind) {
        case 0: return values[draw % 6];
        case 1: return cfs[draw % 7];
        case 2: return probabilities[draw % 5];
        default: return choices[draw % 5];
    }
}

}  // namespace

std::string CaseTable(const GeneratedBase &base, int64_t cases) {
    std::mt19937_64 random(7);
    std::string table = "case_id";
    for (const std::string &name : base.readings) table += "\t" + name;
    table += "\n";
    for (int64_t c = 0; c < cases; ++c) {
        table += "C-" + std::to_string(100000 + c);
        for (size_t r = 0; r < base.readings.size(); ++r) {
            table += '\t';
            table += Reading(KindOf(r), random());
        }
        table += '\n';
    }
    return table;
}

std::string VerdictsHeader(const GeneratedBase &base) {
    std::string header = "case_id";
    for (const std::string &goal : base.goals) header += "\t" + goal;
    return header + "\n";
}

bool WriteSqliteCases(const GeneratedBase &base, int64_t cases, const std::string &path, std::string &error) {
    std::remove(path.c_str());
    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open(path.c_str(), &raw);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, sqlite3_close);
    if (opened != SQLITE_OK) {
        error = sqlite3_errmsg(raw);
        return false;
    }
    std::string create = "CREATE TABLE cases (case_id TEXT PRIMARY KEY";
    std::string insert = "INSERT INTO cases VALUES (?";
    for (const std::string &name : base.readings) {
        create += ", \"" + name + "\" TEXT";
        insert += ", ?";
    }
    create += ")";
    insert += ")";
    if (sqlite3_exec(db.get(), (create + "; BEGIN").c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db.get());
        return false;
    }
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db.get(), insert.c_str(), -1, &statement, nullptr);
    std::mt19937_64 random(7);
    for (int64_t c = 0; c < cases; ++c) {
        const std::string key = "C-" + std::to_string(100000 + c);
        sqlite3_bind_text(statement, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        for (size_t r = 0; r < base.readings.size(); ++r) {
            const char *value = Reading(KindOf(r), random());
            if (value[0] == '?')
                sqlite3_bind_null(statement, static_cast<int>(r) + 2);
            else
                sqlite3_bind_text(statement, static_cast<int>(r) + 2, value, -1, SQLITE_STATIC);
        }
        sqlite3_step(statement);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    if (sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db.get());
        return false;
    }
    return true;
}

}  // namespace quorvin::bench
