#include "language/help_builder.h"

#include <cstring>

#include "language/lexer.h"
#include "language/output_file.h"

namespace {

const char *const kPageHead = "<HTML><HEAD><META name=\"GENERATOR\" content=\"Quorvin\"><TITLE>";
const char *const kPageTitleEnd = "</TITLE></HEAD><BODY BGCOLOR=\"#ffffff\"><H1>";
const char *const kPageHeadingEnd = "</H1><P><HR><P>";
const char *const kPageFoot = "</BODY></HTML>";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

bool IsAbsoluteHelpPath(const CString &helpPath) {
    const char *text = helpPath.Text();
    if (text[0] == '/') return true;
    return text[0] != '\0' && text[1] == ':';
}

CString HelpDirectory(const CString &helpPath, const CString &knowledgeBaseDirectory) {
    return IsAbsoluteHelpPath(helpPath) ? helpPath : knowledgeBaseDirectory;
}

CHelpBuilder::CHelpBuilder(const CString &helpDirectory) : directory(helpDirectory) {}

CString CHelpBuilder::PagePath(const CString &name) const {
    CString path(directory);
    if (!path.IsEmpty() && !IsSeparator(path.Text()[path.Length() - 1])) path.Append("/");
    path.Append(name);
    path.Append(".html");
    return path;
}

bool CHelpBuilder::IsSafePageName(const CString &name) {
    if (name.IsEmpty()) return false;
    const char *text = name.Text();
    // A colon would make a drive-relative path (or a stream name) on Windows.
    if (std::strpbrk(text, "/\\:") != nullptr) return false;
    return std::strstr(text, "..") == nullptr;
}

int CHelpBuilder::WritePage(const CString &name, CLexicalAnalyzer &lexer) const {
    if (!IsSafePageName(name)) return 2;
    CPOutputFile page(directory.Text(), PageFileName(name));
    page.WriteLine(kPageHead);
    page.WriteLine(name.Text());
    page.WriteLine(kPageTitleEnd);
    page.WriteLine(name.Text());
    page.WriteLine(kPageHeadingEnd);
    lexer.CopyRawLines('}', &page, kHelpLineBuffer);
    page.WriteLine(kPageFoot);
    return page.Close();
}

int CHelpBuilder::SkipPage(const CString &name, CLexicalAnalyzer &lexer) const {
    if (!IsSafePageName(name)) return 2;
    lexer.CopyRawLines('}', nullptr, kHelpLineBuffer);
    return 0;
}

std::string CHelpBuilder::PageFileName(const CString &name) { return std::string(name.Text()) + ".html"; }
