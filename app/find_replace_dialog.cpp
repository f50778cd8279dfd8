#include "app/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindReplaceDialog::TFindReplaceDialog(QWidget *parent) : QDialog(parent) {
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);
    eFind = new QLineEdit(this);
    eReplace = new QLineEdit(this);
    chbMatchCase = new QCheckBox("Match &case", this);
    chbWholeWord = new QCheckBox("Match &whole word only", this);
    bttFindNext = new QPushButton("&Find Next", this);
    bttFindNext->setDefault(true);
    bttReplace = new QPushButton("&Replace", this);
    bttReplaceAll = new QPushButton("Replace &All", this);
    auto *bttCancel = new QPushButton("Cancel", this);
    for (QPushButton *button : {bttReplace, bttReplaceAll, bttCancel}) button->setAutoDefault(false);

    auto *findLabel = new QLabel("Fi&nd what:", this);
    findLabel->setBuddy(eFind);
    auto *withLabel = new QLabel("Re&place with:", this);
    withLabel->setBuddy(eReplace);
    replaceLabel = withLabel;

    auto *grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(eFind, 0, 1);
    grid->addWidget(withLabel, 1, 0);
    grid->addWidget(eReplace, 1, 1);
    grid->addWidget(chbMatchCase, 2, 0, 1, 2);
    grid->addWidget(chbWholeWord, 3, 0, 1, 2);
    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(bttFindNext);
    buttonColumn->addWidget(bttReplace);
    buttonColumn->addWidget(bttReplaceAll);
    buttonColumn->addWidget(bttCancel);
    buttonColumn->addStretch();
    grid->addLayout(buttonColumn, 0, 2, 4, 1);

    connect(bttFindNext, &QPushButton::clicked, this, &TFindReplaceDialog::FindNextRequested);
    connect(bttReplace, &QPushButton::clicked, this, &TFindReplaceDialog::ReplaceRequested);
    connect(bttReplaceAll, &QPushButton::clicked, this, &TFindReplaceDialog::ReplaceAllRequested);
    connect(bttCancel, &QPushButton::clicked, this, &QDialog::hide);
}

void TFindReplaceDialog::Open(bool replaceMode, const QString &what) {
    setWindowTitle(replaceMode ? "Replace" : "Find");
    for (QWidget *widget : {replaceLabel, static_cast<QWidget *>(eReplace), static_cast<QWidget *>(bttReplace),
                            static_cast<QWidget *>(bttReplaceAll)})
        widget->setVisible(replaceMode);
    eFind->setText(what);
    eFind->selectAll();
    show();
    TakeFocus();
}

void TFindReplaceDialog::TakeFocus() {
    raise();
    activateWindow();
    eFind->setFocus();
}

QString TFindReplaceDialog::FindText() const { return eFind->text(); }

QString TFindReplaceDialog::ReplaceText() const { return eReplace->text(); }

TSearchOptions TFindReplaceDialog::Options() const {
    return TSearchOptions{chbMatchCase->isChecked(), chbWholeWord->isChecked()};
}
