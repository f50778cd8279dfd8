// The two option dialogs. Both are modal and load their check boxes from the
// user's options each time they are shown; "&OK" (default) stores the boxes
// into the options and closes, "&Cancel" closes without storing. Options are
// written to the store only at exit.
//
//   "Consultation Options": page "&Show" with "&Ordered hypotheses",
//   "&Call stack" and "&All nodes"; page "&HTML" with "Show HTML component".
//   "Global Options": page "&Startup" with "Create &new file on startup" and
//   "&Maximize new windows"; page "&Configuration" with "Save &options on
//   exit" and the button "&Register .qvb files", which registers the file
//   type at once, whatever the dialog's outcome.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTabWidget;

// What both dialogs share: the pages and the two buttons.
class TOptionsDialog : public QDialog {
    Q_OBJECT
public:
    TOptionsDialog(QWidget *parent, const QString &caption);

    // Loads the boxes, shows the dialog modally and stores the boxes on OK;
    // true when stored.
    bool Execute();

    QTabWidget *pages;
    QPushButton *bttOK;
    QPushButton *bttCancel;

protected:
    // A page with check boxes, one under the other.
    QWidget *AddPage(const QString &title, const QList<QCheckBox *> &boxes);
    virtual void Load() = 0;
    virtual void Store() = 0;
};

class TfrmOptCons : public TOptionsDialog {
    Q_OBJECT
public:
    explicit TfrmOptCons(QWidget *parent);
    QCheckBox *chbHypos, *chbCallStack, *chbNodes, *chbHtml;

protected:
    void Load() override;
    void Store() override;
};

class TfrmOptGlob : public TOptionsDialog {
    Q_OBJECT
public:
    explicit TfrmOptGlob(QWidget *parent);
    QCheckBox *chbNewFile, *chbMaximize, *chbSaveOnExit;
    QPushButton *bttRegister;

signals:
    void RegisterRequested();

protected:
    void Load() override;
    void Store() override;
};
