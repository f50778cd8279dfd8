// Running part of a test in a child process: for tests of several writers at
// once, and of limits (a file-size limit) that must not reach the test
// program itself.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a child process and returns its exit status (100 when it
// did not exit normally).
template <typename Body>
int InChild(Body body) {
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}
