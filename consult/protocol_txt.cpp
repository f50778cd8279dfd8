#include "consult/protocol_txt.h"

#include <utility>

#include "net/inf_tax_net.h"
#include "net/node.h"

namespace {

const char *const kRuleLine = "   -----------------------------------------------\n";

}  // namespace

CProtocolTxt::CProtocolTxt(std::string directory, std::string name)
    : CProtocol(std::move(directory), std::move(name)) {}

void CProtocolTxt::Write(const CReportRecord &report) {
    if (file == nullptr) return;
    std::fputs("\nCONSULTATION REPORT\n", file);
    std::fprintf(file, "  Name:     %s\n", report.name.Text());
    std::fprintf(file, "  Started:  %s\n", report.startTime.Text());
    std::fprintf(file, "  Finished: %s\n", report.endTime.Text());
    if (report.failed) {
        std::fputs(report.aborted ? "  Status:   aborted\n" : "  Status:   error\n", file);
        WriteCallStack(report);
    } else {
        std::fputs("  Status:   consulted ok\n", file);
        WriteGoals(report);
    }
    std::fputs("\n================================================================\n", file);
}

void CProtocolTxt::WriteCallStack(const CReportRecord &report) {
    std::fputs("  Call stack:\n", file);
    const CNodeStack &stack = report.net->callStack;
    for (int32_t i = 0; i < stack.Count(); ++i) std::fprintf(file, "      %s\n", stack.At(i)->name.Text());
}

void CProtocolTxt::WriteGoals(const CReportRecord &report) {
    std::fputs("  Ordered goals:\n", file);
    std::fputs(kRuleLine, file);
    std::fputs("    order  name               aprior   aposterior\n", file);
    std::fputs(kRuleLine, file);
    const CNodeArray &goals = report.net->goals;
    for (int32_t i = 0; i < goals.Count(); ++i) {
        const CNode *goal = goals.At(i);
        // The a-priori value is cut to its column like the name; the
        // a-posteriori value ends the row and is never cut.
        char prior[32];
        std::snprintf(prior, sizeof prior, "%f", static_cast<double>(goal->prior));
        std::fprintf(file, "%7d.   %-17.17s %-10.10s %f\n", static_cast<int>(i + 1), goal->name.Text(), prior,
                     static_cast<double>(goal->current));
    }
    std::fputs(kRuleLine, file);
}
