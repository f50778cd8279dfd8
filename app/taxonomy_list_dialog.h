// TfrmTaxList: the taxonomy question's list "Selection of Taxonomies".
//
// One row per hypothesis taxonomy, with the columns "Taxonomy" and "Selected"
// and a check box in the first column; the buttons "&Select" and "&OK"
// (default). The window is kept above the others but is not modal: it is
// shown centred over the main window and waits in a local event loop until
// it is hidden. The rules of the rows live in the core; the window reports
// the user's actions to the events it was shown with and shows the rows it
// is given. Actions are reported after the click that caused them has been
// handled, so that the rows may be rebuilt in between.
#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

#include "ui/taxonomy_list_window.h"

class QEventLoop;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TfrmTaxList : public QDialog, public ITaxonomyListWindow {
    Q_OBJECT
public:
    explicit TfrmTaxList(QWidget *mainWindow);
    ~TfrmTaxList() override;

    void ShowRows(const std::vector<CTaxonomyListRow> &rows) override;
    void SetCurrentRow(int32_t row) override;
    void ShowAndWait(ITaxonomyListEvents &events) override;
    void Hide() override;

    QTreeWidget *lvTaxonomies;
    QPushButton *bttSelect;
    QPushButton *bttOK;

    // The close box and Esc.
    void reject() override;

private:
    void ItemChanged(QTreeWidgetItem *item, int column);
    // Hands an action to the events once the current click is over.
    void Report(void (*action)(ITaxonomyListEvents &, int32_t), int32_t row);

    QPointer<QWidget> mainWindow;
    ITaxonomyListEvents *events = nullptr;
    QEventLoop *waitLoop = nullptr;
    bool showingRows = false;  // check-box changes made by ShowRows itself
};
