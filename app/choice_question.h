// TfrmChoice: the choice question - a single-selection list of the node's
// options. Every showing selects the first option and focuses the list;
// the arrow keys move the selection. Enter presses "&Accept" (the default
// button) and accepts the option shown selected, as a double click on an
// option does; "Don't know" (Esc) and the close box close without
// accepting. The selected option stays highlighted when the focus leaves
// the list, and a Ctrl+click on it does not unselect it.
#pragma once

#include <QListWidget>

#include "app/abstract_question.h"
#include "ui/choice_question_window.h"

class TfrmChoice : public TQuestionWindow<IChoiceQuestionWindow> {
public:
    explicit TfrmChoice(QWidget *main);

    void SetOptions(const CStringVector &options) override;
    void Select(int32_t position) override;
    int32_t Selection() const override;

    QListWidget *lbChoice;
    QPushButton *bttAccept;
    QPushButton *bttDontKnow;

protected:
    void FocusInput() override { lbChoice->setFocus(); }
};
