// The question windows with one edit field: the probability question
// (TfrmProbQuestion), the exact-value question (TfrmExactValue) and the
// parameter question (TfrmParamString).
//
// Each hands back the field's text as typed; the retriever converts and
// checks it. Every showing selects the whole text of the field and focuses
// it, so that typing replaces it. "&Accept" (the default button, Enter) is
// the accept action; "Don't know" (Esc) and the close box close the window
// without it.
#pragma once

#include <QLineEdit>

#include "app/abstract_question.h"
#include "ui/exact_value_window.h"
#include "ui/param_window.h"
#include "ui/prob_question_window.h"

template <typename Interface>
class TEditQuestion : public TQuestionWindow<Interface> {
public:
    // `fieldLabel` may be empty; `dontKnow` adds the "Don't know" button.
    TEditQuestion(QWidget *main, const QString &title, const QString &prompt, const QString &fieldLabel,
                  bool dontKnow);

    void SetText(const CString &text) override { field->setText(ToQString(text)); }
    CString Text() const override { return ToCString(field->text()); }

    QLineEdit *field;
    QPushButton *bttAccept;
    QPushButton *bttDontKnow = nullptr;

protected:
    void FocusInput() override {
        field->setFocus();
        field->selectAll();
    }
};

class TfrmProbQuestion : public TEditQuestion<IProbQuestionWindow> {
public:
    explicit TfrmProbQuestion(QWidget *main);
};

class TfrmExactValue : public TEditQuestion<IExactValueWindow> {
public:
    explicit TfrmExactValue(QWidget *main);
};

class TfrmParamString : public TEditQuestion<IParamWindow> {
public:
    explicit TfrmParamString(QWidget *main);
};
