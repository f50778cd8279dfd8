// ProgressLine: how far a batch run is, on one line of a terminal that is
// rewritten in place ("1200/10000 cases, 850 a second, 10 s left").
//
// Nothing is written when the stream is not a terminal, so logs and pipes
// see exactly what they saw before. Updates are shown at most five times a
// second, the rate and time left from the run's third second on; Finish
// shows the last figures and ends the line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

class ProgressLine {
public:
    // `now` gives seconds on a steady clock (the tests give their own).
    ProgressLine(std::FILE *out, bool isTerminal, std::function<double()> now = SteadySeconds);

    void Update(int32_t done, int32_t total);
    // Ends the shown line, with the latest figures, so that other output
    // starts on a line of its own; the next update starts a new progress
    // line.
    void Break();
    // Shows the run's last figures with its rate and ends the line, unless
    // a Break already left exactly that line.
    void Finish();

    static double SteadySeconds();

private:
    void Show(int32_t done, int32_t total, bool withRate);

    std::FILE *out;
    bool enabled;
    std::function<double()> now;
    double start = -1;
    double lastShown = -1;
    bool lineOpen = false;  // a progress text is on the current line
    int32_t shownDone = -1;  // what the last text showed, and whether with the rate
    bool shownRate = false;
    int32_t lastDone = 0;
    int32_t lastTotal = 0;
};
