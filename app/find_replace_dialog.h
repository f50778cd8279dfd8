// TFindReplaceDialog: the editor's find dialog and replace dialog in one
// window, kept above the others and not modal. It only collects what to
// search for and how; the editor searches. In find mode the replacement
// field and its buttons are hidden.
#pragma once

#include <QDialog>

#include "app/text_search.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class TFindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFindReplaceDialog(QWidget *parent);

    // Shows the dialog in find or replace mode with `what` to search for.
    void Open(bool replaceMode, const QString &what);
    // Brings the dialog to the front with the focus in the search field.
    void TakeFocus();

    QString FindText() const;
    QString ReplaceText() const;
    TSearchOptions Options() const;

    QLineEdit *eFind;
    QLineEdit *eReplace;
    QCheckBox *chbMatchCase;
    QCheckBox *chbWholeWord;
    QPushButton *bttFindNext;
    QPushButton *bttReplace;
    QPushButton *bttReplaceAll;

signals:
    void FindNextRequested();
    void ReplaceRequested();
    void ReplaceAllRequested();

private:
    QWidget *replaceLabel;
};
