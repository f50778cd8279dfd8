// CReportRecord: what a consultation report prints, gathered by the control
// when a consultation ends (or is aborted). The reports see this record and
// nothing else of the control.
#pragma once

#include "foundation/cstring.h"

class CInfTaxNet;

struct CReportRecord {
    const CInfTaxNet *net = nullptr;  // its goals, and the call stack of a failure
    bool failed = false;              // the consultation did not end with success
    bool aborted = false;             // it failed because the user aborted it
    CString name;                     // the knowledge base's file name
    CString startTime;                // `ctime` texts, each ending with a line feed
    CString endTime;
    CString helpPageDirectory;        // where the net report's pages are
};
