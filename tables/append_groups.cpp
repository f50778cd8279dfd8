#include "tables/append_groups.h"

#include <utility>

#include "foundation/cstring.h"
#include "tables/database_engine.h"

CAppendGroups::CAppendGroups(CDatabaseEngine &target, Limits groupLimits) : engine(target), limits(groupLimits) {}

CAppendGroups::~CAppendGroups() {
    std::string ignored;
    End(ignored);
}

bool CAppendGroups::Enter(const std::string &alias, std::string &reason) {
    if (open && alias == openAlias && records < limits.records &&
        std::chrono::steady_clock::now() - began < limits.age) {
        ++records;
        return true;
    }
    if (!End(reason)) return false;
    open = engine.BeginAppending(CString(alias.c_str())) == 0;
    openAlias = alias;
    records = 1;
    began = std::chrono::steady_clock::now();
    return true;
}

bool CAppendGroups::End(std::string &reason) {
    std::string failure = std::exchange(pausedFailure, std::string());
    if (open) {
        open = false;
        if (engine.EndAppending(CString(openAlias.c_str())) != 0 && failure.empty()) {
            const std::string why = engine.LastFailure();
            failure = "the records for " + openAlias + " were not stored" + (why.empty() ? "" : ": " + why);
        }
    }
    if (failure.empty()) return true;
    reason = std::move(failure);
    return false;
}

void CAppendGroups::Pause() {
    // End reports a failure kept from an earlier Pause before its own.
    if (std::string reason; !End(reason)) pausedFailure = std::move(reason);
}
