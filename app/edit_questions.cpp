#include "app/edit_questions.h"

#include <QFormLayout>
#include <QPushButton>

template <typename Interface>
TEditQuestion<Interface>::TEditQuestion(QWidget *main, const QString &title, const QString &prompt,
                                        const QString &fieldLabel, bool dontKnow)
    : TQuestionWindow<Interface>(main, title, prompt) {
    field = new QLineEdit(this);
    auto *row = new QFormLayout;
    if (fieldLabel.isEmpty())
        row->addRow(field);
    else
        row->addRow(fieldLabel, field);
    this->inputs->addLayout(row);

    bttAccept = this->AddButton("&Accept", QString(), true);
    QObject::connect(bttAccept, &QPushButton::clicked, this, [this] { this->Accept(); });
    if (dontKnow) {
        bttDontKnow = this->AddButton("Don't know", "I do not know");
        QObject::connect(bttDontKnow, &QPushButton::clicked, this, [this] { this->Hide(); });
    }
}

TfrmProbQuestion::TfrmProbQuestion(QWidget *main)
    : TEditQuestion(main, "Question - probability", "Enter the probability for node ", "Probability:", true) {
    field->setObjectName("eProb");
}

TfrmExactValue::TfrmExactValue(QWidget *main)
    : TEditQuestion(main, "Question - exact value", "Enter exact value...", "Value:", true) {
    field->setObjectName("eVal");
}

TfrmParamString::TfrmParamString(QWidget *main)
    : TEditQuestion(main, "Parameter Input", "Enter parameter:", QString(), false) {
    field->setObjectName("eParam");
}
