// TMessagePaneNavigator: a click on a build message goes to its place.
//
// A click on an error line "[Error at line N] ..." or on its detail line
// ("  column C: ..." or "  line L, column C: ...") puts the editor's caret
// at that line and column, in view. A line without a place does nothing.
#pragma once

#include <QObject>
#include <QStringList>
#include <optional>
#include <utility>

class QPlainTextEdit;
class TCodeEditor;

class TMessagePaneNavigator : public QObject {
    Q_OBJECT
public:
    // Watches the pane; the editor receives the caret. Neither is owned.
    TMessagePaneNavigator(QPlainTextEdit *pane, TCodeEditor *editor);

    // The line and byte column a pane line points at, reading the error
    // line before a detail line and the detail line after an error line.
    static std::optional<std::pair<int, int>> PlaceOfLine(const QStringList &lines, int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *pane;
    TCodeEditor *editor;
};
