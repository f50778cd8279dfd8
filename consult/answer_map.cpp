#include "consult/answer_map.h"

bool CAnswerMap::Answer(const CTextQuestion &question, std::string &line) {
    const auto found = answers.find(question.name);
    const bool mapped = found != answers.end();
    if (question.rejection.empty() && mapped) {
        line = found->second;
        return true;
    }
    if (fallback != nullptr) return fallback->Answer(question, line);
    if (question.rejection.empty()) {
        line.clear();  // "Don't know"
        return true;
    }
    refusal = mapped ? "the answer \"" + found->second + "\" for " + question.name + " was refused: " +
                           question.rejection
                     : question.name + " has no answer, and its question refuses \"Don't know\": " +
                           question.rejection;
    return false;
}
