// The rows of the program's registry of data retrievers and translators.
//
// Every data retriever of the program is a row: its name, its translator,
// where its answer comes from and what kind of answer it is. The rows stand
// in the registry's fixed order: the "notknown" retriever, then per answer
// kind its default, question and table retrievers. Each translator is
// registered right after the last row that names it, so that the registry
// reads: "notknown" and its translator, the probability retrievers and
// "prob", ... the choice retrievers and "choice".
#pragma once

#include <span>

#include "retrieval/retriever_row.h"

class CDataRetriever;
class CDataTranslator;
class CTableEnvironment;
struct CUserInterface;

// The retriever rows in the registry's order.
std::span<const CRetrieverRow> RegistryRetrieverRows();

// The row registered under `name`; null when there is none.
const CRetrieverRow *FindRetrieverRow(const char *name);

// A new retriever of the row's source, configured by the row. A source that
// cannot give the row's kind of answer (a question for "don't know", a
// default for an interval) makes a retriever that always fails.
// A question asks through the windows of `ui`, which must outlive it, and
// lets the tables of `tables` (may be null) go before it waits.
CDataRetriever *NewRetriever(const CRetrieverRow &row, const CUserInterface &ui, CTableEnvironment *tables = nullptr);

// A new translator of the given name; null for an unknown name.
CDataTranslator *NewTranslator(const char *name);
