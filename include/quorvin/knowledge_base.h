// quorvin::KnowledgeBase: a knowledge base loaded and built, ready to open
// sessions on.
//
// Loading reads the text (from a file or from memory) and builds it once, to
// give its build lines, the cause of a failed build and the names of its
// nodes, goals, asked parameters and taxonomies. A knowledge base that does
// not build is still a value: Built() is false and the lines say why;
// nothing is thrown and nothing aborts. A KnowledgeBase is immutable and
// cheap to copy (copies share the text); any number of sessions, on any
// threads, may be opened on it (quorvin/session.h).
//
// Files that the text names by a relative path (help pages, reports,
// tables) resolve against the knowledge base's directory: the file's own
// folder, or the directory given with a text. Help pages are written only
// when LoadOptions asks for them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quorvin/export.h"

namespace quorvin {

// Where and why a build was refused.
struct Diagnostic {
    int line = 0;        // 1-based; 0 for a net that failed its consistency check
    int column = 0;      // 1-based, where the refused token starts
    int endColumn = 0;   // just after it
    std::string message; // the error line's message, as the build printed it
    std::string detail;  // the cause, naming the token, node or value; may be empty
};

struct LoadOptions {
    // Write the help pages of the knowledge base's descriptions into its help
    // directory, as the console and the desktop do at every build.
    bool writeHelpPages = false;
};

class QUORVIN_API KnowledgeBase {
public:
    // Reads and builds the file at `path`. A file that cannot be read gives
    // a knowledge base that did not build, with the reason in ErrorText().
    static KnowledgeBase FromFile(const std::string &path, const LoadOptions &options = {});
    // Builds `text`; `directory` is where its relative file names resolve
    // ("" is the current directory) and `name` the file name its reports
    // show.
    static KnowledgeBase FromText(const std::string &text, const std::string &directory = "",
                                  const std::string &name = "", const LoadOptions &options = {});

    // The build
    bool Built() const;
    // Every line the build printed, in order ("Building inference net...",
    // ..., "Done." or the error line and its detail line).
    const std::vector<std::string> &BuildLines() const;
    // The cause and place of a refused build: the compiler's, or the
    // consistency check's without a place. None when it built or the file
    // could not be read (ErrorText() says why).
    const std::optional<Diagnostic> &Error() const;
    // Why it did not build, in one line: the build's error line, or the
    // reason the file could not be read; empty when it built.
    const std::string &ErrorText() const;

    // What can be answered and read, in declaration order
    const std::vector<std::string> &Nodes() const;
    const std::vector<std::string> &Goals() const;
    const std::vector<std::string> &Parameters() const;  // asked at every consultation
    const std::vector<std::string> &Taxonomies() const;

    // The path of the file, or the name given with the text.
    const std::string &Name() const;

    struct Data;  // the shared, immutable state

private:
    explicit KnowledgeBase(std::shared_ptr<const Data> data);
    std::shared_ptr<const Data> data;
    friend class Session;
};

}  // namespace quorvin
