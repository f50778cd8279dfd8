#include "foundation/fatal_assert.h"

#include <cstdio>
#include <cstdlib>

namespace quorvin {

void FatalAssertion(const char *condition, const char *unit, int line) {
    std::fprintf(stderr, "Assertion failed: %s, unit %s, line %d\n", condition, unit, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace quorvin
