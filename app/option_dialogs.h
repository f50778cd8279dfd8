// The two option dialogs. Both are modal and load their check boxes from the
// user's options each time they are shown; "&OK" (default) stores the boxes
// into the options and closes, "&Cancel" closes without storing. Options are
// written to the store only at exit.
//
//   "Consultation Options": page "&Show" with "&Ordered hypotheses",
//   "&Call stack" and "&All nodes"; page "&HTML" with "Show HTML component";
//   page "&Lists" with the decimals the value lists show ("As written" -
//   the consultation's own format - or 0 to 9).
//   "Global Options": page "&Startup" with "Create &new file on startup",
//   "&Maximize new windows" and "&Reopen the window's place and files";
//   page "&Configuration" with "Save &options on exit" and the button
//   "&Register .qvb files", which registers the file type at once, whatever
//   the dialog's outcome.
//
// The decimals and the reopening are the desktop's own settings
// (app/desktop_settings.h), written at once on OK.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;
class TDesktopSettings;
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
    TfrmOptCons(QWidget *parent, TDesktopSettings &desktop);
    QCheckBox *chbHypos, *chbCallStack, *chbNodes, *chbHtml;
    QSpinBox *seDecimals;  // -1 shows "As written"
    QSpinBox *seBatchJobs;

protected:
    void Load() override;
    void Store() override;

private:
    TDesktopSettings &desktop;
};

class TfrmOptGlob : public TOptionsDialog {
    Q_OBJECT
public:
    TfrmOptGlob(QWidget *parent, TDesktopSettings &desktop);
    QCheckBox *chbNewFile, *chbMaximize, *chbRestoreSession, *chbSaveOnExit;
    QPushButton *bttRegister;

signals:
    void RegisterRequested();

protected:
    void Load() override;
    void Store() override;

private:
    TDesktopSettings &desktop;
};
