// TConsultExplanations: the consultation window's account of a running
// consultation, kept apart from the window's lists and labels.
//
// It owns the explanation pane, the "Next questions" box and the "Net view"
// action, and follows the consultation through the driver's investigation
// listener: at every node the net obtains evidence for, it shows why the net
// asks it, recomputes the How of the node the user picked (in a list or in
// the net view), recolours the net view and, with the box ticked, hands the
// next questions of the goal to the host for the question windows. All of
// it only reads the net; the what-ifs of the next questions restore it.
#pragma once

#include <QObject>
#include <QString>
#include <initializer_list>
#include <vector>

#include "app/node_grid.h"
#include "ui/consultation_view.h"

class QAction;
class QCheckBox;
class QSplitter;
class QTableWidget;
class QWidget;
class CConsultationDriver;
class CInferenceNet;
class CNode;
class IChildHost;
class TExplanationPane;
class TNetView;

class TConsultExplanations : public QObject {
    Q_OBJECT
public:
    // The pane, the box and the action are children of `window`; the net
    // view, once opened, goes into `detailSplitter` beside the pane.
    TConsultExplanations(IChildHost &host, QWidget *window, QSplitter *detailSplitter);

    // Picking a row of these lists explains its node.
    void WatchLists(std::initializer_list<QTableWidget *> lists);
    // Follows the consultations of this driver from now on.
    void SetDriver(CConsultationDriver *driver);

    // What the window passes on
    // Replaces a list's rows, keeping the explained node's row selected
    // wherever the re-sort took it.
    void FillList(QTableWidget *list, const std::vector<CGridRow> &rows, const TGridLook &look);
    // Values moved (a reset, the end of a consultation).
    void ValuesChanged();
    // No node is investigated any more: the Why, the next questions and the
    // net view's ring go.
    void InvestigationEnded();

    TExplanationPane *pane;
    QCheckBox *nextQuestionsBox;
    QAction *netViewAction;
    TNetView *netView = nullptr;  // made when first opened

signals:
    // A node clicked in the net view has this help page.
    void PageRequested(const QString &path);

private:
    void Follow(CInferenceNet &net, CNode &node);
    void ListPicked(QTableWidget *list, int row);
    void Explain(const QString &name);
    void SelectExplained(QTableWidget *list);
    void RefreshHow();
    void RefreshNextQuestions(CInferenceNet &net);
    void ShowNetView(bool shown);
    void RefreshNetView();
    void NetNodeClicked(const CNode *node);

    IChildHost &host;
    QWidget *window;
    QSplitter *detailSplitter;
    std::vector<QTableWidget *> lists;
    CConsultationDriver *driver = nullptr;
    QString explainedNode;  // the node whose How the pane shows
    bool movingCurrentRow = false;  // this class, not the user, moves a list's current row
    const CNode *investigated = nullptr;  // while the net obtains its evidence
};
