// TMessageBoxes: the message boxes and three-answer questions through which
// the logic and the windows talk to the user, as Qt message boxes over the
// main window. Questions are kept above every other window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/message_box.h"

class TMessageBoxes : public IMessageBox {
public:
    explicit TMessageBoxes(QWidget *mainWindow) : mainWindow(mainWindow) {}

    void ShowMessage(const CString &text, const CString &title = CString(),
                     TMessageIcon icon = TMessageIcon::none) override;
    TYesNoCancel AskYesNoCancel(const CString &question, const CString &title) override;

    // The same with Qt texts, for the windows of the application.
    static void Show(QWidget *parent, const QString &text, const QString &title, TMessageIcon icon);
    static TYesNoCancel Ask(QWidget *parent, const QString &question, const QString &title);

private:
    QPointer<QWidget> mainWindow;
};
