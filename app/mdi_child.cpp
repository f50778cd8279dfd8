#include "app/mdi_child.h"

#include <QCloseEvent>
#include <QMenu>

#include "app/main_form.h"

TAbstractMDIChild::TAbstractMDIChild(TMainForm *main) : QWidget(nullptr), mainForm(main) {
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
    file->addAction(mainForm->actNew);
    file->addAction(mainForm->actOpen);
    file->addSeparator();
    file->addAction(mainForm->actSave);
    if (saveAs != nullptr) file->addAction(saveAs);
    file->addAction(mainForm->actSaveAll);
    file->addAction(mainForm->actClose);
    file->addAction(mainForm->actCloseAll);
    file->addSeparator();
    if (print != nullptr) {
        file->addAction(print);
        file->addSeparator();
    }
    file->addAction(mainForm->actExit);
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
