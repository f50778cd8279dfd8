// TModifiedTitle: a "*" after the title of an editor's frame while its text
// is modified.
//
// The star goes on the MDI frame's title only: the child's own title, which
// the Window menu and the consultations' captions use, stays the file name.
#pragma once

#include <QObject>

class QTextDocument;
class QWidget;

class TModifiedTitle : public QObject {
    Q_OBJECT
public:
    // Watches the child and its document; owned by the child.
    TModifiedTitle(QWidget *child, QTextDocument *document);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Update();

    QWidget *child;
    QTextDocument *document;
};
