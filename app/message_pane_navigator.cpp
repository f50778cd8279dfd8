#include "app/message_pane_navigator.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBlock>

#include "app/code_editor.h"

namespace {

const QRegularExpression kErrorLine("^\\[Error at line (\\d+)\\]");
const QRegularExpression kDetailLine("^  (?:line (\\d+), )?column (\\d+):");

// The line of an error line; 0 when it is not one.
int ErrorLineNumber(const QString &text) {
    const auto match = kErrorLine.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace

TMessagePaneNavigator::TMessagePaneNavigator(QPlainTextEdit *watchedPane, TCodeEditor *target)
    : QObject(watchedPane), pane(watchedPane), editor(target) {
    pane->viewport()->installEventFilter(this);
}

std::optional<std::pair<int, int>> TMessagePaneNavigator::PlaceOfLine(const QStringList &lines, int index) {
    if (index < 0 || index >= lines.size()) return std::nullopt;
    // An error line takes the column of its detail line.
    if (const int line = ErrorLineNumber(lines[index]); line > 0) {
        const auto detail = index + 1 < lines.size() ? kDetailLine.match(lines[index + 1]) : QRegularExpressionMatch();
        if (!detail.hasMatch()) return std::pair{line, 1};
        return std::pair{detail.captured(1).isEmpty() ? line : detail.captured(1).toInt(), detail.captured(2).toInt()};
    }
    const auto detail = kDetailLine.match(lines[index]);
    if (!detail.hasMatch() || index == 0) return std::nullopt;
    const int errorLine = ErrorLineNumber(lines[index - 1]);
    if (errorLine == 0) return std::nullopt;
    return std::pair{detail.captured(1).isEmpty() ? errorLine : detail.captured(1).toInt(), detail.captured(2).toInt()};
}

bool TMessagePaneNavigator::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *click = static_cast<QMouseEvent *>(event);
        const int index = pane->cursorForPosition(click->position().toPoint()).blockNumber();
        if (const auto place = PlaceOfLine(pane->toPlainText().split('\n'), index))
            editor->GoToPlace(place->first, place->second);
    }
    return QObject::eventFilter(watched, event);
}
