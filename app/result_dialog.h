// TfrmConsResult: the modal dialog "Result of the consultation", shown after
// a successful consultation: the lines "Consulted OK" and "Ordered goal
// hypotheses:", a grid with the columns "Order", "Goal", "Aprior" and
// "Aposterior", and an "OK" button (default) that closes it. Beside each
// value a bar shows it as a share of 1: the a-priori values in grey, the
// a-posteriori ones in blue, so a goal the consultation made likely stands
// out from one it only kept. The dialog grows to show every goal where the
// screen has the room.
#pragma once

#include <QDialog>
#include <vector>

#include "app/node_grid.h"
#include "ui/consultation_view.h"

class QTableWidget;
class QPushButton;
class TValueBarDelegate;


class TfrmConsResult : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConsResult(QWidget *mainWindow);

    // Shows the rows, modally, values with `decimals` digits (or as
    // written), each goal's description as its tool tip; returns when the
    // user closes the dialog.
    void Execute(const std::vector<CGridRow> &rows, int decimals = TGridLook::kAsWritten,
                 const TNodeDescriber &describe = {});
    // Fills the grid as Execute does, without showing the dialog.
    void ShowRows(const std::vector<CGridRow> &rows, int decimals = TGridLook::kAsWritten,
                  const TNodeDescriber &describe = {});

    // Grows the dialog, never shrinks it, so that the grid shows its rows
    // and columns without scrolling, as far as the screen's room allows.
    void GrowToGrid();

    QTableWidget *sgResult;
    QPushButton *bttOK;
    TValueBarDelegate *priorBars;
    TValueBarDelegate *posteriorBars;
};
