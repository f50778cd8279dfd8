// The table formats of the program's registry, as rows, and the tables they
// make.
//
// The registry registers the input kinds in the order of the rows, then the
// output kinds, then the batch iterators (the name-value formats have none).
// A text kind's class is configured by its row; the engine kinds are
// classes of their own that know their names, and their row places them in
// the order.
#pragma once

#include <array>

#include "tables/table_environment.h"
#include "tables/table_format.h"

class CInDatabase;
class COutDatabase;
class CBatchIterator;

inline constexpr std::array<CTableFormat, 5> kTableFormats = {{
    // input          output            batch iterator         form                    separator
    {"idbtxttab",      "odbtxttab",      "",                    CTableForm::NameValue,  '\t'},
    {"idbtxtcomma",    "odbtxtcomma",    "",                    CTableForm::NameValue,  ','},
    {"idbtxtreltab",   "odbtxtreltab",   "batchidbtxtreltab",   CTableForm::Relational, '\t'},
    {"idbtxtrelcomma", "odbtxtrelcomma", "batchidbtxtrelcomma", CTableForm::Relational, ','},
    {"idbbde",         "odbbde",         "batchidbbde",         CTableForm::Engine,     '\0'},
}};

// The row that names the kind as its input, output or batch iterator kind;
// null when none does.
const CTableFormat *FindTableFormat(const char *kindName);

// New tables of the format's kinds, working in the environment.
CInDatabase *NewInDatabase(const CTableFormat &format, CTableEnvironment &environment);
COutDatabase *NewOutDatabase(const CTableFormat &format, CTableEnvironment &environment);
// Null for a format without a batch iterator.
CBatchIterator *NewBatchIterator(const CTableFormat &format, CTableEnvironment &environment);
