// CProtocolHTML: the HTML consultation report.
//
// Appended to the file that the parameter "prothtml" names. Each report is a
// fragment between two comment lines, with no document head or body of its
// own, so that successive reports follow each other in one file: a centred
// table of name, times and status, then either the ordered goals as a table
// or, after a failure, the call stack.
#pragma once

#include <string>

#include "consult/protocol.h"

class CProtocolHTML : public CProtocol {
public:
    // A report appended to the file `name` below `directory`.
    CProtocolHTML(std::string directory, std::string name);

    static constexpr const char *kParam = "prothtml";
    const char *ParamName() const override { return kParam; }
    void Write(const CReportRecord &report) override;

private:
    void WriteFailure(const CReportRecord &report);
    void WriteGoals(const CReportRecord &report);
};
