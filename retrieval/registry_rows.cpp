#include "retrieval/registry_rows.h"

#include <cstring>

#include "retrieval/choice_translator.h"
#include "retrieval/db_retrievers.h"
#include "retrieval/default_retrievers.h"
#include "retrieval/question_retrievers.h"
#include "retrieval/simple_translators.h"
#include "retrieval/value_translators.h"

namespace {

using enum CAnswerSource;
using enum CAnswerKind;

constexpr CRetrieverRow kRetrieverRows[] = {
    {"notknown", "notknown", Default, DontKnow},

    {"dnprob", "prob", Default, Probability},
    {"winprob", "prob", Question, Probability},
    {"dbprob", "prob", Database, Probability},

    {"dncf", "cf", Default, CertaintyFactor},
    {"wincf", "cf", Question, CertaintyFactor},
    {"dbcf", "cf", Database, CertaintyFactor},

    {"dnvalue", "value", Default, Value},
    {"winvalue", "value", Question, Value},
    {"wins", "value", Question, Value},
    {"dns", "value", Default, Value},
    {"dbvalue", "value", Database, Value},
    {"dbs", "value", Database, Value},

    {"dnvaluex", "valuex", Default, Value},
    {"winvaluex", "valuex", Question, Value},
    {"winsx", "valuex", Question, Value},
    {"dnsx", "valuex", Default, Value},
    {"dbvaluex", "valuex", Database, Value},
    {"dbx", "valuex", Database, Value},

    {"wininterval", "interval", Question, Interval},
    {"winq", "interval", Question, Interval},

    {"dnchoice", "choice", Default, Choice},
    {"winchoice", "choice", Question, Choice},
    {"dbchoice", "choice", Database, Choice},
};

template <typename Translator>
CDataTranslator *New() {
    return new Translator;
}

struct TranslatorRow {
    const char *name;
    CDataTranslator *(*create)();
};

constexpr TranslatorRow kTranslatorRows[] = {
    {"notknown", New<CDTDontKnow>}, {"prob", New<CDTProb>},         {"cf", New<CDTCertFactor>},
    {"value", New<CDTValue>},       {"valuex", New<CDTValueEx>},    {"interval", New<CDTInterval>},
    {"choice", New<CDTChoice>},
};

}  // namespace

std::span<const CRetrieverRow> RegistryRetrieverRows() { return kRetrieverRows; }

const CRetrieverRow *FindRetrieverRow(const char *name) {
    for (const CRetrieverRow &row : kRetrieverRows)
        if (std::strcmp(row.name, name) == 0) return &row;
    return nullptr;
}

CDataRetriever *NewRetriever(const CRetrieverRow &row, const CUserInterface &ui, CTableEnvironment *tables) {
    switch (row.source) {
    case Default: return new CDRDefault(row);
    case Question: return new CDRQuestion(row, ui, tables);
    case Database: return new CDRDatabase(row);
    }
    return nullptr;
}

CDataTranslator *NewTranslator(const char *name) {
    for (const TranslatorRow &row : kTranslatorRows)
        if (std::strcmp(row.name, name) == 0) return row.create();
    return nullptr;
}
