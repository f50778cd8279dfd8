#include "app/mdi_child.h"

#include <QCloseEvent>
#include <QMenu>

TAbstractMDIChild::TAbstractMDIChild(IChildHost &childHost) : QWidget(nullptr), host(childHost) {
    setFocusPolicy(Qt::StrongFocus);
}

TAbstractMDIChild::~TAbstractMDIChild() { qDeleteAll(menus); }

void TAbstractMDIChild::SetRunning(bool value) {
    if (running == value) return;
    running = value;
    emit RunningChanged(value);
}

QMenu *TAbstractMDIChild::AddFileMenu(QAction *saveAs, QAction *print) {
    QMenu *file = AddMenu("&File");
    file->addAction(host.Command(THostCommand::newFile));
    file->addAction(host.Command(THostCommand::open));
    file->addSeparator();
    file->addAction(host.Command(THostCommand::save));
    if (saveAs != nullptr) file->addAction(saveAs);
    file->addAction(host.Command(THostCommand::saveAll));
    file->addAction(host.Command(THostCommand::close));
    file->addAction(host.Command(THostCommand::closeAll));
    file->addSeparator();
    if (print != nullptr) {
        file->addAction(print);
        file->addSeparator();
    }
    file->addAction(host.Command(THostCommand::exit));
    return file;
}

QMenu *TAbstractMDIChild::AddMenu(const QString &title) {
    auto *menu = new QMenu(title);
    menus.append(menu);
    return menu;
}

void TAbstractMDIChild::closeEvent(QCloseEvent *event) {
    if (!CanClose()) {
        event->ignore();
        return;
    }
    Closing();
    event->accept();
}
