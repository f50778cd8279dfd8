// The database retrievers: a node's answer read from the current record of
// the consultation's input table, in the field named after the node.
//
// The field is looked up by the node's name as written, then in upper case,
// then in lower case; the first form found is the node's field. Every
// retriever fails (2, no record, no message) when there is no input table,
// no such field, or the field's text is unusable, so that the node's next
// retriever is asked. The text "?" is the don't-know answer.
//   "dbprob"    a number in [0, 1]
//   "dbcf"      a certainty factor in [-5, 5], or a word read by its first
//               letter: y/Y is 5, n/N is -5, ? is 0
//   "dbvalue", "dbs", "dbvaluex", "dbx"
//               any number (no range test)
//   "dbchoice"  the option by number from 1 or by letter from a/A; the
//               record holds the zero-based index
// Numbers are written with digits and ",", "-", ".", "E", "e" only; a comma
// is read as the decimal point.
#pragma once

#include <cstdint>

#include "retrieval/choice_abstract.h"
#include "retrieval/data_retriever.h"

class CDRDBProb : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDBCertFact : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDBValue : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDBS : public CDRDBValue {
public:
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDBValueEx : public CDRDBValue {
public:
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDBSX : public CDRDBS {
public:
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

// Reads the option list like every choice retriever. A field that names an
// option beyond the node's list is unusable, like any out-of-range field.
class CDRDBChoice : public CDRChoiceAbstract {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
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
