// CProtocol: the consultation reports that a knowledge base asks for.
//
// At the end of every consultation, and at the moment of an abort, the
// inference control writes up to three reports: a plain-text report, an HTML
// report (both appended to a file the parameters name) and a net report that
// adds a line to every node's help page and a table to "__allgoals.html".
// Report files are never truncated, so one file collects the history of all
// consultations that named it. A writer composes its record in memory and
// `Save` appends it with one write under a lock (foundation/safe_file.h), so
// two consultations writing one report never mix their lines and a full disk
// leaves no half record; such a failure is given back to the caller, which
// reports it.
//
// A writer is short-lived: constructed, written once, saved, destroyed.
#pragma once

#include <cstdio>
#include <string>

#include "consult/report_record.h"
#include "foundation/cstring.h"
#include "foundation/text_stream.h"
#include "net/node_collections.h"

class CProtocol {
public:
    virtual ~CProtocol();
    CProtocol(const CProtocol &) = delete;
    CProtocol &operator=(const CProtocol &) = delete;

    // The parameter that asks for this report.
    virtual const char *ParamName() const = 0;
    // Writes one report of the record. The times end with a line feed that
    // is printed as part of the text.
    virtual void Write(const CReportRecord &report) = 0;
    // Appends what Write composed to the report's file; false with the
    // reason (for the user, naming the file) when it could not be written.
    virtual bool Save(std::string &failure);

protected:
    CProtocol() = default;
    // A report appended to the file `name` below `directory`.
    CProtocol(std::string directory, std::string name);

    quorvin::CTextStream record;
    std::FILE *file = nullptr;  // the record being composed; null without memory
    std::string directory;
    std::string name;
};

// The goal table shared by the HTML report and the net report: the heading
// row, then one row per goal in the order given, without the closing tag.
void WriteGoalTable(std::FILE *out, const CNodeArray &goals);
