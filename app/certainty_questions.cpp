#include "app/certainty_questions.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <algorithm>

namespace {

// The keyboard in the row of buttons: Left and Right move the focus to the
// neighbouring button, Enter presses the focused one (as Space does).
class TCertaintyKeys : public QObject {
public:
    TCertaintyKeys(QObject *parent, const TCertaintyButtons &row) : QObject(parent), buttons(row) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto at = std::find(buttons.begin(), buttons.end(), watched);
        if (at == buttons.end()) return false;
        const int index = static_cast<int>(at - buttons.begin());
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Left:
            if (index > 0) buttons[static_cast<size_t>(index - 1)]->setFocus(Qt::TabFocusReason);
            return true;
        case Qt::Key_Right:
            if (index < 10) buttons[static_cast<size_t>(index + 1)]->setFocus(Qt::TabFocusReason);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: (*at)->click(); return true;
        default: return false;
        }
    }

private:
    TCertaintyButtons buttons;
};

// Adds the eleven buttons to `row`; each presses its factor in `window`.
TCertaintyButtons AddCertaintyButtons(TfrmAbstractQuestion *dialog, ICertaintyQuestionWindow *window,
                                      QHBoxLayout *row, const QString &lastCaption, const QString &lastHint) {
    TCertaintyButtons buttons{};
    for (int i = 0; i < 11; ++i) {
        QString caption = ".";
        QString hint;
        if (i == 0) {
            caption = "&No";
            hint = "Surely NO";
        } else if (i == 5) {
            caption = "&Don't know";
            hint = "I do not know";
        } else if (i == 10) {
            caption = lastCaption;
            hint = lastHint;
        } else {
            // The dots between carry the factor they give.
            hint = QString::number(i - 5);
        }
        auto *button = new QPushButton(caption, dialog);
        button->setAutoDefault(false);
        if (!hint.isEmpty()) button->setToolTip(hint);
        if (caption == ".") button->setMaximumWidth(28);
        const float factor = static_cast<float>(i - 5);
        QObject::connect(button, &QPushButton::clicked, dialog, [window, factor] { window->PressCertainty(factor); });
        row->addWidget(button);
        buttons[static_cast<size_t>(i)] = button;
    }
    auto *keys = new TCertaintyKeys(dialog, buttons);
    for (QPushButton *button : buttons) button->installEventFilter(keys);
    return buttons;
}

}  // namespace

TfrmYesNoQuestion::TfrmYesNoQuestion(QWidget *main)
    : TQuestionWindow(main, "Question - yes/no", "How certain are you, that") {
    certaintyButtons = AddCertaintyButtons(this, this, buttons, "&Yes", "Surely YES");
}

TfrmOneIntervalAndCF::TfrmOneIntervalAndCF(QWidget *main)
    : TQuestionWindow(main, "Question - one interval", "Enter interval with certainity factor...") {
    eFrom = new QLineEdit(this);
    eFrom->setObjectName("eFrom");
    eTo = new QLineEdit(this);
    eTo->setObjectName("eTo");
    auto *fields = new QFormLayout;
    fields->addRow("From:", eFrom);
    fields->addRow("To:", eTo);
    inputs->addLayout(fields);
    certaintyButtons = AddCertaintyButtons(this, this, buttons, "&Sure", "Value is SURELY in the interval");
}

void TfrmOneIntervalAndCF::FocusInput() {
    QLineEdit *field = focused == TIntervalField::to ? eTo : eFrom;
    field->setFocus();
    field->selectAll();
    // The next question starts at From unless the retriever says otherwise.
    focused = TIntervalField::from;
}
