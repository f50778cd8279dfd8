// Small helpers that the windows of the application share.
#pragma once

#include <QKeySequence>
#include <QPoint>
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
