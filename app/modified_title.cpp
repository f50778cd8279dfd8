#include "app/modified_title.h"

#include <QEvent>
#include <QMdiSubWindow>
#include <QTextDocument>
#include <QWidget>

TModifiedTitle::TModifiedTitle(QWidget *watchedChild, QTextDocument *text)
    : QObject(watchedChild), child(watchedChild), document(text) {
    connect(document, &QTextDocument::modificationChanged, this, &TModifiedTitle::Update);
    child->installEventFilter(this);
}

bool TModifiedTitle::eventFilter(QObject *watched, QEvent *event) {
    // The frame copies the child's new title after this filter has run, so
    // the star is put back once that is done.
    if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::ParentChange)
        QMetaObject::invokeMethod(this, &TModifiedTitle::Update, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void TModifiedTitle::Update() {
    auto *frame = qobject_cast<QMdiSubWindow *>(child->parentWidget());
    if (frame == nullptr) return;
    const QString title = child->windowTitle() + (document->isModified() ? "*" : "");
    if (frame->windowTitle() != title) frame->setWindowTitle(title);
}
