// CProtocol: the consultation reports that a knowledge base asks for.
//
// At the end of every consultation, and at the moment of an abort, the
// inference control writes up to three reports: a plain-text report, an HTML
// report (both appended to a file the parameters name) and a net report that
// adds a line to every node's help page and a table to "__allgoals.html".
// Report files are never truncated, so one file collects the history of all
// consultations that named it. A file that cannot be opened is skipped
// without a message, and write errors are ignored: a report never changes the
// outcome of a consultation.
//
// A writer is short-lived: constructed, written once, destroyed.
#pragma once

#include <cstdio>

#include "foundation/cstring.h"
#include "net/node_collections.h"

class CInfControl;

class CProtocol {
public:
    virtual ~CProtocol();
    CProtocol(const CProtocol &) = delete;
    CProtocol &operator=(const CProtocol &) = delete;

    // The parameter that asks for this report.
    virtual const char *ParamName() const = 0;
    // Writes one report. The times are `ctime` texts, each ending with a line
    // feed that is printed as part of the text.
    virtual void Write(CInfControl *control, bool failed, const CString &name, const CString &startTime,
                       const CString &endTime) = 0;

protected:
    CProtocol() = default;
    // Opens `path` for appending ("a+"); the writer stays without a file when
    // that fails.
    explicit CProtocol(const char *path);

    std::FILE *file = nullptr;  // owned; null when not open
};

// The goal table shared by the HTML report and the net report: the heading
// row, then one row per goal in the order given, without the closing tag.
void WriteGoalTable(std::FILE *out, const CNodeArray &goals);
