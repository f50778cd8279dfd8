// TGuardedApplication: the program's application object. An error that
// escapes the handler of a command or any other event is shown in a message
// box, and the event loop goes on instead of ending the program (and with it
// the user's unsaved knowledge bases).
#pragma once

#include <QApplication>

class TGuardedApplication : public QApplication {
    Q_OBJECT
public:
    TGuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

    bool notify(QObject *receiver, QEvent *event) override;

    // The texts shown for an escaped error, counted for tests.
    int errorsShown = 0;
};
