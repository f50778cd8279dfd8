#include "app/guarded_application.h"

#include <exception>

#include "app/message_boxes.h"

bool TGuardedApplication::notify(QObject *receiver, QEvent *event) {
    QString problem;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        problem = QString::fromLocal8Bit(error.what());
    } catch (...) {
        problem = "An unknown error occurred.";
    }
    ++errorsShown;
    TMessageBoxes::Show(activeWindow(), problem, "Error", TMessageIcon::error);
    return false;
}
