#include "app/text_search.h"

namespace {

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == '_'; }

bool IsWholeWord(const QString &text, qsizetype at, qsizetype length) {
    const bool clearBefore = at == 0 || !IsWordCharacter(text[at - 1]);
    const bool clearAfter = at + length >= text.size() || !IsWordCharacter(text[at + length]);
    return clearBefore && clearAfter;
}

}  // namespace

qsizetype FindForward(const QString &text, const QString &what, qsizetype from, TSearchOptions options) {
    if (what.isEmpty() || from < 0 || from > text.size()) return -1;
    const Qt::CaseSensitivity sensitivity = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = text.indexOf(what, from, sensitivity); at >= 0;
         at = text.indexOf(what, at + 1, sensitivity)) {
        if (!options.wholeWord || IsWholeWord(text, at, what.size())) return at;
    }
    return -1;
}
