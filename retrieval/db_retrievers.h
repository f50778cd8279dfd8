// The database retrievers: a node's answer read from the current record of
// the consultation's input table, in the field named after the node.
//
// The field is looked up by the node's name as written, then in upper case,
// then in lower case; the first form found is the node's field. Every
// retriever fails (2, no record, no message) when there is no input table,
// no such field, or the field's text is unusable, so that the node's next
// retriever is asked. The text "?" is the don't-know answer.
//
// One class serves them all; its row (retrieval/registry_rows.h) names the
// retriever and its translator and gives the kind of answer the field holds:
//   "dbprob"    a number in [0, 1]
//   "dbcf"      a certainty factor in [-5, 5], or a word read by its first
//               letter: y/Y is 5, n/N is -5, ? is 0
//   "dbvalue", "dbs", "dbvaluex", "dbx"
//               any number (no range test)
//   "dbchoice"  the option by number from 1 or by letter from a/A; the
//               record holds the zero-based index. Reads the option list
//               like every choice retriever; a field that names an option
//               beyond the node's list is unusable.
// Numbers are written with digits and ",", "-", ".", "E", "e" only; a comma
// is read as the decimal point.
#pragma once

#include <cstdint>

#include "retrieval/row_retriever.h"

class CDRDatabase : public CRowRetriever {
public:
    using CRowRetriever::CRowRetriever;

    // A kind that no field can hold (don't know, an interval) fails with 2.
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
};

// The text of the node's field in the table's current input record: the
// node's name as written, in upper or in lower case. False when there is no
// input record or no such field.
bool FindNodeField(CTable *table, const CNode *node, CString &text);

// The conversions of a field text; false when the text is unusable.
bool ProbabilityFromText(const CString &text, float &value, bool &dontKnow);
bool CertaintyFromText(const CString &text, float &value);
bool ValueFromText(const CString &text, float &value, bool &dontKnow);
// `optionCount` < 0 when the number of options is unknown.
bool ChoiceFromText(const CString &text, int32_t optionCount, int32_t &index, bool &dontKnow);
