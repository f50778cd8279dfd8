#include "consult/parallel_batch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "foundation/safe_file.h"
#include "consult/job_files.h"
#include "net/params.h"
#include "net/run_faults.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/table.h"
#include "tables/batch_iterator.h"
#include "tables/out_database.h"
#include "tables/spool_engine.h"
#include "tables/table_environment.h"
#include "tables/table_formats.h"
#include "tables/text_outputs.h"
#include "ui/consultation_view.h"
#include "ui/message_box.h"

extern char **environ;

namespace {

namespace fs = std::filesystem;

struct Job {
    CShard part;
    pid_t pid = -1;
    int progress = -1;     // read end of the job's progress pipe
    int32_t casesDone = 0;  // as last told
    bool running = false;
    int status = 0;  // from waitpid
    std::string pendingLine;
    std::optional<JobResult> result;

    bool NeedsTerminal() const { return WIFEXITED(status) && WEXITSTATUS(status) == kExitNeedsTerminal; }
    bool EndedNormally() const {
        return result && WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 2);
    }
    bool Complete() const { return EndedNormally() && !result->aborted && result->casesDone == part.length; }
};

// The keys of the batch when it runs over one key list of two keys or
// more; nothing otherwise.
std::optional<int32_t> BatchKeyCount(CInfControl &control) {
    CTable &table = *control.Table();
    if (table.OpenBatch(control.Parameters()) != 0) return std::nullopt;
    int32_t active = 0;
    int32_t keys = 0;
    for (int32_t i = 0; i < table.batchIterators.Count(); ++i) {
        const CBatchIterator *iterator = table.batchIterators.At(i);
        if (!iterator->active) continue;
        ++active;
        keys = iterator->KeyCount();
    }
    if (active != 1 || keys < 2) return std::nullopt;
    return keys;
}

// `count` keys in `jobs` contiguous ranges whose lengths differ by one at
// most.
std::vector<Job> SplitKeys(int32_t count, int32_t jobs) {
    std::vector<Job> parts(jobs);
    int32_t first = 0;
    for (int32_t k = 0; k < jobs; ++k) {
        const int32_t length = count / jobs + (k < count % jobs ? 1 : 0);
        parts[k].part = CShard{k, jobs, true, first, length};
        first += length;
    }
    return parts;
}

std::optional<std::string> MakeJobDirectory() {
    const char *temp = std::getenv("TMPDIR");
    std::string pattern = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") + "/quorvin-jobs-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return std::nullopt;
    return pattern;
}

bool StartJob(Job &job, const ParallelBatchRequest &request, const std::string &directory) {
    const std::string &program = request.program;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    std::vector<std::string> args{program, "consult", request.knowledgeBase, "--job-part", JobPartText(job.part),
                                  "--job-dir", directory};
    if (!request.answersPath.empty()) args.insert(args.end(), {"--answers", request.answersPath});
    if (!request.consultationName.empty()) args.insert(args.end(), {"--job-name", request.consultationName});
    std::vector<char *> argv;
    for (std::string &arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string output = JobOutputPath(directory, job.part.index);
    const std::string errors = JobErrorsPath(directory, job.part.index);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 3);
    // A stop that comes before the job listens for it must wait for it, not
    // end the job: the job starts with the stop signals blocked and lets
    // them through once it has its handler (cli/stop_request.h).
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    posix_spawnattr_setsigmask(&attributes, &stops);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const int spawned = ::posix_spawn(&job.pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return false;
    }
    job.progress = pipeEnds[0];
    job.running = true;
    return true;
}

// Takes in what a job told since the last look; false at the end of its
// progress (the job has ended).
bool ReadProgress(Job &job) {
    char buffer[512];
    const ssize_t got = ::read(job.progress, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) return true;
    if (got <= 0) return false;
    job.pendingLine.append(buffer, static_cast<size_t>(got));
    for (size_t end; (end = job.pendingLine.find('\n')) != std::string::npos;) {
        job.casesDone = std::atoi(job.pendingLine.substr(0, end).c_str());
        job.pendingLine.erase(0, end + 1);
    }
    return true;
}

void EndJob(Job &job, const std::string &directory) {
    ::close(job.progress);
    job.progress = -1;
    while (::waitpid(job.pid, &job.status, 0) < 0 && errno == EINTR) {
    }
    job.running = false;
    job.result = ReadJobResult(JobResultPath(directory, job.part.index));
}

void SignalJobs(std::vector<Job> &jobs, int signal) {
    for (Job &job : jobs)
        if (job.running) ::kill(job.pid, signal);
}

int32_t CasesDone(const std::vector<Job> &jobs) {
    int32_t done = 0;
    for (const Job &job : jobs) done += job.casesDone;
    return done;
}

// Waits for every job, showing the progress and passing a stop request on.
// A job that needs the terminal ends the others at once.
void WatchJobs(std::vector<Job> &jobs, const std::string &directory, const ParallelBatchRequest &request,
               int32_t total) {
    bool stopPassedOn = false;
    for (;;) {
        if (!stopPassedOn && request.stopRequested && request.stopRequested()) {
            SignalJobs(jobs, SIGINT);
            stopPassedOn = true;
        }
        std::vector<pollfd> watched;
        std::vector<Job *> owners;
        for (Job &job : jobs) {
            if (!job.running) continue;
            watched.push_back({job.progress, POLLIN, 0});
            owners.push_back(&job);
        }
        if (watched.empty()) return;
        if (::poll(watched.data(), watched.size(), 100) < 0 && errno != EINTR) return;
        for (size_t i = 0; i < watched.size(); ++i) {
            if (watched[i].revents == 0 || ReadProgress(*owners[i])) continue;
            EndJob(*owners[i], directory);
            if (owners[i]->NeedsTerminal()) SignalJobs(jobs, SIGKILL);
        }
        if (request.progress) request.progress(CasesDone(jobs), total);
    }
}

std::vector<std::string> FileLines(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string FileText(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The jobs' rows of a relational output, after the header each job's file
// starts with, appended in one write.
bool MergeRelational(const CTextOutput &output, const std::vector<Job> &jobs, size_t upTo, const fs::path &directory,
                     std::string &reason) {
    std::string rows;
    for (size_t k = 0; k <= upTo; ++k) {
        const std::vector<std::string> lines = FileLines(directory / jobs[k].part.FileName(output.name));
        for (size_t i = 1; i < lines.size(); ++i) rows += lines[i] + "\n";
    }
    return rows.empty() || quorvin::AppendRecord(directory.string(), output.name, rows, reason);
}

// A name-value output holds the last case consulted.
bool MergeNameValue(const CTextOutput &output, const std::vector<Job> &jobs, size_t upTo, const fs::path &directory,
                    std::string &reason) {
    for (size_t k = upTo + 1; k-- > 0;) {
        if (jobs[k].casesDone == 0) continue;
        const fs::path file = directory / jobs[k].part.FileName(output.name);
        if (!fs::exists(file)) return true;
        return quorvin::ReplaceFile(directory.string(), output.name, FileText(file), reason);
    }
    return true;
}

void MergeOutputs(CInfControl &control, const std::vector<Job> &jobs, size_t upTo, const std::string &jobDirectory,
                  CRunFaults &faults) {
    const fs::path directory = control.SourceDirectory().IsEmpty() ? "." : control.SourceDirectory().Text();
    std::string reason;
    for (const CTextOutput &output : TextOutputs(*control.Parameters())) {
        const bool merged = output.format->form == CTableForm::Relational
                                ? MergeRelational(output, jobs, upTo, directory, reason)
                                : MergeNameValue(output, jobs, upTo, directory, reason);
        if (!merged) faults.Add(OutputFileFailure(CString(output.name.c_str()), reason));
    }
    CDatabaseEngine &engine = control.Registry()->environment->Engine();
    for (size_t k = 0; k <= upTo; ++k)
        if (!ReplaySpool(engine, JobSpoolPath(jobDirectory, jobs[k].part.index), reason))
            faults.Add("Cannot write an engine output table: " + reason);
}

void RemoveJobFiles(CInfControl &control, const std::vector<Job> &jobs, const std::string &jobDirectory) {
    const fs::path directory = control.SourceDirectory().IsEmpty() ? "." : control.SourceDirectory().Text();
    std::error_code ignored;
    std::set<fs::path> folders{directory};
    for (const CTextOutput &output : TextOutputs(*control.Parameters()))
        for (const Job &job : jobs) {
            const fs::path file = directory / job.part.FileName(output.name);
            fs::remove(file, ignored);
            folders.insert(file.parent_path());
        }
    // A job killed while it replaced a file leaves its temporary file.
    for (const fs::path &folder : folders)
        for (const Job &job : jobs)
            if (job.pid > 0) quorvin::RemoveTemporariesOf(folder.string(), job.pid);
    fs::remove_all(jobDirectory, ignored);
}

std::string CrashText(const Job &job) {
    const CShard &part = job.part;
    std::string how = WIFSIGNALED(job.status) ? "was ended by signal " + std::to_string(WTERMSIG(job.status))
                      : WIFEXITED(job.status) ? "ended with status " + std::to_string(WEXITSTATUS(job.status))
                                              : "ended";
    return "Job " + std::to_string(part.index + 1) + " of " + std::to_string(part.count) + " (cases " +
           std::to_string(part.first + 1) + " to " + std::to_string(part.first + part.length) + ") " + how +
           " after " + std::to_string(job.casesDone) + " cases; the outputs end before case " +
           std::to_string(part.first + job.casesDone + 1) + ".";
}

// The jobs' faults in the order of their keys, a crashed job's end among
// them.
void CollectFaults(const std::vector<Job> &jobs, size_t upTo, const std::string &jobDirectory, CRunFaults &faults) {
    for (size_t k = 0; k <= upTo; ++k) {
        if (jobs[k].EndedNormally()) {
            faults.Add(jobs[k].result->firstFault, jobs[k].result->faultCount);
            continue;
        }
        faults.Add(CrashText(jobs[k]));
        // What the job said before it ended, for finding out why.
        const std::string said = FileText(JobErrorsPath(jobDirectory, jobs[k].part.index));
        std::fwrite(said.data(), 1, said.size(), stderr);
    }
}

// Reports the run's end as one run would and gives its exit status.
int ReportOutcome(const std::vector<Job> &jobs, size_t upTo, CRunFaults &faults, bool stopped,
                  IConsultationView &view, IMessageBox &messages) {
    bool aborted = stopped;
    for (size_t k = 0; k <= upTo; ++k) aborted = aborted || (jobs[k].EndedNormally() && jobs[k].result->aborted);
    const Job &last = jobs[upTo];
    view.SetStatusText("Preparing...");
    view.SetStatusText("Investigating...");
    if (last.Complete() && upTo + 1 == jobs.size() && last.result->result == 0 && !faults.Any()) {
        ShowBatchFinished(view, messages, last.result->anyGoalEnabled);
        return 0;
    }
    CString pending = last.EndedNormally() ? CString(last.result->errorText.c_str()) : CString();
    ShowRunFailure(view, messages, faults, aborted, pending);
    return 2;
}

}  // namespace

std::string RunningProgram() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

std::optional<std::string> JobProgramBeside(const std::string &runningProgram) {
    if (runningProgram.empty()) return std::nullopt;
    const fs::path folder = fs::path(runningProgram).parent_path();
    // Installed, both programs share a folder; in a build tree the console
    // program is in its own folder beside the desktop's.
    for (const fs::path &program : {folder / "quorvin-cli", folder.parent_path() / "cli" / "quorvin-cli"})
        if (::access(program.c_str(), X_OK) == 0) return program.string();
    return std::nullopt;
}

std::optional<int> RunParallelBatch(const ParallelBatchRequest &request, CInfControl &control,
                                    IConsultationView &view, IMessageBox &messages) {
    CAllRetrievers *registry = control.Registry();
    if (request.jobs < 2 || request.program.empty() || registry == nullptr || registry->environment == nullptr)
        return std::nullopt;
    registry->environment->baseDirectory = control.SourceDirectory();
    const std::optional<int32_t> keys = BatchKeyCount(control);
    if (!keys) return std::nullopt;
    const std::optional<std::string> jobDirectory = MakeJobDirectory();
    if (!jobDirectory) return std::nullopt;

    std::vector<Job> jobs = SplitKeys(*keys, std::min<int32_t>(request.jobs, *keys));
    bool started = true;
    for (Job &job : jobs) {
        started = StartJob(job, request, *jobDirectory);
        if (!started) break;
    }
    if (!started) SignalJobs(jobs, SIGKILL);
    WatchJobs(jobs, *jobDirectory, request, *keys);
    // A job that could not start or cannot go on alone: one process
    // consults the whole batch instead.
    for (const Job &job : jobs) {
        if (!started || job.NeedsTerminal()) {
            RemoveJobFiles(control, jobs, *jobDirectory);
            return std::nullopt;
        }
    }
    // The outputs keep the cases up to the first job that did not finish.
    size_t upTo = 0;
    while (upTo + 1 < jobs.size() && jobs[upTo].Complete()) ++upTo;
    CRunFaults faults;
    CollectFaults(jobs, upTo, *jobDirectory, faults);
    MergeOutputs(control, jobs, upTo, *jobDirectory, faults);
    RemoveJobFiles(control, jobs, *jobDirectory);
    std::fflush(stdout);
    const bool stopped = request.stopRequested && request.stopRequested();
    return ReportOutcome(jobs, upTo, faults, stopped, view, messages);
}
