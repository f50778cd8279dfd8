// TExplanationPane: the consultation window's account of the net, as rich
// text: why the current question is asked (while a question waits) above
// how the node the user picked got its value.
//
// The pane only shows what it is given; the window computes the accounts
// (explain/) and chooses when. Each part keeps its HTML, so that either can
// change without the other being computed again.
#pragma once

#include <QTextBrowser>

class TExplanationPane : public QTextBrowser {
    Q_OBJECT
public:
    explicit TExplanationPane(QWidget *parent);

    // An empty text takes the part away.
    void SetWhy(const QString &html);
    void SetHow(const QString &html);
    // Scrolls the How into view, for a node the user has just picked.
    void RevealHow();
    const QString &Why() const { return why; }
    const QString &How() const { return how; }

private:
    void Render();

    QString why;
    QString how;
    QString shown;  // the HTML last set
};
