// Small helpers that the windows of the application share.
#pragma once

#include <QKeySequence>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QAction;
class QWidget;

// An action owned by and added to `owner`, with its caption, its hint and its
// shortcut. A hint "Short|Long" gives the short text as the tool tip and the
// long one as the status-bar text; a hint without a bar gives both.
QAction *MakeAction(QWidget *owner, const QString &caption, const QString &hint,
                    const QKeySequence &shortcut = QKeySequence());

// Where `window` stands centred over `main`: main left + (main width -
// window width) / 2, and the same for the top (divisions truncate).
QPoint CentredOver(const QWidget *window, const QWidget *main);

// Where a window of `size` whose top-left corner was meant for `wanted`
// stands inside `space`, moved as little as possible: whole where it fits,
// its top-left corner at that of the space where it is larger.
QPoint KeptInside(const QRect &space, const QSize &size, const QPoint &wanted);

// `wanted` kept inside the room the window's screen leaves for windows, so
// that a window placed where an earlier, smaller one stood does not run off
// the screen.
QPoint OnScreen(const QWidget *window, const QPoint &wanted);
