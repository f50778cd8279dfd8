// CRunFaults: what went wrong in a consultation run without stopping it.
//
// An output table or report that could not be written, or a batch case
// whose record could not be read, does not stop the run: the other outputs
// are still written and the other cases still consulted. But the run must
// not end as a success: it fails, and the first problem is reported with
// the number of the others, so that a batch over many cases gives one
// message, not one per case.
#pragma once

#include <cstdint>
#include <string>

class CRunFaults {
public:
    void Add(const std::string &text);
    // Takes in the faults of a part of the run that was consulted elsewhere
    // (a job of a parallel batch): its first problem and how many it had.
    void Add(const std::string &firstText, int64_t number);
    void Clear();
    bool Any() const { return count > 0; }
    const std::string &First() const { return first; }
    int64_t Count() const { return count; }
    // The first problem's text, followed by " (and N more)" when there were
    // others.
    std::string Summary() const;

private:
    std::string first;
    int64_t count = 0;
};
