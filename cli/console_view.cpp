#include "console_view.h"

#include <algorithm>

void ConsoleView::SetStatusText(const CString &text) {
    lastStatus = text.Text();
    BeforeOutput();
    session.Out().PrintLine("Status: " + lastStatus);
}

void ConsoleView::ShowResult(const std::vector<CGridRow> &rows) {
    // Columns as wide as their widest cell, two blanks apart.
    std::vector<size_t> widths;
    for (const CGridRow &row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], static_cast<size_t>(row[c].Length()));
    }
    Terminal &out = session.Out();
    BeforeOutput();
    out.PrintLine("Consulted OK");
    out.PrintLine("Ordered goal hypotheses:");
    for (const CGridRow &row : rows) {
        std::string line;
        for (size_t c = 0; c < row.size(); ++c) {
            std::string cell = row[c].Text();
            if (c + 1 < row.size()) cell.resize(widths[c] + 2, ' ');
            line += cell;
        }
        out.PrintLine(line);
    }
}

void ConsoleMessages::ShowMessage(const CString &text, const CString &, TMessageIcon) {
    BeforeOutput();
    terminal.PrintLine(text.Text());
}

void ConsoleMessages::ShowFault(const CString &text) {
    BeforeOutput();
    std::fflush(stdout);
    std::fprintf(stderr, "quorvin-cli: %s\n", text.Text());
}

void ConsolePane::AppendLine(const char *line) {
    const std::string text = line;
    if (text.rfind("[Error", 0) == 0) errorLine = text;
    lines.push_back(text);
    terminal.PrintLine(text);
}
