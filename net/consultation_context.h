// CConsultationContext: what one consultation run shares between its driver,
// its inference net and its run-time table.
//
// Each built knowledge base has its own (its CInfControl owns it and hands
// it to the table it builds), so consultations of different knowledge bases
// never see each other's error or abort: nothing of a consultation lives in
// a process global.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/cstring.h"
#include "net/run_faults.h"

struct CConsultationContext {
    // The text of an error that stopped the consultation (a cycle of rules
    // and links), to be shown once; empty when there is none.
    CString errorText;
    // Set by the Abort command; a batch stops after the record being
    // consulted, and the run ends as aborted. Cleared when a run starts.
    bool abortRequested = false;
    // What went wrong without stopping the run (outputs and reports not
    // written, batch cases not read); the run fails when there is any.
    CRunFaults faults;
    // Told when a batch run starts a case: the cases finished before it and
    // the cases of the run. Set by a front end that shows progress; nothing
    // is told without one.
    std::function<void(int32_t done, int32_t total)> batchProgress;
};
