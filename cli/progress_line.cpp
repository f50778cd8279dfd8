#include "progress_line.h"

#include <chrono>

#include "ui/progress_text.h"

namespace {

constexpr double kShowEvery = 0.2;  // seconds
// The first cases pay for opening and indexing the tables: a rate taken
// from them would promise hours for a run of seconds.
constexpr double kRateAfter = 2.0;  // seconds

}  // namespace

ProgressLine::ProgressLine(std::FILE *out, bool isTerminal, std::function<double()> now)
    : out(out), enabled(isTerminal && out != nullptr), now(std::move(now)) {}

double ProgressLine::SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void ProgressLine::Update(int32_t done, int32_t total) {
    if (!enabled) return;
    const double t = now();
    if (start < 0) start = t;
    lastDone = done;
    lastTotal = total;
    if (lastShown >= 0 && t - lastShown < kShowEvery) return;
    lastShown = t;
    Show(done, total, t - start >= kRateAfter);
}

void ProgressLine::Break() {
    if (!lineOpen) return;
    // The line is left for good: with the figures of now, not those of the
    // last update shown (updates come at most five times a second).
    if (shownDone != lastDone) Show(lastDone, lastTotal, lastDone == lastTotal || now() - start >= kRateAfter);
    std::fputc('\n', out);
    std::fflush(out);
    lineOpen = false;
}

void ProgressLine::Finish() {
    if (!enabled || start < 0) return;
    // The run ended after the last case it started.
    if (lastTotal > lastDone) ++lastDone;
    if (lineOpen || shownDone != lastDone || !shownRate) Show(lastDone, lastTotal, true);
    Break();
    start = -1;
}

void ProgressLine::Show(int32_t done, int32_t total, bool withRate) {
    // Carriage return, the text, then erase what a longer earlier text left.
    const double seconds = withRate ? now() - start : 0.0;
    std::fprintf(out, "\r%s\x1b[K", ProgressText(done, total, seconds).c_str());
    std::fflush(out);
    lineOpen = true;
    shownDone = done;
    shownRate = withRate;
}
