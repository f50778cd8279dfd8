// CProtocolNetHTML: the net report, asked for by the parameter "prothtmlnet".
//
// Adds one line with the consultation's start time and the node's current
// value to the help page of every node, in declaration order, and one table
// of the goals to the page "__allgoals.html". The pages live in the knowledge
// base's help directory. A node whose name could reach outside the help
// directory is skipped. A page that cannot be written is skipped too, and the
// first such page is given back by Save, to be reported. The report is the
// same whether the consultation succeeded or not.
#pragma once

#include <string>

#include "consult/protocol.h"

class CHelpBuilder;

class CProtocolNetHTML : public CProtocol {
public:
    CProtocolNetHTML() = default;

    static constexpr const char *kParam = "prothtmlnet";
    const char *ParamName() const override { return kParam; }
    void Write(const CReportRecord &report) override;
    // The pages were appended to by Write: gives the first page that could
    // not be written.
    bool Save(std::string &firstFailure) override;

private:
    // Composes one addition and appends it to the page `page`.
    template <typename WriteFn>
    void AppendToPage(const CHelpBuilder &pages, const CString &page, WriteFn write);

    std::string failure;
};
