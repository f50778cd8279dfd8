// TScriptedUser: plays the user while the code under test waits in its own
// event loops (question windows, modal dialogs, message boxes).
//
// A timer looks every few milliseconds at what is on the screen. A message
// box is recorded and answered first: with the button given for its text in
// `answers`, else OK, else the box's escape button. Otherwise the steps given
// with Then run in order: a step is tried at every tick and is done when it
// returns true (it found what it waits for and acted). A step that opens a
// nested event loop (a modal dialog) lets the next steps run inside it.
#pragma once

#include <QMap>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <deque>
#include <functional>

class QTimer;

class TScriptedUser : public QObject {
    Q_OBJECT
public:
    TScriptedUser();
    ~TScriptedUser() override;

    void Then(std::function<bool()> step) { steps.push_back(std::move(step)); }
    bool Done() const { return steps.empty(); }

    // Message boxes seen so far, as "title: text".
    QStringList messages;
    // How to answer a message box with this text.
    QMap<QString, QMessageBox::StandardButton> answers;

    // The modal message box on the screen, or null.
    static QMessageBox *OpenMessageBox();

private:
    void Tick();

    std::deque<std::function<bool()>> steps;
    QTimer *timer;
    bool stepScheduled = false;
};

// Processes events until `condition` holds or `timeoutMs` passes; true when
// it holds.
bool WaitFor(const std::function<bool()> &condition, int timeoutMs = 20000);
