#include "consult/protocol_net_html.h"

#include "consult/inf_control.h"
#include "language/help_builder.h"
#include "language/written_file.h"
#include "net/inf_tax_net.h"
#include "net/node.h"

namespace {

// Appends to one page; a page that does not open is skipped.
template <typename WriteFn>
void AppendToPage(const CString &path, WriteFn write) {
    std::FILE *page = OpenWrittenFile(path.Text(), "a+");
    if (page == nullptr) return;
    write(page);
    std::fclose(page);
}

}  // namespace

void CProtocolNetHTML::Write(CInfControl *control, bool /*failed*/, const CString & /*name*/,
                             const CString &startTime, const CString & /*endTime*/) {
    const CHelpBuilder pages(control->HelpPageDirectory());
    const CInfTaxNet *net = control->Net();
    for (int32_t i = 0; i < net->nodes.Count(); ++i) {
        const CNode *node = net->nodes.At(i);
        if (!CHelpBuilder::IsSafePageName(node->name)) continue;
        AppendToPage(pages.PagePath(node->name), [&](std::FILE *page) {
            std::fprintf(page, "<b>Time:</b> %s  <b>Value:</b> %f<br>\n", startTime.Text(),
                         static_cast<double>(node->current));
        });
    }
    AppendToPage(pages.PagePath("__allgoals"), [&](std::FILE *page) {
        std::fprintf(page, "<p><b>Consultation time:</b> %s<br>", startTime.Text());
        WriteGoalTable(page, net->goals);
        std::fputs("</table>", page);
    });
}
