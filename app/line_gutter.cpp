#include "app/line_gutter.h"

#include <QHelpEvent>
#include <QToolTip>

TLineGutter::TLineGutter(ILineGutterOwner *gutterOwner, QWidget *parent) : QWidget(parent), owner(gutterOwner) {
    setObjectName("lineGutter");
}

QSize TLineGutter::sizeHint() const { return QSize(owner->GutterWidth(), 0); }

void TLineGutter::paintEvent(QPaintEvent *event) { owner->PaintGutter(event); }

bool TLineGutter::event(QEvent *event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = owner->GutterTip(help->pos().y());
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
}
