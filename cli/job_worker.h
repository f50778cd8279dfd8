// JobWorker: the side of a job of a parallel batch (cli/parallel_batch.h).
//
// A job is this program started again by the run that splits the batch:
//
//   quorvin-cli consult KB.qvb --job-part K/N/FIRST/LENGTH --job-dir DIR
//
// It consults the batch keys at positions FIRST .. FIRST+LENGTH-1, writes
// its text outputs to NAME.job-K-of-N beside the real ones, and the records
// of its engine output tables to a spool file in DIR. Only the last job
// writes the reports, since they show the run's last case. It writes no
// help pages: the run that started it has written them.
//
// Descriptor 3 carries its progress to the run that started it: the number
// of cases done, one decimal number per line. At the end it leaves a result
// file in DIR (ReadJobResult). Ctrl+C stops it after the current case
// (cli/stop_request.h), and it ends when the run that started it ends. A
// question that would have to be read from the terminal cannot be answered
// by a job: it ends at once with kExitNeedsTerminal, and the run consults
// the batch in one process instead.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "consult/inf_control.h"
#include "tables/shard.h"

class CDatabaseEngine;
class CRunFaults;
class CTableEnvironment;

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

// The files of job `index` (0-based) in the jobs' directory.
std::string JobSpoolPath(const std::string &directory, int32_t index);
std::string JobResultPath(const std::string &directory, int32_t index);
// Its standard error: what a job says is said again by the run that started
// it, merged, except when the job crashed.
std::string JobErrorsPath(const std::string &directory, int32_t index);

bool WriteJobResult(const std::string &path, const JobResult &result);
// Nothing when the file is missing or not a job's result.
std::optional<JobResult> ReadJobResult(const std::string &path);

class JobWorker {
public:
    JobWorker(const CShard &part, std::string directory);
    ~JobWorker();

    const CShard &Part() const { return part; }
    // Makes the environment's engine spool the records of engine output
    // tables (tables/spool_engine.h); the environment must outlive the job.
    void SpoolEngineOutputs(CTableEnvironment &environment);
    // The files the job writes.
    CWrittenFiles WrittenFiles() const;
    // Tells the run how many cases are done.
    void TellProgress(int32_t done) const;
    // A question would read the terminal: ends the job at once.
    [[noreturn]] static void NeedsTerminal();
    bool Finish(const JobResult &result) const;

private:
    CShard part;
    std::string directory;
    std::unique_ptr<CDatabaseEngine> spool;
};
