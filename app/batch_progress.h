// TBatchProgress: the status bar at the foot of a consultation window, shown
// while a batch consultation runs: a progress bar of the run's cases and
// beside it the console's text ("1200/10000 cases, 850 a second, 10 s left").
//
// A consultation runs in the GUI thread. While a question waits, its window's
// event loop keeps the program alive; a batch asks nothing, so without help
// the window would freeze for the whole run. Report, the core's progress
// listener, therefore also lets pending events through, at most every
// 100 ms: repaints, Abort and the close request reach the window between
// cases. The bar is updated as often, the text a few times a second, so a
// run of many thousand cases is not slowed down by drawing them.
//
// The bar appears with the first report of a run and goes when the window
// says the consultation has ended; a consultation without a batch reports
// nothing and never shows it.
#pragma once

#include <QElapsedTimer>
#include <QStatusBar>
#include <cstdint>

class QLabel;
class QProgressBar;

class TBatchProgress : public QStatusBar {
    Q_OBJECT
public:
    explicit TBatchProgress(QWidget *parent);

    // The core's listener: `done` of the run's `total` cases are finished
    // and the next one starts now.
    void Report(int32_t done, int32_t total);
    // The run has left its cases (finished, failed or aborted): shows the
    // final figures, counting the case it was consulting as done.
    void CasesOver();
    // The consultation has ended: the bar goes until the next run's report.
    void Ended();

    bool Shown() const { return running; }

    QProgressBar *bar;
    QLabel *figures;

private:
    void Begin(int32_t total);
    void ShowFigures(bool withText);
    QString FiguresText() const;

    bool running = false;
    bool over = false;
    int32_t done = 0;
    int32_t total = 0;
    QElapsedTimer sinceStart;   // the run's rate and time left
    QElapsedTimer sinceEvents;  // pending events and the bar
    QElapsedTimer sinceText;    // the figures' text
};
