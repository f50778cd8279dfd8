// Searching an editor's text forward, with the options of the find and
// replace dialogs: match case, and whole words only (a match must not touch
// a letter, a digit or "_" on either side).
#pragma once

#include <QString>

struct TSearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
};

// The position of the first match of `what` in `text` that starts at or
// after `from`; -1 when there is none or `what` is empty.
qsizetype FindForward(const QString &text, const QString &what, qsizetype from, TSearchOptions options);
