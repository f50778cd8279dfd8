// Checking a knowledge base's text for an editor: compile and consistency
// check, as Build does them, on a text in memory.
//
// A check never writes a file: help pages are read past (a page name that a
// build would refuse is still refused), and no report is written. Its lines
// are those Build would print, detail lines included; the diagnostic is
// Build's (see consult/inf_control.h). The registry gives the retrievers
// and translators that the text may name; it is only read, so one registry
// may serve checks on several threads when nothing else changes it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "language/diagnostic.h"

class CAllRetrievers;

struct CTextCheck {
    bool ok = false;
    std::vector<std::string> lines;
    std::optional<CDiagnostic> diagnostic;
};

CTextCheck CheckText(const std::string &text, CAllRetrievers *registry);
