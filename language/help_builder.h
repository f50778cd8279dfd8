// Help pages: the HTML files written from the `description` sections of a
// knowledge base.
//
// Each entry `Name { raw text }` becomes the file "Name.html" in the help
// directory: five fixed header lines (title and heading are the name), the
// raw lines of the entry copied verbatim by the lexer, and a footer line. The
// raw text is not escaped, so it may carry HTML markup and links to other
// pages. Writing the same name again overwrites the page.
//
// The help directory is the parameter "helppath" when that is an absolute path
// (a drive-letter path such as "c:\help", or one starting with "/"), otherwise
// the knowledge base's own directory. A page name that could leave the help
// directory - one holding "/", "\", ":" or "..", or an empty one - is refused,
// so that building somebody else's knowledge base cannot write files elsewhere.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/cstring.h"

class CLexicalAnalyzer;

// The bytes of one raw help line, terminator included; longer lines are cut.
constexpr int32_t kHelpLineBuffer = 2048;

// True for "helppath" values that name a directory on their own.
bool IsAbsoluteHelpPath(const CString &helpPath);

// The directory the help pages of a knowledge base live in, given its
// "helppath" parameter and its own directory ("" for the current directory).
CString HelpDirectory(const CString &helpPath, const CString &knowledgeBaseDirectory);

class CHelpBuilder {
public:
    // Pages go into directory; "" is the current directory.
    explicit CHelpBuilder(const CString &directory);

    // Writes the page of one entry. The lexer stands just after the entry's
    // "{"; the raw lines up to the next "}" (which is left to be read as the
    // next token) or to the end of the source are copied. Returns 0, or 2
    // when the name is refused or the file cannot be written; the page is
    // replaced as a whole, so a failure leaves the old page as it was.
    int WritePage(const CString &name, CLexicalAnalyzer &lexer) const;
    // Reads past the raw lines of one entry as WritePage does, writing
    // nothing; 2 when the name would be refused.
    int SkipPage(const CString &name, CLexicalAnalyzer &lexer) const;

    // The file of a page: the directory, a separator when needed, the name
    // and ".html".
    CString PagePath(const CString &name) const;
    // The page's file name within the directory: the name and ".html".
    static std::string PageFileName(const CString &name);
    const CString &Directory() const { return directory; }

    // False for names that are empty or could reach outside the directory.
    static bool IsSafePageName(const CString &name);

private:
    CString directory;
};
