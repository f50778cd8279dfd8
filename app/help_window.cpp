#include "app/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/message_boxes.h"

#ifndef QUORVIN_SOURCE_MANUAL
#define QUORVIN_SOURCE_MANUAL ""
#endif

namespace {

constexpr const char *kContentsPage = "contents.html";
constexpr const char *kIndexPage = "keyword_index.html";
// The page whose sections describe the windows, one anchor each.
constexpr const char *kTopicsPage = "desktop.html";

QStringList ManualCandidates() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    return {programDirectory + "/../share/quorvin/manual", programDirectory + "/manual",
            QString::fromUtf8(QUORVIN_SOURCE_MANUAL)};
}

}  // namespace

TfrmHelp::TfrmHelp(QWidget *main) : QWidget(main, Qt::Window) {
    setWindowTitle("Quorvin Help");
    browser = new QTextBrowser(this);
    browser->setOpenExternalLinks(true);
    auto *contents = new QPushButton("&Contents", this);
    auto *index = new QPushButton("I&ndex", this);
    auto *back = new QPushButton("&Back", this);
    connect(contents, &QPushButton::clicked, this, &TfrmHelp::ShowContents);
    connect(index, &QPushButton::clicked, this, &TfrmHelp::ShowIndex);
    connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(index);
    buttons->addWidget(back);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser);
    resize(720, 560);
}

QString TfrmHelp::ManualDirectory() {
    for (const QString &candidate : ManualCandidates())
        if (!candidate.isEmpty() && QFileInfo(candidate + "/" + kContentsPage).isFile())
            return QDir(candidate).canonicalPath();
    return QString();
}

void TfrmHelp::ShowContents() { ShowManualPage(kContentsPage); }

void TfrmHelp::ShowIndex() { ShowManualPage(kIndexPage); }

void TfrmHelp::ShowTopic(const QString &topic) { ShowManualPage(kTopicsPage, topic); }

void TfrmHelp::ShowManualPage(const QString &page, const QString &anchor) {
    const QString directory = ManualDirectory();
    if (directory.isEmpty()) {
        TMessageBoxes::Show(parentWidget(),
                            "Cannot find the help file " + page + " in " + ManualCandidates().join(", ") + ".",
                            "Help", TMessageIcon::error);
        return;
    }
    QUrl address = QUrl::fromLocalFile(directory + "/" + page);
    if (!anchor.isEmpty()) address.setFragment(anchor);
    browser->setSource(address);
    show();
    raise();
    activateWindow();
}
