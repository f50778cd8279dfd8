// TfrmHelp: the help window, which shows the user manual: HTML pages in
// docs/manual (installed to share/quorvin/manual), with the contents page
// "contents.html" and the keyword index "keyword_index.html". The manual
// links to the user guide, a Markdown file beside it, which the window shows
// too. Without the manual the window says where it looked.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

class TfrmHelp : public QWidget {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget *mainWindow);

    void ShowContents();
    void ShowIndex();
    // The manual's section on a window: an anchor of the page desktop.html
    // ("main", "editor", "consult", "browser", ...).
    void ShowTopic(const QString &topic);
    // The directory holding the manual; empty when it cannot be found.
    static QString ManualDirectory();

    QTextBrowser *browser;

private:
    void ShowManualPage(const QString &page, const QString &anchor = QString());
};
