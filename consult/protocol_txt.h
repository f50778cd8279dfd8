// CProtocolTxt: the plain-text consultation report.
//
// Appended to the file that the parameter "prottxt" names. A report opens
// with an empty line and "CONSULTATION REPORT", gives the consultation's
// name, start and end times and status, then either the ordered goals in
// fixed columns (order, name cut to 17 characters, a-priori and a-posteriori
// value in "%f" form) or, after a failure, the call stack from its bottom
// entry; it closes with a line of 64 equals signs.
#pragma once

#include <string>

#include "consult/protocol.h"

class CProtocolTxt : public CProtocol {
public:
    // A report appended to the file `name` below `directory`.
    CProtocolTxt(std::string directory, std::string name);

    static constexpr const char *kParam = "prottxt";
    const char *ParamName() const override { return kParam; }
    void Write(const CReportRecord &report) override;

private:
    void WriteCallStack(const CReportRecord &report);
    void WriteGoals(const CReportRecord &report);
};
