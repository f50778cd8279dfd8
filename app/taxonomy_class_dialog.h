// TfrmAskTax: the modal dialog "Taxonomy" in which the user picks one class
// of a taxonomy ("Select Taxonomy Class").
//
// The class tree is shown fully expanded and cannot be collapsed; the root is
// selected and the tree focused when it opens, centred over the main window.
// It is the child of the window it is opened from (the "Selection of
// Taxonomies" dialog), so the window manager keeps it above that one.
// "&OK" (default; a double click on an item does the same) answers the
// selected class, "Select &None" answers no class, "&Cancel" and the close
// box answer nothing.
#pragma once

#include <QDialog>
#include <QPointer>

#include "ui/taxonomy_class_dialog.h"

class QPushButton;
class QTreeWidget;

class TfrmAskTax : public QDialog, public ITaxonomyClassDialog {
    Q_OBJECT
public:
    // Centred over `mainWindow`; a child of `owner` (the main window when
    // none is given).
    explicit TfrmAskTax(QWidget *mainWindow, QWidget *owner = nullptr);

    CTaxonomyClassAnswer ShowModal(const CTaxonomyTree &tree, const CString &rejection) override;

    QTreeWidget *tvClasses;
    QPushButton *bttOK;
    QPushButton *bttNone;
    QPushButton *bttCancel;

private:
    void Fill(const CTaxonomyTree &tree);

    QPointer<QWidget> mainWindow;
    bool accepted = false;
    bool none = false;
};
