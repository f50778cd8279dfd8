#include "app/abstract_question.h"

#include "app/next_questions_list.h"
#include "app/window_helpers.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPoint rememberedPosition;

}  // namespace

QString ToQString(const CString &text) { return QString::fromUtf8(text.Text()); }

CString ToCString(const QString &text) { return CString(text.toUtf8().constData()); }

TfrmAbstractQuestion::TfrmAbstractQuestion(QWidget *main, const QString &title, const QString &prompt)
    : QDialog(main), mainWindow(main) {
    setWindowTitle(title);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);

    lPrompt = new QLabel(prompt, this);
    mDescr = new QPlainTextEdit(this);
    mDescr->setReadOnly(true);
    mDescr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mDescr->setMaximumHeight(90);
    mDescr->setFocusPolicy(Qt::ClickFocus);

    inputs = new QVBoxLayout;
    buttons = new QHBoxLayout;
    auto *question = new QVBoxLayout;
    question->addWidget(lPrompt);
    question->addWidget(mDescr);
    question->addLayout(inputs);
    question->addLayout(buttons);
    nextQuestions = new TNextQuestionsList(this);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(question);
    layout->addWidget(nextQuestions, 1);
}

void TfrmAbstractQuestion::ShowNextQuestions(const TNextQuestions &next) {
    const bool wasShown = nextQuestions->isVisibleTo(this);
    nextQuestions->Show(next);
    // The window grows by the panel and shrinks back without it.
    if (wasShown != nextQuestions->isVisibleTo(this)) adjustSize();
}

TfrmAbstractQuestion::~TfrmAbstractQuestion() {
    if (waitLoop != nullptr) waitLoop->quit();
}

QPushButton *TfrmAbstractQuestion::AddButton(const QString &caption, const QString &hint, bool isDefault) {
    auto *button = new QPushButton(caption, this);
    if (!hint.isEmpty()) button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setDefault(isDefault);
    buttons->addWidget(button);
    return button;
}

void TfrmAbstractQuestion::ShowDescription(const CString &text) { mDescr->setPlainText(ToQString(text)); }

void TfrmAbstractQuestion::CentreOverMain() {
    if (mainWindow == nullptr) return;
    adjustSize();
    rememberedPosition = CentredOver(this, mainWindow);
}

void TfrmAbstractQuestion::PresentAndWait(const CString &rejection) {
    QEventLoop loop;
    waitLoop = &loop;
    move(OnScreen(this, rememberedPosition));
    show();
    raise();
    activateWindow();
    if (!rejection.IsEmpty()) QMessageBox::warning(this, windowTitle(), ToQString(rejection));
    // An abort during the message has hidden the window already.
    if (isVisible()) loop.exec();
    waitLoop = nullptr;
}

void TfrmAbstractQuestion::HideAndRemember() {
    if (isVisible()) rememberedPosition = pos();
    hide();
    if (waitLoop != nullptr) waitLoop->quit();
}

void TfrmAbstractQuestion::reject() { CloseWithoutAnswer(); }

QPoint TfrmAbstractQuestion::RememberedPosition() { return rememberedPosition; }

void TfrmAbstractQuestion::SetRememberedPosition(const QPoint &position) { rememberedPosition = position; }
