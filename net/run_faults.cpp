#include "net/run_faults.h"

void CRunFaults::Add(const std::string &text) {
    if (count++ == 0) first = text;
}

void CRunFaults::Add(const std::string &firstText, int64_t number) {
    if (number <= 0) return;
    if (count == 0) first = firstText;
    count += number;
}

void CRunFaults::Clear() {
    first.clear();
    count = 0;
}

std::string CRunFaults::Summary() const {
    if (count <= 1) return first;
    return first + " (and " + std::to_string(count - 1) + " more)";
}
