#include "app/message_boxes.h"

#include <QMessageBox>

#include "app/abstract_question.h"

namespace {

QMessageBox::Icon ToQtIcon(TMessageIcon icon) {
    switch (icon) {
    case TMessageIcon::information: return QMessageBox::Information;
    case TMessageIcon::warning: return QMessageBox::Warning;
    case TMessageIcon::error: return QMessageBox::Critical;
    case TMessageIcon::none: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void TMessageBoxes::Show(QWidget *parent, const QString &text, const QString &title, TMessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), title.isEmpty() ? QStringLiteral("Quorvin") : title, text, QMessageBox::Ok,
                    parent);
    box.exec();
}

TYesNoCancel TMessageBoxes::Ask(QWidget *parent, const QString &question, const QString &title) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return TYesNoCancel::yes;
    case QMessageBox::No: return TYesNoCancel::no;
    default: return TYesNoCancel::cancel;
    }
}

void TMessageBoxes::ShowMessage(const CString &text, const CString &title, TMessageIcon icon) {
    Show(mainWindow, ToQString(text), ToQString(title), icon);
}

TYesNoCancel TMessageBoxes::AskYesNoCancel(const CString &question, const CString &title) {
    return Ask(mainWindow, ToQString(question), ToQString(title));
}
