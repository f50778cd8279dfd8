// TNextQuestionsList: the panel beside a question window that lists what the
// investigation of the current goal may ask next, and where the goal would
// stand if each were answered surely yes or surely no.
//
// The caption names the goal and its current value; the list has the
// columns "Question", "Score", "Goal if yes" and "Goal if no", highest score
// first, the question being asked in bold. A goal's value that an answer would raise reads green, one it would
// lower red, so the questions that matter stand out.
#pragma once

#include <QWidget>

#include "app/next_question_rows.h"

class QLabel;
class QTreeWidget;

class TNextQuestionsList : public QWidget {
    Q_OBJECT
public:
    explicit TNextQuestionsList(QWidget *parent);

    // Replaces what is shown; nothing to show hides the panel.
    void Show(const TNextQuestions &next);

    QLabel *caption;
    QTreeWidget *list;

private:
    void WidenForNames();
};
