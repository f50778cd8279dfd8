// The files through which a job of a parallel batch (consult/parallel_batch.h)
// and the run that started it talk: the job's part of the keys as an
// argument, and what it leaves in the jobs' private folder - its result, its
// spool of engine records and its error output.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tables/shard.h"

// A job's exit status when a question would have to be read from the
// terminal, which a job cannot do.
constexpr int kExitNeedsTerminal = 3;

// What a job leaves for the run that started it.
struct JobResult {
    int32_t result = 2;      // the consultation's result (0 ok)
    bool aborted = false;    // stopped by Ctrl+C or an abort
    int32_t casesDone = 0;   // keys of its range consulted
    int64_t faultCount = 0;  // problems that did not stop it ...
    std::string firstFault;  // ... and the first of them
    std::string errorText;   // the last case's pending error (a cycle)
    bool anyGoalEnabled = true;
};

// "K/N/FIRST/LENGTH" with 1 <= K <= N, FIRST >= 0, LENGTH >= 1; nothing
// otherwise.
std::optional<CShard> ParseJobPart(const std::string &text);
std::string JobPartText(const CShard &part);

// The files of job `index` (0-based) in the jobs' folder.
std::string JobSpoolPath(const std::string &directory, int32_t index);
std::string JobResultPath(const std::string &directory, int32_t index);
// Its standard output and error: what a job says is said again by the run
// that started it, merged; the error output is shown when the job crashed.
std::string JobOutputPath(const std::string &directory, int32_t index);
std::string JobErrorsPath(const std::string &directory, int32_t index);

bool WriteJobResult(const std::string &path, const JobResult &result);
// Nothing when the file is missing or not a whole job's result.
std::optional<JobResult> ReadJobResult(const std::string &path);
