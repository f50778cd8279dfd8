#include "terminal.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interruptFlag = 0;
volatile std::sig_atomic_t waitingForInput = 0;
volatile std::sig_atomic_t stopAfterCase = 0;

// While a question waits, Ctrl+C only sets the flag, and the reader aborts
// the consultation. At any other time it ends the program at once, as it
// does every command-line program: nothing else would notice it, and a long
// run without questions must remain stoppable. A batch notices the flag
// after its case, so there the first signal only sets it.
extern "C" void OnInterrupt(int signal) {
    if (waitingForInput || (stopAfterCase && interruptFlag == 0)) {
        interruptFlag = 1;
        return;
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

bool interruptsCaught = false;

sigset_t InterruptSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    return set;
}

// Waits until standard input can be read; false when a signal broke the
// wait off. Ctrl+C is held back until the wait has begun, so one pressed
// just before it still ends it instead of killing the program.
bool WaitForInput() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (!interruptsCaught) return ::poll(&input, 1, -1) >= 0 || errno != EINTR;
    const sigset_t interrupt = InterruptSet();
    sigset_t during;
    sigprocmask(SIG_BLOCK, &interrupt, &during);
    waitingForInput = 1;
    sigdelset(&during, SIGINT);
    const bool ready = interruptFlag == 0 && (::ppoll(&input, 1, nullptr, &during) >= 0 || errno != EINTR);
    waitingForInput = 0;
    sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);
    return ready;
}

}  // namespace

void Terminal::CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    interruptsCaught = true;
}

bool Terminal::Interrupted() { return interruptFlag != 0; }

void Terminal::StopAfterCase() {
    if (!interruptsCaught || stopAfterCase) return;
    stopAfterCase = 1;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
}

void Terminal::Print(const std::string &text) { std::fwrite(text.data(), 1, text.size(), out); }

void Terminal::PrintLine(const std::string &text) {
    Print(text);
    std::fputc('\n', out);
}

bool Terminal::InputIsTerminal() const { return ::isatty(STDIN_FILENO) == 1; }

bool Terminal::ErrorsGoToTerminal() { return ::isatty(STDERR_FILENO) == 1; }

TReadResult Terminal::ReadLine(std::string &line) {
    std::fflush(out);
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
        if (Interrupted()) {
            stop = TReadResult::interrupted;
            return false;
        }
        if (!WaitForInput()) continue;  // a signal: look at the flag again
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got > 0) {
            pending.append(buffer, static_cast<size_t>(got));
            return true;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        atEnd = true;
        stop = TReadResult::end;
        return false;
    }
}
