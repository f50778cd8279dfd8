#include "job_worker.h"

#include <signal.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "tables/spool_engine.h"
#include "tables/table_environment.h"

namespace {

constexpr int kProgressDescriptor = 3;

}  // namespace

JobWorker::JobWorker(const CShard &jobPart, std::string jobDirectory)
    : part(jobPart), directory(std::move(jobDirectory)) {
#ifdef __linux__
    // A job outlives no run: when the run ends, so does the job.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
}

JobWorker::~JobWorker() = default;

void JobWorker::SpoolEngineOutputs(CTableEnvironment &environment) {
    spool = std::make_unique<CSpoolEngine>(environment.Engine(), JobSpoolPath(directory, part.index));
    environment.engine = spool.get();
}

CWrittenFiles JobWorker::WrittenFiles() const {
    CWrittenFiles files;
    files.helpPages = false;
    files.reports = part.index == part.count - 1;
    return files;
}

void JobWorker::TellProgress(int32_t done) const {
    const std::string line = std::to_string(done) + "\n";
    // The run may not listen (a job started by hand): nothing to do then.
    [[maybe_unused]] const ssize_t written = ::write(kProgressDescriptor, line.data(), line.size());
}

void JobWorker::NeedsTerminal() {
    std::fflush(stdout);
    _exit(kExitNeedsTerminal);
}

bool JobWorker::Finish(const JobResult &result) const {
    TellProgress(result.casesDone);
    return WriteJobResult(JobResultPath(directory, part.index), result);
}
