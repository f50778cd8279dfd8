// Fatal assertions of the logic.
//
// A broken precondition is a programming error, not a user error: the program
// stops at once and says which condition failed, in which unit and on which
// line. The check stays on in release builds, because a silent overrun would
// be worse than a stop.
#pragma once

namespace quorvin {

// Writes "Assertion failed: <condition>, unit <unit>, line <line>" to the
// standard error stream and aborts the program.
[[noreturn]] void FatalAssertion(const char *condition, const char *unit, int line);

}  // namespace quorvin

#define QV_ASSERT(condition, unit)                                   \
    do {                                                             \
        if (!(condition)) ::quorvin::FatalAssertion(#condition, unit, __LINE__); \
    } while (0)
