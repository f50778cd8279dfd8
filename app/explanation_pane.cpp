#include "app/explanation_pane.h"

#include <QScrollBar>

namespace {

constexpr const char *kHint =
    "<p><i>Select a node in one of the lists or in the net view to see how it got its value.</i></p>";

}  // namespace

TExplanationPane::TExplanationPane(QWidget *parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    Render();
}

void TExplanationPane::SetWhy(const QString &html) {
    why = html;
    Render();
}

void TExplanationPane::SetHow(const QString &html) {
    how = html;
    Render();
}

void TExplanationPane::Render() {
    // A question in progress matters most, so it comes first; a rule between
    // the two parts keeps them apart when both are long.
    QString html = why;
    if (!why.isEmpty()) html += "<hr/>";
    html += "<a name=\"how\"></a>" + (how.isEmpty() ? QString(kHint) : how);
    // Most steps of a consultation change neither part; laying the text out
    // again would only make it flicker.
    if (html == shown) return;
    shown = html;
    const int scrolled = verticalScrollBar()->value();
    setHtml(html);
    verticalScrollBar()->setValue(scrolled);
}

void TExplanationPane::RevealHow() { scrollToAnchor("how"); }
