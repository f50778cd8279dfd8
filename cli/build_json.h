// The outcome of `quorvin-cli build KB --json FILE`, for scripts and editors:
//
//   {"ok": true | false,
//    "lines": [every line the build printed, detail lines included],
//    "errors": [{"line", "column", "endColumn", "message", "detail"}],
//    "nodes": [node names in declaration order],
//    "goals": [goal names in declaration order]}
//
// Lines and columns count from 1, characters on the line; "endColumn" is one
// past the offending token. A consistency problem has no place: its line and
// columns are null. After a failed build the node lists hold what was
// declared before the error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "language/diagnostic.h"

class CInferenceNet;

std::string BuildJson(bool ok, const std::vector<std::string> &lines, const std::optional<CDiagnostic> &error,
                      const CInferenceNet *net);
