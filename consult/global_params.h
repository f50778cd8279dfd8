// The user's global options: one record for the process.
//
// The record is loaded from the option store at start-up (defaults when that
// fails) and saved at exit. A consultation's own state (its error, abort and
// faults) is not here but in its context (net/consultation_context.h).
#pragma once

#include "foundation/option_store.h"
#include "foundation/cstring.h"

class CGlobalParams {
public:
    CGlobalParams() { SetDefaults(); }

    void SetDefaults();
    // Reads the options; false when a key or value is missing or unreadable,
    // and the caller then applies SetDefaults.
    bool Load(IOptionStore &store);
    // Writes the options; false when the store refuses. Nothing is reported.
    bool Save(IOptionStore &store) const;

    bool ShowHypotheses;
    bool ShowCallStack;
    bool ShowNodes;
    bool SaveOnExit;
    bool CreateNewFile;
    bool AutoMaximize;
    bool UseHTML;

    // Where the options live in the store.
    static constexpr const char *kRootKey = "\\Software\\Quorvin";
    static constexpr const char *kSaveOnExitKey = "\\Software\\Quorvin\\SaveOnExit";
    static constexpr const char *kConsultationKey = "\\Software\\Quorvin\\Consultation";
    static constexpr const char *kGlobalKey = "\\Software\\Quorvin\\Global";
};

// The process-wide record.
CGlobalParams &GlobalParams();
