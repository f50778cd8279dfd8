#include "quorvin/result.h"

namespace quorvin {

const char *StatusName(Status status) {
    static const char *const names[] = {"ok", "error", "aborted", "invalid"};
    return names[static_cast<int>(status)];
}

}  // namespace quorvin
