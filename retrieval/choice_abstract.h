// The option list of the choice retrievers, and its reader.
//
// A node answered by a choice names its options right after the retriever's
// name, in parentheses: `retriever (winchoice (red, green, 'light blue'))`.
// Each option is a name (bare or double-quoted) or a single-quoted text;
// commas between options are optional and one trailing comma is accepted.
// At least one option and at most 255 are allowed; a 256th option fails the
// list. The question retriever shows the options; the table retriever checks
// a field against their number; the default retriever reads the list and
// does not use it.
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"
#include "retrieval/param_record.h"

class ITokenReader;

// The options of one choice node, in the order written.
class CChoiceList : public CParamRecord {
public:
    static constexpr int32_t kMaxOptions = 255;

    // Copies the texts; callers keep 1 <= texts.Count() <= kMaxOptions.
    explicit CChoiceList(const CStringVector &texts);

    int32_t count;          // number of options, 1 to kMaxOptions
    CStringVector options;  // the option texts
};

// Reads "( option [,] ... )"; the compiler stands on the retriever's name
// and is left on the closing ")". On success `data` receives a new
// CChoiceList; on 2 it is left untouched.
int32_t ReadChoiceList(ITokenReader *compiler, CParamRecord *&data);
