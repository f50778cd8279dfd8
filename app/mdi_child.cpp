#include "app/mdi_child.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

TAbstractMDIChild::TAbstractMDIChild(IChildHost &childHost) : QWidget(nullptr), host(childHost) {
    setFocusPolicy(Qt::StrongFocus);
    // Each window keeps what it shows in the status bar, so that the host
    // can show it again when the window becomes the active one.
    connect(this, &TAbstractMDIChild::StatusPanelChanged, this, [this](int panel, const QString &text) {
        if (panel >= 0 && panel < 3) panels[panel] = text;
    });
}

QString TAbstractMDIChild::StatusPanelText(int panel) const {
    return panel >= 0 && panel < 3 ? panels[panel] : QString();
}

QStringList TAbstractMDIChild::DroppedFiles(const QMimeData *data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir()) files.append(url.toLocalFile());
    return files;
}

TAbstractMDIChild::~TAbstractMDIChild() { qDeleteAll(menus); }

void TAbstractMDIChild::SetRunning(bool value) {
    if (running == value) return;
    running = value;
    emit RunningChanged(value);
}

QMenu *TAbstractMDIChild::AddFileMenu(QAction *saveAs, QAction *print, QAction *printPreview) {
    QMenu *file = AddMenu("&File");
    file->addAction(host.Command(THostCommand::newFile));
    file->addAction(host.Command(THostCommand::open));
    if (QAction *recent = host.Command(THostCommand::recentFiles)) file->addAction(recent);
    file->addSeparator();
    file->addAction(host.Command(THostCommand::save));
    if (saveAs != nullptr) file->addAction(saveAs);
    file->addAction(host.Command(THostCommand::saveAll));
    file->addAction(host.Command(THostCommand::close));
    file->addAction(host.Command(THostCommand::closeAll));
    file->addSeparator();
    if (print != nullptr) {
        file->addAction(print);
        if (printPreview != nullptr) file->addAction(printPreview);
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
