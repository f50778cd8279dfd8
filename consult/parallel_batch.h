// A table-driven batch consulted by several processes: `consult --jobs N`
// of the console, and the desktop's batch runs.
//
// The batch's keys are split into N contiguous ranges, each consulted by a
// job: the console program started with the job's part (consult/job_files.h),
// one consultation per process. The jobs write to files of their own; when they have ended, the
// outputs are put together in the order of the keys: the rows of each
// relational text output appended as one run would have appended them, a
// name-value output from the job that consulted the last case, the records
// of the engine output tables stored job after job. The reports are written
// once, by the job with the last keys. What the run prints is what one run
// prints: the build's lines, the status texts and the outcome.
//
// A stop request stops every job after its current case; the outputs then keep the
// cases in key order up to the first one that was not consulted. A job that
// crashes ends the run as failed (exit status 2) with a message saying
// where the outputs end. A batch that a job cannot consult alone (a
// question read from the terminal) is consulted again in one process, and
// so is anything that is not a batch over one key list of at least two keys.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CInfControl;
class IConsultationView;
class IMessageBox;

struct ParallelBatchRequest {
    std::string program;        // the console program that runs the jobs
    std::string knowledgeBase;  // the knowledge base's file
    std::string answersPath;    // an answers file for the jobs, or empty
    std::string consultationName;  // the reports' name; empty: the file's
    int jobs = 1;
    // Called while the jobs run (at least every tenth of a second) with the
    // cases done and the cases of the batch.
    std::function<void(int32_t done, int32_t total)> progress;
    // True once the user asked to stop (Ctrl+C, the Abort command).
    std::function<bool()> stopRequested;
};

// Runs the batch of the built `control` in jobs and reports its outcome
// through `view` and `messages`; the exit status (0 ok, 2 failed or
// aborted). Nothing when the batch is to be consulted in this process.
std::optional<int> RunParallelBatch(const ParallelBatchRequest &request, CInfControl &control,
                                    IConsultationView &view, IMessageBox &messages);

// The console program beside the running program (or, in a build tree, in
// the "cli" folder beside its folder), or nothing when there is none: jobs
// are consulted by it.
std::optional<std::string> JobProgramBeside(const std::string &runningProgram);
// The running program's own file.
std::string RunningProgram();

// The number of jobs when --jobs is not given: the processor's cores.
int DefaultJobCount();
