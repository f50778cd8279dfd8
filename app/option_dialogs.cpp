#include "app/option_dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/desktop_settings.h"
#include "consult/global_params.h"

TOptionsDialog::TOptionsDialog(QWidget *parent, const QString &caption) : QDialog(parent) {
    setWindowTitle(caption);
    setModal(true);
    pages = new QTabWidget(this);
    // Every page's tab stays in sight: a user should not have to find the
    // later pages behind scroll arrows.
    pages->setUsesScrollButtons(false);
    pages->setElideMode(Qt::ElideNone);
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

TfrmOptCons::TfrmOptCons(QWidget *parent, TDesktopSettings &desktopSettings)
    : TOptionsDialog(parent, "Consultation Options"), desktop(desktopSettings) {
    chbHypos = new QCheckBox("&Ordered hypotheses");
    chbCallStack = new QCheckBox("&Call stack");
    chbNodes = new QCheckBox("&All nodes");
    chbHtml = new QCheckBox("Show HTML component");
    chbHtml->setToolTip("Enable this only if you have installed the HTML component");
    AddPage("&Show", {chbHypos, chbCallStack, chbNodes});
    AddPage("&HTML", {chbHtml});
    seDecimals = new QSpinBox;
    seDecimals->setRange(TDesktopSettings::kDefaultDecimals, 9);
    seDecimals->setSpecialValueText("As written");
    seDecimals->setToolTip("Digits after the point in the lists of values; "
                           "\"As written\" shows them as the consultation writes them");
    QWidget *lists = AddPage("&Lists", {});
    auto *form = new QFormLayout;
    form->addRow("&Decimals shown:", seDecimals);
    static_cast<QVBoxLayout *>(lists->layout())->insertLayout(0, form);
    seBatchJobs = new QSpinBox;
    seBatchJobs->setRange(1, TDesktopSettings::kMaxBatchJobs);
    seBatchJobs->setToolTip("Processes that consult a batch over a table together, each a part of its keys; "
                            "1 consults it in the window alone");
    QWidget *batch = AddPage("&Batch", {});
    auto *batchForm = new QFormLayout;
    batchForm->addRow("&Jobs:", seBatchJobs);
    static_cast<QVBoxLayout *>(batch->layout())->insertLayout(0, batchForm);
}

void TfrmOptCons::Load() {
    const CGlobalParams &options = GlobalParams();
    chbHypos->setChecked(options.ShowHypotheses);
    chbCallStack->setChecked(options.ShowCallStack);
    chbNodes->setChecked(options.ShowNodes);
    chbHtml->setChecked(options.UseHTML);
    seDecimals->setValue(desktop.Decimals());
    seBatchJobs->setValue(desktop.BatchJobs());
}

void TfrmOptCons::Store() {
    CGlobalParams &options = GlobalParams();
    options.ShowHypotheses = chbHypos->isChecked();
    options.ShowCallStack = chbCallStack->isChecked();
    options.ShowNodes = chbNodes->isChecked();
    options.UseHTML = chbHtml->isChecked();
    desktop.SetDecimals(seDecimals->value());
    desktop.SetBatchJobs(seBatchJobs->value());
}

TfrmOptGlob::TfrmOptGlob(QWidget *parent, TDesktopSettings &desktopSettings)
    : TOptionsDialog(parent, "Global Options"), desktop(desktopSettings) {
    chbNewFile = new QCheckBox("Create &new file on startup");
    chbMaximize = new QCheckBox("&Maximize new windows");
    chbRestoreSession = new QCheckBox("&Reopen the window's place and files");
    chbRestoreSession->setToolTip("At the next start, the main window comes back where it was and the files "
                                  "open at exit open again (unless files are named on the command line)");
    chbSaveOnExit = new QCheckBox("Save &options on exit");
    AddPage("&Startup", {chbNewFile, chbMaximize, chbRestoreSession});
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
    chbRestoreSession->setChecked(desktop.RestoreSession());
}

void TfrmOptGlob::Store() {
    CGlobalParams &options = GlobalParams();
    options.CreateNewFile = chbNewFile->isChecked();
    options.AutoMaximize = chbMaximize->isChecked();
    options.SaveOnExit = chbSaveOnExit->isChecked();
    desktop.SetRestoreSession(chbRestoreSession->isChecked());
}
