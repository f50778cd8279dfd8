#include "app/batch_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "ui/progress_text.h"

namespace {

// Often enough that the window answers at once, rarely enough that a fast
// batch pays next to nothing for it.
constexpr qint64 kEventsEveryMs = 100;
constexpr qint64 kTextEveryMs = 250;
// The first cases pay for opening and indexing the tables: a rate taken
// from them would promise hours for a run of seconds.
constexpr qint64 kRateAfterMs = 2000;

}  // namespace

TBatchProgress::TBatchProgress(QWidget *parent) : QStatusBar(parent) {
    // Inside a child window of the main window there is nothing to resize.
    setSizeGripEnabled(false);
    bar = new QProgressBar(this);
    bar->setFixedWidth(200);
    figures = new QLabel(this);
    addWidget(bar);
    addWidget(figures, 1);
    hide();
}

void TBatchProgress::Report(int32_t casesDone, int32_t cases) {
    done = casesDone;
    total = cases;
    const bool first = !running;
    if (first)
        Begin(cases);
    else if (sinceEvents.elapsed() < kEventsEveryMs)
        return;
    ShowFigures(first || sinceText.elapsed() >= kTextEveryMs);
    sinceEvents.restart();
    // Repaints, Abort and the close request; a close request asks its
    // question in a modal box that returns here.
    QCoreApplication::processEvents();
}

void TBatchProgress::Begin(int32_t cases) {
    running = true;
    over = false;
    sinceStart.start();
    sinceEvents.start();
    bar->setRange(0, std::max(cases, 0));
    show();
}

void TBatchProgress::CasesOver() {
    if (!running || over) return;
    over = true;
    // The run stops after the case it has started, as the console counts.
    done = std::min(done + 1, total);
    ShowFigures(true);
}

void TBatchProgress::Ended() {
    running = false;
    hide();
}

void TBatchProgress::ShowFigures(bool withText) {
    bar->setValue(done);
    if (!withText) return;
    figures->setText(FiguresText());
    sinceText.restart();
}

QString TBatchProgress::FiguresText() const {
    const qint64 ms = sinceStart.elapsed();
    const double seconds = over || ms >= kRateAfterMs ? static_cast<double>(ms) / 1000.0 : 0.0;
    return QString::fromStdString(ProgressText(done, total, seconds));
}
