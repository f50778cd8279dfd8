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
#include "consult/job_files.h"
#include "tables/shard.h"

class CDatabaseEngine;
class CRunFaults;
class CTableEnvironment;

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
