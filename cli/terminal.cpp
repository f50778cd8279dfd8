#include "terminal.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interruptFlag = 0;

extern "C" void OnInterrupt(int) { interruptFlag = 1; }

}  // namespace

void Terminal::CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a waiting read returns EINTR
    sigaction(SIGINT, &action, nullptr);
}

bool Terminal::Interrupted() { return interruptFlag != 0; }

void Terminal::Print(const std::string &text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void Terminal::PrintLine(const std::string &text) {
    Print(text);
    std::fputc('\n', stdout);
}

bool Terminal::InputIsTerminal() const { return ::isatty(STDIN_FILENO) == 1; }

TReadResult Terminal::ReadLine(std::string &line) {
    std::fflush(stdout);
    line.clear();
    bool truncated = false;
    for (;;) {
        if (Interrupted()) return TReadResult::interrupted;
        const size_t end = pending.find('\n');
        const size_t take = end == std::string::npos ? pending.size() : end;
        if (!truncated) line.append(pending, 0, std::min(take, kMaxLine - line.size()));
        truncated = line.size() >= kMaxLine;
        if (end != std::string::npos) {
            pending.erase(0, end + 1);
            break;
        }
        pending.clear();
        TReadResult stop = TReadResult::end;
        if (!Fill(stop)) {
            // A last line without a line end still counts as a line.
            if (stop == TReadResult::end && !line.empty()) break;
            return stop;
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // No answer can hold a zero byte: it would end the text there and turn
    // the rest into nothing. It reads as a character no question accepts.
    std::replace(line.begin(), line.end(), '\0', '?');
    return TReadResult::line;
}

bool Terminal::Fill(TReadResult &stop) {
    if (atEnd) {
        stop = TReadResult::end;
        return false;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got > 0) {
            pending.append(buffer, static_cast<size_t>(got));
            return true;
        }
        if (got < 0 && errno == EINTR) {
            if (!Interrupted()) continue;  // another signal: keep waiting
            stop = TReadResult::interrupted;
            return false;
        }
        atEnd = true;
        stop = TReadResult::end;
        return false;
    }
}
