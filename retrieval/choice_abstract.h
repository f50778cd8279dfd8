// CDRChoiceAbstract: the base of the choice retrievers, with the reader of
// their option list.
//
// A node answered by a choice names its options right after the retriever's
// name, in parentheses: `retriever (winchoice (red, green, 'light blue'))`.
// Each option is a name (bare or double-quoted) or a single-quoted text;
// commas between options are optional and one trailing comma is accepted.
// At least one option and at most 255 are allowed; a 256th option fails the
// list. The question retriever shows the options; the table and default
// retrievers read the same list but do not use it when retrieving.
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"
#include "retrieval/data_retriever.h"
#include "retrieval/param_record.h"

// The options of one choice node, in the order written.
class CChoiceList : public CParamRecord {
public:
    static constexpr int32_t kMaxOptions = 255;

    // Copies the texts; callers keep 1 <= texts.Count() <= kMaxOptions.
    explicit CChoiceList(const CStringVector &texts);

    int32_t count;          // number of options, 1 to kMaxOptions
    CStringVector options;  // the option texts
};

class CDRChoiceAbstract : public CDataRetriever {
public:
    // Reads "( option [,] ... )"; the compiler stands on the retriever's name
    // and is left on the closing ")". On success `data` receives a new
    // CChoiceList; on 2 it is left untouched.
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;
};
