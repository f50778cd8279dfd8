// TfrmConsResult: the modal dialog "Result of the consultation", shown after
// a successful consultation: the lines "Consulted OK" and "Ordered goal
// hypotheses:", a grid with the columns "Order", "Goal", "Aprior" and
// "Aposterior", and an "OK" button (default) that closes it. Beside each
// value a bar shows it as a share of 1: the a-priori values in grey, the
// a-posteriori ones in blue, so a goal the consultation made likely stands
// out from one it only kept.
#pragma once

#include <QDialog>
#include <vector>

#include "ui/consultation_view.h"

class QTableWidget;
class QPushButton;
class TValueBarDelegate;

// Fills a grid with rows of texts, one row per entry, replacing its rows.
void FillGrid(QTableWidget *grid, const std::vector<CGridRow> &rows);

class TfrmConsResult : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConsResult(QWidget *mainWindow);

    // Shows the rows, modally; returns when the user closes the dialog.
    void Execute(const std::vector<CGridRow> &rows);

    QTableWidget *sgResult;
    QPushButton *bttOK;
    TValueBarDelegate *priorBars;
    TValueBarDelegate *posteriorBars;
};
