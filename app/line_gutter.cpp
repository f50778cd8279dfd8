#include "app/line_gutter.h"

#include <algorithm>

#include <QHelpEvent>
#include <QTextBlock>
#include <QToolTip>

#include "app/code_editor.h"

TLineGutter::TLineGutter(TCodeEditor *owner) : QWidget(owner), editor(owner) { setObjectName("lineGutter"); }

int TLineGutter::WidthNeeded() const {
    const int digits = QString::number(std::max(1, editor->blockCount())).size();
    // Room for the error's mark on the left.
    return editor->fontMetrics().horizontalAdvance(QLatin1Char('9')) * (digits + 1) + editor->fontMetrics().height() / 2 + 6;
}

QSize TLineGutter::sizeHint() const { return QSize(WidthNeeded(), 0); }

void TLineGutter::paintEvent(QPaintEvent *event) { editor->PaintGutter(event); }

bool TLineGutter::event(QEvent *event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    // The line under the pointer: the editor's block at that height.
    const QTextBlock block = editor->cursorForPosition(QPoint(0, help->pos().y())).block();
    if (block.blockNumber() == editor->ErrorBlock()) {
        QToolTip::showText(help->globalPos(), editor->ErrorTip(), this);
    } else {
        QToolTip::hideText();
    }
    return true;
}
