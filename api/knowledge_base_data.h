// What a quorvin::KnowledgeBase holds: the text it was built from and what
// the build reported. Shared read-only by its copies and its sessions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "quorvin/knowledge_base.h"

namespace quorvin {

struct KnowledgeBase::Data {
    std::string name;        // the path, or the name given with the text
    std::string directory;   // where relative file names resolve
    std::string fileName;    // for the reports
    std::optional<std::string> text;  // none when the file could not be read
    bool built = false;
    std::vector<std::string> buildLines;
    std::optional<Diagnostic> error;
    std::string errorText;
    std::vector<std::string> nodes;
    std::vector<std::string> goals;
    std::vector<std::string> parameters;
    std::vector<std::string> taxonomies;
};

}  // namespace quorvin
