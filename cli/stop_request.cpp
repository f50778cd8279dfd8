#include "stop_request.h"

#include <signal.h>

#include <csignal>

namespace {

volatile std::sig_atomic_t stopFlag = 0;

extern "C" void OnStopRequest(int) { stopFlag = 1; }

}  // namespace

void CatchStopRequests() {
    struct sigaction action {};
    action.sa_handler = OnStopRequest;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A job of a parallel batch starts with them blocked; one that came
    // before now sets the flag.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigprocmask(SIG_UNBLOCK, &stops, nullptr);
}

bool StopRequested() { return stopFlag != 0; }

void ReleaseStopRequests() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}
