#include "consult/protocol_net_html.h"

#include "language/help_builder.h"
#include "foundation/safe_file.h"
#include "net/inf_tax_net.h"
#include "net/node.h"

template <typename WriteFn>
void CProtocolNetHTML::AppendToPage(const CHelpBuilder &pages, const CString &page, WriteFn write) {
    if (file == nullptr) return;
    write(file);
    std::string reason;
    const std::string fileName = CHelpBuilder::PageFileName(page);
    if (!quorvin::AppendRecord(pages.Directory().Text(), fileName, record.Take(), reason) && failure.empty())
        failure = "Cannot write help page " + fileName + ": " + reason;
    file = record.Stream();
}

bool CProtocolNetHTML::Save(std::string &firstFailure) {
    firstFailure = failure;
    return failure.empty();
}

void CProtocolNetHTML::Write(const CReportRecord &report) {
    failure.clear();
    file = record.Stream();
    const CHelpBuilder pages(report.helpPageDirectory);
    const CInfTaxNet *net = report.net;
    for (int32_t i = 0; i < net->nodes.Count(); ++i) {
        const CNode *node = net->nodes.At(i);
        if (!CHelpBuilder::IsSafePageName(node->name)) continue;
        AppendToPage(pages, node->name, [&](std::FILE *page) {
            std::fprintf(page, "<b>Time:</b> %s  <b>Value:</b> %f<br>\n", report.startTime.Text(),
                         static_cast<double>(node->current));
        });
    }
    AppendToPage(pages, "__allgoals", [&](std::FILE *page) {
        std::fprintf(page, "<p><b>Consultation time:</b> %s<br>", report.startTime.Text());
        WriteGoalTable(page, net->goals);
        std::fputs("</table>", page);
    });
}
