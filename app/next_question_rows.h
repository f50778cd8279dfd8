// What the desktop shows of the next questions of the goal under
// investigation (explain/next_questions.h), as plain data: the window that
// computes them hands them to the question windows through its host.
#pragma once

#include <QString>
#include <vector>

struct TNextQuestionRow {
    QString name;
    QString question;  // the node's text, shown when the pointer rests on the row
    float score = 0.0f;
    float goalIfYes = 0.0f;
    float goalIfNo = 0.0f;
};

struct TNextQuestions {
    QString goal;             // empty: nothing to show
    float goalValue = 0.0f;   // the goal's current value
    QString asked;            // the question being asked now
    std::vector<TNextQuestionRow> rows;  // highest score first
};
