// A table-driven batch consulted by several processes: `consult --jobs N`.
//
// The batch's keys are split into N contiguous ranges, each consulted by a
// job: this program started again (cli/job_worker.h), one consultation per
// process. The jobs write to files of their own; when they have ended, the
// outputs are put together in the order of the keys: the rows of each
// relational text output appended as one run would have appended them, a
// name-value output from the job that consulted the last case, the records
// of the engine output tables stored job after job. The reports are written
// once, by the job with the last keys. What the run prints is what one run
// prints: the build's lines, the status texts and the outcome.
//
// Ctrl+C stops every job after its current case; the outputs then keep the
// cases in key order up to the first one that was not consulted. A job that
// crashes ends the run as failed (exit status 2) with a message saying
// where the outputs end. A batch that a job cannot consult alone (a
// question read from the terminal) is consulted again in one process, and
// so is anything that is not a batch over one key list of at least two keys.
#pragma once

#include <optional>
#include <string>

class CInfControl;
class IConsultationView;
class IMessageBox;
class ProgressLine;

struct ParallelBatchRequest {
    std::string knowledgeBase;  // as named on the command line
    std::string answersPath;    // --answers, or empty
    int jobs = 1;
};

// Runs the batch of the built `control` in jobs and reports its outcome
// through `view` and `messages`; the exit status (0 ok, 2 failed or
// aborted). Nothing when the batch is to be consulted in this process.
std::optional<int> RunParallelBatch(const ParallelBatchRequest &request, CInfControl &control,
                                    IConsultationView &view, IMessageBox &messages, ProgressLine &progress);

// The number of jobs when --jobs is not given: the processor's cores.
int DefaultJobCount();
