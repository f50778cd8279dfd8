#include "app/option_dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "consult/global_params.h"

TOptionsDialog::TOptionsDialog(QWidget *parent, const QString &caption) : QDialog(parent) {
    setWindowTitle(caption);
    setModal(true);
    pages = new QTabWidget(this);
    bttOK = new QPushButton("&OK", this);
    bttOK->setDefault(true);
    bttCancel = new QPushButton("&Cancel", this);
    bttCancel->setAutoDefault(false);
    connect(bttOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bttCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(bttOK);
    buttonRow->addWidget(bttCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttonRow);
}

QWidget *TOptionsDialog::AddPage(const QString &title, const QList<QCheckBox *> &boxes) {
    auto *page = new QWidget(pages);
    auto *layout = new QVBoxLayout(page);
    for (QCheckBox *box : boxes) {
        box->setParent(page);
        layout->addWidget(box);
    }
    layout->addStretch();
    pages->addTab(page, title);
    return page;
}

bool TOptionsDialog::Execute() {
    Load();
    pages->setCurrentIndex(0);
    if (exec() != QDialog::Accepted) return false;
    Store();
    return true;
}

TfrmOptCons::TfrmOptCons(QWidget *parent) : TOptionsDialog(parent, "Consultation Options") {
    chbHypos = new QCheckBox("&Ordered hypotheses");
    chbCallStack = new QCheckBox("&Call stack");
    chbNodes = new QCheckBox("&All nodes");
    chbHtml = new QCheckBox("Show HTML component");
    chbHtml->setToolTip("Enable this only if you have installed the HTML component");
    AddPage("&Show", {chbHypos, chbCallStack, chbNodes});
    AddPage("&HTML", {chbHtml});
}

void TfrmOptCons::Load() {
    const CGlobalParams &options = GlobalParams();
    chbHypos->setChecked(options.ShowHypotheses);
    chbCallStack->setChecked(options.ShowCallStack);
    chbNodes->setChecked(options.ShowNodes);
    chbHtml->setChecked(options.UseHTML);
}

void TfrmOptCons::Store() {
    CGlobalParams &options = GlobalParams();
    options.ShowHypotheses = chbHypos->isChecked();
    options.ShowCallStack = chbCallStack->isChecked();
    options.ShowNodes = chbNodes->isChecked();
    options.UseHTML = chbHtml->isChecked();
}

TfrmOptGlob::TfrmOptGlob(QWidget *parent) : TOptionsDialog(parent, "Global Options") {
    chbNewFile = new QCheckBox("Create &new file on startup");
    chbMaximize = new QCheckBox("&Maximize new windows");
    chbSaveOnExit = new QCheckBox("Save &options on exit");
    AddPage("&Startup", {chbNewFile, chbMaximize});
    QWidget *configuration = AddPage("&Configuration", {chbSaveOnExit});
    bttRegister = new QPushButton("&Register .qvb files", configuration);
    bttRegister->setAutoDefault(false);
    auto *layout = static_cast<QVBoxLayout *>(configuration->layout());
    layout->insertWidget(1, bttRegister, 0, Qt::AlignLeft);
    connect(bttRegister, &QPushButton::clicked, this, &TfrmOptGlob::RegisterRequested);
}

void TfrmOptGlob::Load() {
    const CGlobalParams &options = GlobalParams();
    chbNewFile->setChecked(options.CreateNewFile);
    chbMaximize->setChecked(options.AutoMaximize);
    chbSaveOnExit->setChecked(options.SaveOnExit);
}

void TfrmOptGlob::Store() {
    CGlobalParams &options = GlobalParams();
    options.CreateNewFile = chbNewFile->isChecked();
    options.AutoMaximize = chbMaximize->isChecked();
    options.SaveOnExit = chbSaveOnExit->isChecked();
}
