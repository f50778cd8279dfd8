#include "scripted_user.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

TScriptedUser::TScriptedUser() : timer(new QTimer(this)) {
    timer->setInterval(5);
    connect(timer, &QTimer::timeout, this, &TScriptedUser::Tick);
    timer->start();
}

TScriptedUser::~TScriptedUser() = default;

QMessageBox *TScriptedUser::OpenMessageBox() {
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(window); box != nullptr && box->isVisible()) return box;
    return nullptr;
}

void TScriptedUser::Tick() {
    if (QMessageBox *box = OpenMessageBox()) {
        messages.append(box->windowTitle() + ": " + box->text());
        QAbstractButton *button = nullptr;
        if (answers.contains(box->text())) button = box->button(answers.value(box->text()));
        if (button == nullptr) button = box->button(QMessageBox::Ok);
        if (button == nullptr) button = box->escapeButton();
        if (button != nullptr) button->click();
        return;
    }
    if (steps.empty() || stepScheduled) return;
    // The step runs outside this timer's handler: a step may open a nested
    // event loop (a modal dialog), and the timer only fires again in there
    // once its handler has returned.
    stepScheduled = true;
    QTimer::singleShot(0, this, [this] {
        stepScheduled = false;
        if (steps.empty()) return;
        std::function<bool()> step = std::move(steps.front());
        steps.pop_front();
        if (!step()) steps.push_front(std::move(step));
    });
}

bool WaitFor(const std::function<bool()> &condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}
