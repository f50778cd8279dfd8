#include "app/window_helpers.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

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

QPoint KeptInside(const QRect &space, const QSize &size, const QPoint &wanted) {
    const auto kept = [](int start, int length, int spaceStart, int spaceLength) {
        const int last = spaceStart + spaceLength - length;  // the last start that fits
        return std::max(spaceStart, std::min(start, last));
    };
    return {kept(wanted.x(), size.width(), space.left(), space.width()),
            kept(wanted.y(), size.height(), space.top(), space.height())};
}

QPoint OnScreen(const QWidget *window, const QPoint &wanted) {
    const QScreen *screen = QGuiApplication::screenAt(wanted);
    if (screen == nullptr) screen = window->screen();
    if (screen == nullptr) return wanted;
    return KeptInside(screen->availableGeometry(), window->frameGeometry().size(), wanted);
}
