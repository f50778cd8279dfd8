// The question windows with the row of eleven certainty buttons: the
// certainty question (TfrmYesNoQuestion) and the interval question
// (TfrmOneIntervalAndCF).
//
// The buttons, left to right, give the certainty factors -5 to 5 and close
// the window: "&No" ("Surely NO"), seven times ".", "&Don't know" ("I do not
// know") in the middle, and last "&Yes" ("Surely YES") or, in the interval
// question, "&Sure" ("Value is SURELY in the interval"). Neither window has
// an accept button; closing it otherwise gives the factor 0. Each dot's tool
// tip is its factor (-4 to -1, 1 to 4); Left and Right move the focus along
// the row and Enter or Space presses the focused button.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "app/abstract_question.h"
#include "ui/interval_question_window.h"
#include "ui/yes_no_question_window.h"

// The button of each certainty factor, -5 (index 0) to 5 (index 10).
using TCertaintyButtons = std::array<QPushButton *, 11>;

class TfrmYesNoQuestion : public TQuestionWindow<IYesNoQuestionWindow> {
public:
    explicit TfrmYesNoQuestion(QWidget *main);
    TCertaintyButtons certaintyButtons;
};

class TfrmOneIntervalAndCF : public TQuestionWindow<IIntervalQuestionWindow> {
public:
    explicit TfrmOneIntervalAndCF(QWidget *main);

    void SetFromText(const CString &text) override { eFrom->setText(ToQString(text)); }
    CString FromText() const override { return ToCString(eFrom->text()); }
    void SetToText(const CString &text) override { eTo->setText(ToQString(text)); }
    CString ToText() const override { return ToCString(eTo->text()); }
    void FocusField(TIntervalField field) override { focused = field; }

    QLineEdit *eFrom;
    QLineEdit *eTo;
    TCertaintyButtons certaintyButtons;

protected:
    void FocusInput() override;

private:
    TIntervalField focused = TIntervalField::from;
};
