#include "app/window_helpers.h"

#include <QAction>
#include <QWidget>

QAction *MakeAction(QWidget *owner, const QString &caption, const QString &hint, const QKeySequence &shortcut) {
    auto *action = new QAction(caption, owner);
    const qsizetype bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    owner->addAction(action);
    return action;
}

QPoint CentredOver(const QWidget *window, const QWidget *main) {
    const QRect outer = main->frameGeometry();
    const QRect inner = window->frameGeometry();
    return {outer.left() + (outer.width() - inner.width()) / 2, outer.top() + (outer.height() - inner.height()) / 2};
}
