// Knowledge bases and case tables made up for measuring, of any size.
//
// A layered net: the bottom layer holds the askable readings, each taking
// its value from the case table with one of the table retrievers (numbers
// through a value table, certainty factors, probabilities, choices), every
// higher layer about half as wide as the one below it, each of its nodes
// the target of about three rules from nodes of the layer below, and the top
// layer the goals. Every name shares a long prefix, as names of a large
// plant model do, so that hashing and comparing them is not made easy.
// Everything is drawn from a fixed seed: the same size gives the same text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvin::bench {

struct GeneratedBase {
    std::string text;                    // the knowledge base
    std::vector<std::string> readings;   // the askable nodes, in order
    std::vector<std::string> goals;      // in order
    int64_t nodes = 0;
    int64_t rules = 0;
};

// Where a knowledge base reads its cases from.
enum class CaseSource {
    none,             // no table: every reading keeps its prior (retrieval still runs)
    textTable,        // a relational tab file, one case per row ("cases.tsv")
    textBatch,        // the same file run as a batch, verdicts to "verdicts.tsv"
    sqliteBatch,      // table "cases" of the SQLite file "cases.db" as a batch
};

GeneratedBase LayeredKnowledgeBase(int64_t nodes, CaseSource source);

// The relational tab file of `cases` cases for `base`: a header of "case"
// and the readings, then one row per case, readings of every kind with a
// "?" (not taken) now and then.
std::string CaseTable(const GeneratedBase &base, int64_t cases);

// The header of the verdicts file that the batches append their rows to.
std::string VerdictsHeader(const GeneratedBase &base);

// The same cases as the SQLite table "cases" in the file `path` (replaced).
// False with SQLite's message when it cannot be written.
bool WriteSqliteCases(const GeneratedBase &base, int64_t cases, const std::string &path, std::string &error);

}  // namespace quorvin::bench
