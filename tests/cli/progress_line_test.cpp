// The console's progress line: rewritten in place, ended before other
// output with the figures of that moment, and never left twice.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "progress_line.h"

namespace {

// A progress line on a memory stream, with a clock the test sets.
struct Line {
    Line() : stream(open_memstream(&buffer, &size)), progress(stream, true, [this] { return clock; }) {}
    ~Line() {
        std::fclose(stream);
        std::free(buffer);
    }
    std::string Text() {
        std::fflush(stream);
        std::string text(buffer, size);
        // Each rewrite starts with a carriage return and ends erasing the rest.
        std::string shown;
        for (char c : text) shown += c == '\r' ? std::string("|") : std::string(1, c);
        size_t erase;
        while ((erase = shown.find("\x1b[K")) != std::string::npos) shown.erase(erase, 3);
        return shown;
    }

    // An update `later` seconds after the last one.
    void Update(double later, int32_t done, int32_t total) {
        clock += later;
        progress.Update(done, total);
    }

    char *buffer = nullptr;
    size_t size = 0;
    double clock = 100.0;
    std::FILE *stream;
    ProgressLine progress;
};

TEST(ProgressLine, EndsWithTheFiguresOfTheMomentAndNeverTwice) {
    // A batch in jobs: updates of finished cases, the last one too soon to
    // be shown, then the merge's status lines.
    Line jobs;
    jobs.Update(0.0, 0, 100);
    jobs.Update(3.0, 60, 100);
    jobs.Update(0.1, 100, 100);  // within a fifth of a second: not shown
    jobs.progress.Break();       // before the first status line
    jobs.progress.Finish();      // after the run: the line is there already
    EXPECT_EQ(jobs.Text(), "|0/100 cases|60/100 cases, 20 a second, 2 s left|100/100 cases, 32 a second\n");

    // A batch in this process: each update counts the cases before the one
    // starting; the status after the last case finishes the line with it.
    Line serial;
    serial.Update(0.0, 0, 4);
    serial.Update(0.5, 3, 4);
    serial.progress.Finish();
    serial.progress.Finish();  // the run's own end writes nothing more
    serial.progress.Break();
    EXPECT_EQ(serial.Text(), "|0/4 cases|3/4 cases|4/4 cases, 8.0 a second\n");

    // A question in the middle ends the line; the next update opens another.
    Line asked;
    asked.Update(0.0, 0, 10);
    asked.Update(0.1, 2, 10);
    asked.progress.Break();
    asked.progress.Break();
    asked.Update(1.0, 3, 10);
    EXPECT_EQ(asked.Text(), "|0/10 cases|2/10 cases\n|3/10 cases");

    // Nothing at all where the stream is no terminal.
    std::FILE *devNull = std::fopen("/dev/null", "w");
    ProgressLine quiet(devNull, false);
    quiet.Update(1, 2);
    quiet.Break();
    quiet.Finish();
    EXPECT_EQ(std::ftell(devNull), 0);
    std::fclose(devNull);
}

}  // namespace
