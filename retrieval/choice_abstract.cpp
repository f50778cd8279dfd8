#include "retrieval/choice_abstract.h"

#include "foundation/token_reader.h"

CChoiceList::CChoiceList(const CStringVector &texts) : count(texts.Count()) {
    for (int32_t i = 0; i < texts.Count(); ++i) options.Add(texts.At(i));
}

int32_t ReadChoiceList(ITokenReader *compiler, CParamRecord *&data) {
    if (compiler->Next() != tokLeftParen) return 2;
    CStringVector texts;
    TToken token = compiler->Next();
    while (token != tokRightParen) {
        // The end of the source and a lexical fault are neither names nor
        // texts, so they stop the list here.
        if (token != tokName && token != tokText) return 2;
        if (texts.Count() == CChoiceList::kMaxOptions) return 2;
        texts.Add(CString(compiler->Text()));
        token = compiler->Next();
        if (token == tokComma) token = compiler->Next();
    }
    if (texts.Count() == 0) return 2;
    data = new CChoiceList(texts);
    return 0;
}
