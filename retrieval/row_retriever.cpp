#include "retrieval/row_retriever.h"

#include "retrieval/choice_abstract.h"

int32_t CRowRetriever::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, row.name, row.translator);
}

int32_t CRowRetriever::ReadParameters(ITokenReader *compiler, CParamRecord *&data) {
    if (row.answer != CAnswerKind::Choice) return 0;
    return ReadChoiceList(compiler, data);
}
