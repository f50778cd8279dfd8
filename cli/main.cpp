// quorvin-cli: builds and consults knowledge bases in a terminal.
//
//   quorvin-cli build KB.qvb [--json FILE]
//   quorvin-cli consult KB.qvb [--answers FILE] [--json FILE] [--jobs N]
//   quorvin-cli explain KB.qvb [--answers FILE] [--json FILE]
//   quorvin-cli graph KB.qvb [--answers FILE] [-o FILE]
//   quorvin-cli run KB.qvb --cases FILE|- [--explain]
//   quorvin-cli merge KB.qvb --shards N
//   quorvin-cli lsp
//
// Exit status: 0 built / consulted / drawn ok, 1 build failed, 2
// consultation failed or aborted, or a file could not be written, 64 wrong
// usage.

#include <charconv>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "answer_file.h"
#include "build_json.h"
#include "case_stream.h"
#include "console_explanations.h"
#include "console_session.h"
#include "console_view.h"
#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "consult/parallel_batch.h"
#include "consult/text_questions.h"
#include "explain/explanation_text.h"
#include "foundation/ini_option_store.h"
#include "explain/how.h"
#include "graph/dot_text.h"
#include "graph/graph_render.h"
#include "graph/net_graph.h"
#include "job_worker.h"
#include "json_result.h"
#include "language/input_char.h"
#include "language/output_memo.h"
#include "language/source_file.h"
#include "progress_line.h"
#include "lsp_server.h"
#include "lsp_session.h"
#include "net/inf_tax_net.h"
#include "quorvin_version.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "tables/batch_iterator.h"
#include "net/run_faults.h"
#include "shards.h"
#include "stop_request.h"
#include "tables/table_environment.h"
#include "terminal.h"
#include "whole_file.h"
#include "ui/user_interface.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitBuildFailed = 1;
constexpr int kExitConsultFailed = 2;
constexpr int kExitUsage = 64;

const char *const kUsage =
    "Usage: quorvin-cli build KB.qvb [--json FILE]\n"
    "       quorvin-cli consult KB.qvb [--answers FILE] [--json FILE] [--jobs N]\n"
    "       quorvin-cli explain KB.qvb [--answers FILE] [--json FILE]\n"
    "       quorvin-cli graph KB.qvb [--answers FILE] [-o FILE]\n"
    "       quorvin-cli run KB.qvb --cases FILE|- [--explain]\n"
    "       quorvin-cli merge KB.qvb --shards N\n"
    "       quorvin-cli lsp\n"
    "       quorvin-cli --help\n"
    "       quorvin-cli --version\n"
    "\n"
    "build    Builds the knowledge base and prints every line of the build. An\n"
    "         error line is followed by a line that begins with two spaces and\n"
    "         gives the column and the cause.\n"
    "consult  Builds, then runs one consultation in the terminal. Each question\n"
    "         prints its help line and prompt and reads one line; an empty line\n"
    "         is \"Don't know\". End of input or Ctrl+C aborts the consultation\n"
    "         (the reports are still written). At a question, /why, /how [NODE],\n"
    "         /next and /help explain the consultation; /help lists them.\n"
    "explain  Consults as consult does, then prints how every goal got its value.\n"
    "graph    Builds, consults when --answers is given, and writes the net as a\n"
    "         picture: DOT text on standard output, or the file of -o as DOT\n"
    "         (.dot, .gv), SVG (.svg) or PNG (.png). Build lines go to standard\n"
    "         error. A net that fails the consistency check is still drawn,\n"
    "         with the check's message under it (exit status 1).\n"
    "run      Builds (build lines on standard error), then consults one case per\n"
    "         line of --cases: {\"id\": ..., \"answers\": {NAME: ANSWER, ...}},\n"
    "         writing one JSON result per line, in input order: id, status (ok,\n"
    "         error, aborted, or invalid for a line that was not consulted),\n"
    "         statusText, error and goals. Unanswered questions are \"Don't know\".\n"
    "         Writes no reports, help pages or output tables. Exit status 2 when\n"
    "         a case was not consulted ok.\n"
    "merge    Puts the output files of the N shards of a batch (consult --shard)\n"
    "         together into the outputs one run would have written.\n"
    "lsp      Runs the language server for editors on standard input and output\n"
    "         (the Language Server Protocol): diagnostics of the open texts,\n"
    "         hover, go to definition, document symbols and completion. It\n"
    "         checks the texts the editor sends and writes no file. Exit status\n"
    "         0 after the editor's shutdown and exit, 1 otherwise.\n"
    "\n"
    "Options:\n"
    "  --answers FILE  (consult, explain, graph) Take answers from FILE first:\n"
    "                  lines NAME<TAB>ANSWER, where NAME is a node, parameter or\n"
    "                  taxonomy name and ANSWER what you would type (empty\n"
    "                  allowed; for a taxonomy a class name, or empty for none).\n"
    "                  Answers used are echoed after their prompt; a rejected\n"
    "                  answer is reported and the question then reads the\n"
    "                  terminal.\n"
    "  --json FILE     (build) Also write the outcome as JSON: ok, lines, errors\n"
    "                  with line, column, endColumn, message and detail, and the\n"
    "                  names of the nodes and goals.\n"
    "  --json FILE     (consult, explain) Also write the final state as JSON:\n"
    "                  status (ok, error, aborted, build_failed), statusText,\n"
    "                  lastError, the goals in their final order with their\n"
    "                  explanation, and all nodes in declaration order.\n"
    "  -o FILE         (graph) Write the picture to FILE.\n"
    "  --cases FILE    (run) The cases, one JSON object per line; - reads\n"
    "                  standard input.\n"
    "  --explain       (run) Give every goal of a result its explanation.\n"
    "  --jobs N        (consult) Consult a table-driven batch in N processes, each\n"
    "                  a contiguous part of the keys; the outputs are those of\n"
    "                  one process. The default is the number of cores; --jobs 1\n"
    "                  consults in one process, as do --json and --shard.\n"
    "  --shard K/N     (consult, explain) Consult only the K-th of every N keys of\n"
    "                  the batch, writing each text output to NAME.K-of-N.\n"
    "  --shards N      (merge) The number of shards to merge.\n"
    "  --version       Print the program's version and exit.\n"
    "\n"
    "Status texts print as \"Status: TEXT\", messages on lines of their own, and a\n"
    "successful consultation ends with the ordered goals: order, name, a-priori\n"
    "and a-posteriori value.\n"
    "\n"
    "Exit status: 0 built, consulted or drawn ok, 1 build failed, 2 consultation\n"
    "failed or aborted, or a file could not be written, 64 wrong usage.\n";

struct Options {
    std::string command;
    std::string knowledgeBase;
    std::string answersPath;
    std::string jsonPath;
    std::string picturePath;
    std::string casesPath;
    std::string shard;
    std::string shards;
    std::string jobs;
    std::string jobPart;  // a job of a parallel batch (cli/job_worker.h)
    std::string jobDirectory;
    std::string jobName;  // the reports' name, when the run gives one
    bool explain = false;
    bool help = false;
    bool version = false;
};

int UsageError(const std::string &message) {
    std::fprintf(stderr, "quorvin-cli: %s\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

bool Consults(const std::string &command) { return command == "consult" || command == "explain"; }

// The jobs of a batch when --jobs is not given: the processor's cores.
int DefaultJobCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

// The value of --jobs: a whole number from 1.
std::optional<int> JobCount(const std::string &text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
}

// What is wrong with a complete command line, if anything.
std::optional<std::string> CheckOptions(const Options &options) {
    const std::string &command = options.command;
    if (command == "lsp") {
        if (!options.knowledgeBase.empty()) return "lsp takes no knowledge base: the editor sends the texts";
        if (!options.answersPath.empty() || !options.jsonPath.empty() || !options.picturePath.empty() ||
            !options.casesPath.empty() || options.explain || !options.shard.empty() || !options.shards.empty() ||
            !options.jobs.empty() || !options.jobPart.empty())
            return "lsp takes no options";
        return std::nullopt;
    }
    if (command == "run" && !options.knowledgeBase.empty() && options.casesPath.empty()) return "run needs --cases";
    if (command != "run" && (!options.casesPath.empty() || options.explain)) return "--cases and --explain belong to run";
    if (command == "merge" && !options.knowledgeBase.empty() && options.shards.empty()) return "merge needs --shards";
    if (!options.jobs.empty() && (command != "consult" || !JobCount(options.jobs)))
        return "--jobs N (N >= 1) belongs to consult";
    const bool jobOptionAlone = options.jobPart.empty() != options.jobDirectory.empty() ||
                                (!options.jobName.empty() && options.jobPart.empty());
    if (jobOptionAlone || (!options.jobPart.empty() && (command != "consult" || !ParseJobPart(options.jobPart))))
        return "--job-part and --job-dir are given together, to consult, by a parallel batch";
    if (!options.shard.empty() && (!Consults(command) || !ParseShard(options.shard)))
        return "--shard K/N (1 <= K <= N) belongs to consult and explain";
    if (command != "build" && !Consults(command) && command != "graph" && command != "run" && command != "merge")
        return command.empty() ? "no command given" : "unknown command " + command;
    if (options.knowledgeBase.empty()) return "no knowledge base given";
    if (command == "build" && !options.answersPath.empty()) return "--answers does not belong to build";
    if (command == "run" && (!options.answersPath.empty() || !options.jsonPath.empty()))
        return "run takes its answers from --cases and writes its results to standard output";
    if (command == "graph" && !options.jsonPath.empty()) return "--json belongs to build, consult and explain";
    if (command != "graph" && !options.picturePath.empty()) return "-o belongs to graph";
    if (!options.picturePath.empty() && !quorvin::graph::FormatOfFile(options.picturePath))
        return "-o " + options.picturePath + ": the file name must end in .dot, .gv, .svg or .png";
    return std::nullopt;
}

// Parses the command line; an error message when it is wrong.
std::optional<std::string> ParseArguments(const std::vector<std::string> &args, Options &options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--explain") {
            options.explain = true;
        } else if (arg == "--shard" || arg == "--shards" || arg == "--jobs" || arg == "--job-part" ||
                   arg == "--job-dir" || arg == "--job-name") {
            if (i + 1 >= args.size()) return arg + " needs a value";
            std::string &value = arg == "--shard"      ? options.shard
                                 : arg == "--shards"   ? options.shards
                                 : arg == "--jobs"     ? options.jobs
                                 : arg == "--job-part" ? options.jobPart
                                 : arg == "--job-name" ? options.jobName
                                                       : options.jobDirectory;
            value = args[++i];
        } else if (arg == "--answers" || arg == "--json" || arg == "-o" || arg == "--cases") {
            if (i + 1 >= args.size()) return arg + " needs a file name";
            std::string &path = arg == "--answers" ? options.answersPath
                                : arg == "--json"  ? options.jsonPath
                                : arg == "--cases" ? options.casesPath
                                                   : options.picturePath;
            path = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + arg;
        } else if (options.command.empty()) {
            options.command = arg;
        } else if (options.knowledgeBase.empty()) {
            options.knowledgeBase = arg;
        } else {
            return "unexpected argument " + arg;
        }
    }
    if (options.help || options.version) return std::nullopt;
    return CheckOptions(options);
}

// Writes the JSON file when one was asked for; false when it cannot be.
bool WriteJson(const Options &options, const RunOutcome &outcome, const CInferenceNet *net, CTable *table) {
    if (options.jsonPath.empty()) return true;
    std::string error;
    if (WriteWholeFile(options.jsonPath, ResultJson(outcome, net, table), error)) return true;
    std::fprintf(stderr, "quorvin-cli: %s\n", error.c_str());
    return false;
}

// Writes the build's outcome as JSON when it was asked for; false when it
// could not be written.
bool WriteBuildJson(const Options &options, bool ok, const std::vector<std::string> &lines,
                    const std::optional<CDiagnostic> &error, const CInferenceNet *net) {
    if (options.jsonPath.empty()) return true;
    std::string reason;
    if (WriteWholeFile(options.jsonPath, BuildJson(ok, lines, error, net), reason)) return true;
    std::fprintf(stderr, "quorvin-cli: %s\n", reason.c_str());
    return false;
}

// Writes the net's picture to the file of -o, or as DOT to standard output;
// false, after saying why, when it cannot. `note` goes under the picture.
bool WritePicture(const Options &options, const CInferenceNet &net, const std::string &note) {
    const std::string dot = quorvin::graph::DotText(quorvin::graph::MakeNetGraph(net), note);
    if (options.picturePath.empty()) {
        std::fwrite(dot.data(), 1, dot.size(), stdout);
        return std::fflush(stdout) == 0;
    }
    std::string picture;
    std::string error;
    const auto format = quorvin::graph::FormatOfFile(options.picturePath);
    if (quorvin::graph::RenderPicture(dot, *format, picture, error) &&
        WriteWholeFile(options.picturePath, picture, error))
        return true;
    std::fprintf(stderr, "quorvin-cli: %s\n", error.c_str());
    return false;
}

// How every goal got its value, in the goals' final order.
void PrintGoalExplanations(Terminal &terminal, CInferenceNet &net, CTable *table) {
    for (int32_t i = 0; i < net.goals.Count(); ++i) {
        terminal.Print(quorvin::explain::HowText(quorvin::explain::ExplainHow(*net.goals.At(i), table)));
    }
}

// The language server: the registry gives the retriever names a text may
// use; nothing is ever asked, so no window is installed.
int RunLsp() {
    CUserInterface noWindows;
    CTableEnvironment tableEnvironment;
    CAllRetrieversWin registry(noWindows, tableEnvironment);
    LspServer server(&registry);
    return RunLanguageServer(0, 1, server);
}

// What a job of a parallel batch leaves for the run that started it.
JobResult JobOutcome(const CConsultationDriver &driver, int32_t result) {
    CInfControl &control = driver.Control();
    const CRunFaults &faults = control.Context().faults;
    JobResult outcome;
    outcome.result = result;
    outcome.aborted = control.AbortRequested();
    for (int32_t i = 0; i < control.Table()->batchIterators.Count(); ++i)
        outcome.casesDone += control.Table()->batchIterators.At(i)->KeysHandedOut();
    outcome.faultCount = faults.Count();
    outcome.firstFault = faults.First();
    // The error shown is the faults' summary unless a case left an error of
    // its own (a cycle), which one run would show after the summary.
    const std::string shown = driver.ShownError().Text();
    if (result != 0 && shown != faults.Summary()) outcome.errorText = shown;
    outcome.anyGoalEnabled = AnyGoalEnabled(*control.Net());
    return outcome;
}

int Run(const Options &options) {
    if (options.command == "run") return RunCases(options.knowledgeBase, options.casesPath, {options.explain});
    if (options.command == "merge") return MergeShards(options.knowledgeBase, options.shards);
    AnswerFile answers;
    std::string error;
    if (!options.answersPath.empty() && !answers.Load(options.answersPath, error)) {
        std::fprintf(stderr, "quorvin-cli: %s\n", error.c_str());
        return kExitUsage;
    }
    const bool graph = options.command == "graph";
    const bool consults = Consults(options.command) || (graph && !options.answersPath.empty());

    // A job of a parallel batch stops after its case on Ctrl+C.
    std::optional<JobWorker> job;
    if (!options.jobPart.empty()) job.emplace(*ParseJobPart(options.jobPart), options.jobDirectory);

    // The picture of graph may go to standard output; all else goes aside.
    Terminal terminal(graph ? stderr : stdout);
    if (consults && job) CatchStopRequests();
    else if (consults) Terminal::CatchInterrupts();
    ConsoleSession session(terminal, answers);
    // Before the messages, which write through it and so must not outlive it.
    ProgressLine progress(stderr, Terminal::ErrorsGoToTerminal());
    ConsoleMessages messages(terminal);
    CTextQuestionWindows windows(session, session.currentNode, messages);
    // Engine tables find the aliases the user defined in the desktop.
    CIniOptionStore optionStore(CIniOptionStore::UserOptionFile());
    CTableEnvironment tableEnvironment;
    tableEnvironment.aliasStore = &optionStore;
    if (!options.shard.empty()) tableEnvironment.shard = *ParseShard(options.shard);
    if (job) {
        tableEnvironment.shard = job->Part();
        job->SpoolEngineOutputs(tableEnvironment);
    }
    CAllRetrieversWin registry(windows.Record(), tableEnvironment);

    // The build
    std::string reason;
    std::unique_ptr<CPInputChar> source = ReadSourceFile(options.knowledgeBase, reason);
    bool readable = source != nullptr;
    // An unreadable file builds as a source that cannot be opened.
    if (!readable) source = std::make_unique<CPInputChar>(nullptr);
    ConsolePane pane(terminal);
    CPOutputMemo output(&pane);
    auto control = std::make_unique<CInfControl>(&registry);
    control->SetInput(source.get());
    control->SetOutput(&output);
    const std::filesystem::path kbPath(options.knowledgeBase);
    control->SetSourceDirectory(kbPath.parent_path().string().c_str());
    control->SetConsultationName(kbPath.filename().string().c_str());
    if (job) control->SetWrittenFiles(job->WrittenFiles());
    if (job && !options.jobName.empty()) control->SetConsultationName(options.jobName.c_str());
    int32_t built = control->BuildNet();
    // A file that failed while it was read is not the knowledge base,
    // whatever was built of its first part.
    if (readable && !source->ReadProblem().empty()) {
        built = 2;
        readable = false;
        reason = source->ReadProblem();
    }
    std::fflush(stdout);
    if (!readable) std::fprintf(stderr, "quorvin-cli: %s: %s\n", options.knowledgeBase.c_str(), reason.c_str());
    if (options.command == "build") {
        const bool written = WriteBuildJson(options, built == 0, pane.Lines(), control->Diagnostic(), control->Net());
        return built != 0 ? kExitBuildFailed : (written ? kExitOk : kExitConsultFailed);
    }
    if (built != 0) {
        // A net that compiled but failed the check can still be looked at.
        if (graph && control->ConsistencyFailed()) {
            control->Net()->ResetValues(control->Table());
            WritePicture(options, *control->Net(), pane.ErrorLine());
        }
        WriteJson(options, {"build_failed", "", pane.ErrorLine()}, nullptr, nullptr);
        return kExitBuildFailed;
    }
    if (!consults) {
        // Without a consultation the picture shows the a-priori values.
        control->Net()->ResetValues(control->Table());
        return WritePicture(options, *control->Net(), "") ? kExitOk : kExitConsultFailed;
    }

    // A shard's output files start afresh.
    if (std::string problem; tableEnvironment.shard.Active() &&
                             !StartShardOutputs(*control->Parameters(), kbPath.parent_path().string(), tableEnvironment.shard, problem)) {
        std::fprintf(stderr, "quorvin-cli: %s\n", problem.c_str());
        return kExitConsultFailed;
    }

    // The consultation
    ConsoleView view(session);
    // A status during a batch comes once its cases are over (the driver sets
    // none between them); any other output only ends the progress line.
    view.beforeOutput = [&progress] { progress.Finish(); };
    messages.beforeOutput = [&progress] { progress.Break(); };
    if (!job && options.command == "consult" && options.jsonPath.empty() && options.shard.empty()) {
        ParallelBatchRequest request;
        request.program = RunningProgram();
        request.knowledgeBase = options.knowledgeBase;
        request.answersPath = options.answersPath;
        request.jobs = options.jobs.empty() ? DefaultJobCount() : *JobCount(options.jobs);
        request.progress = [&progress](int32_t done, int32_t total) { progress.Update(done, total); };
        request.stopRequested = StopRequested;
        // Ctrl+C stops the jobs after their case, until the batch turns out
        // to be one for this process after all.
        CatchStopRequests();
        const std::optional<int> status = RunParallelBatch(request, *control, view, messages);
        progress.Finish();
        if (status) return *status;
        ReleaseStopRequests();
        Terminal::CatchInterrupts();
    }
    CConsultationDriver driver(std::move(control), &view, &messages);
    CInfTaxNet &net = *driver.Control().Net();
    CTable *table = driver.Control().Table();
    ConsoleExplanations explanations(net, table);
    session.command = [&explanations](const std::string &line) { return explanations.Handle(line); };
    session.requestAbort = [&driver] { driver.AbortConsultation(); };
    if (job) {
        driver.Control().Context().batchProgress = [&job, &driver](int32_t done, int32_t) {
            job->TellProgress(done);
            if (StopRequested()) driver.AbortConsultation();
        };
        session.beforeTerminalRead = [] { JobWorker::NeedsTerminal(); };
    } else {
        driver.Control().Context().batchProgress = [&progress, &driver](int32_t done, int32_t total) {
            std::fflush(stdout);
            progress.Update(done, total);
            // A batch stops after its case, with its outputs and reports.
            Terminal::StopAfterCase();
            if (Terminal::Interrupted()) driver.AbortConsultation();
        };
        session.beforeQuestion = [&progress] { progress.Break(); };
    }
    const int32_t result = driver.RunConsultation();
    progress.Finish();
    if (job) job->Finish(JobOutcome(driver, result));
    std::fflush(stdout);
    if (options.command == "explain" && result == 0) PrintGoalExplanations(terminal, net, table);
    bool written = true;
    if (graph) written = WritePicture(options, net, "");
    const bool aborted = result != 0 && driver.Control().AbortRequested();
    const RunOutcome outcome{result == 0 ? "ok" : (aborted ? "aborted" : "error"), view.LastStatus(),
                             driver.ShownError().Text()};
    // A result that was asked for and could not be written is a failure.
    written = WriteJson(options, outcome, &net, table) && written;
    return result == 0 && written ? kExitOk : kExitConsultFailed;
}

}  // namespace

int main(int argc, char **argv) {
    // Knowledge bases, reports and tables always use a decimal point.
    std::setlocale(LC_ALL, "C");
    // A file-size limit then makes a write fail with an error, which is
    // reported, instead of ending the program mid-row.
    std::signal(SIGXFSZ, SIG_IGN);
    Options options;
    if (auto problem = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options))
        return UsageError(*problem);
    if (options.help) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (options.version) {
        std::puts("quorvin-cli " QUORVIN_VERSION);
        return kExitOk;
    }
    if (options.command == "lsp") return RunLsp();
    return Run(options);
}
