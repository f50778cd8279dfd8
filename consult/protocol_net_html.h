// CProtocolNetHTML: the net report, asked for by the parameter "prothtmlnet".
//
// Adds one line with the consultation's start time and the node's current
// value to the help page of every node, in declaration order, and one table
// of the goals to the page "__allgoals.html". The pages live in the knowledge
// base's help directory. A page that cannot be opened is skipped; so is a
// node whose name could reach outside the help directory. The report is the
// same whether the consultation succeeded or not.
#pragma once

#include "consult/protocol.h"

class CProtocolNetHTML : public CProtocol {
public:
    CProtocolNetHTML() = default;

    static constexpr const char *kParam = "prothtmlnet";
    const char *ParamName() const override { return kParam; }
    void Write(CInfControl *control, bool failed, const CString &name, const CString &startTime,
               const CString &endTime) override;
};
