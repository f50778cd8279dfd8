// quorvin-cli: builds and consults knowledge bases in a terminal.
//
//   quorvin-cli build KB.qvb
//   quorvin-cli consult KB.qvb [--answers FILE] [--json FILE]
//
// Exit status: 0 built / consulted ok, 1 build failed, 2 consultation failed
// or aborted, 64 wrong usage.

#include <clocale>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "answer_file.h"
#include "console_questions.h"
#include "console_session.h"
#include "console_view.h"
#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "json_result.h"
#include "language/input_char.h"
#include "language/output_memo.h"
#include "language/source_file.h"
#include "net/inf_tax_net.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "terminal.h"
#include "ui/user_interface.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitBuildFailed = 1;
constexpr int kExitConsultFailed = 2;
constexpr int kExitUsage = 64;

const char *const kUsage =
    "Usage: quorvin-cli build KB.qvb\n"
    "       quorvin-cli consult KB.qvb [--answers FILE] [--json FILE]\n"
    "       quorvin-cli --help\n"
    "\n"
    "build    Builds the knowledge base and prints every line of the build.\n"
    "consult  Builds, then runs one consultation in the terminal. Each question\n"
    "         prints its help line and prompt and reads one line; an empty line\n"
    "         is \"Don't know\". End of input or Ctrl+C aborts the consultation\n"
    "         (the reports are still written).\n"
    "\n"
    "Options of consult:\n"
    "  --answers FILE  Take answers from FILE first: lines NAME<TAB>ANSWER, where\n"
    "                  NAME is a node, parameter or taxonomy name and ANSWER what\n"
    "                  you would type (empty allowed; for a taxonomy a class name,\n"
    "                  or empty for none). Answers used are echoed after their\n"
    "                  prompt; a rejected answer is reported and the question then\n"
    "                  reads the terminal.\n"
    "  --json FILE     Also write the final state as JSON: status (ok, error,\n"
    "                  aborted, build_failed), statusText, lastError, the goals in\n"
    "                  their final order and all nodes in declaration order.\n"
    "\n"
    "Status texts print as \"Status: TEXT\", messages on lines of their own, and a\n"
    "successful consultation ends with the ordered goals: order, name, a-priori\n"
    "and a-posteriori value.\n"
    "\n"
    "Exit status: 0 built or consulted ok, 1 build failed, 2 consultation failed\n"
    "or aborted, 64 wrong usage.\n";

struct Options {
    std::string command;
    std::string knowledgeBase;
    std::string answersPath;
    std::string jsonPath;
    bool help = false;
};

int UsageError(const std::string &message) {
    std::fprintf(stderr, "quorvin-cli: %s\n%s", message.c_str(), kUsage);
    return kExitUsage;
}

// Parses the command line; an error message when it is wrong.
std::optional<std::string> ParseArguments(const std::vector<std::string> &args, Options &options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--answers" || arg == "--json") {
            if (i + 1 >= args.size()) return arg + " needs a file name";
            (arg == "--answers" ? options.answersPath : options.jsonPath) = args[++i];
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
    if (options.help) return std::nullopt;
    if (options.command != "build" && options.command != "consult")
        return options.command.empty() ? "no command given" : "unknown command " + options.command;
    if (options.knowledgeBase.empty()) return "no knowledge base given";
    if (options.command == "build" && (!options.answersPath.empty() || !options.jsonPath.empty()))
        return "--answers and --json belong to consult";
    return std::nullopt;
}

// The console's windows, and the record through which the retrievers ask them.
class ConsoleUi {
public:
    explicit ConsoleUi(ConsoleSession &session, ConsoleMessages &messages)
        : prob(session), yesNo(session), exactValue(session), interval(session), choice(session), param(session),
          taxonomyClass(session) {
        ui.probQuestion = &prob;
        ui.yesNoQuestion = &yesNo;
        ui.exactValue = &exactValue;
        ui.intervalQuestion = &interval;
        ui.choiceQuestion = &choice;
        ui.paramQuestion = &param;
        ui.taxonomyList = &taxonomyList;
        ui.taxonomyClass = &taxonomyClass;
        ui.messages = &messages;
    }
    ConsoleUi(const ConsoleUi &) = delete;
    ConsoleUi &operator=(const ConsoleUi &) = delete;

    const CUserInterface &Record() const { return ui; }

private:
    ConsoleProbWindow prob;
    ConsoleYesNoWindow yesNo;
    ConsoleExactValueWindow exactValue;
    ConsoleIntervalWindow interval;
    ConsoleChoiceWindow choice;
    ConsoleParamWindow param;
    ConsoleTaxonomyList taxonomyList;
    ConsoleTaxonomyClassDialog taxonomyClass;
    CUserInterface ui;
};

// Writes the JSON file when one was asked for; false when it cannot be.
bool WriteJson(const Options &options, const RunOutcome &outcome, const CInferenceNet *net) {
    if (options.jsonPath.empty()) return true;
    std::string error;
    if (WriteResultJson(options.jsonPath, ResultJson(outcome, net), error)) return true;
    std::fprintf(stderr, "quorvin-cli: %s\n", error.c_str());
    return false;
}

int Run(const Options &options) {
    AnswerFile answers;
    std::string error;
    if (!options.answersPath.empty() && !answers.Load(options.answersPath, error)) {
        std::fprintf(stderr, "quorvin-cli: %s\n", error.c_str());
        return kExitUsage;
    }

    Terminal terminal;
    if (options.command == "consult") Terminal::CatchInterrupts();
    ConsoleSession session(terminal, answers);
    ConsoleMessages messages(terminal);
    ConsoleUi windows(session, messages);
    CTableEnvironment tableEnvironment;
    CAllRetrieversWin registry(windows.Record(), tableEnvironment);

    // The build
    std::string reason;
    std::unique_ptr<CPInputChar> source = ReadSourceFile(options.knowledgeBase, reason);
    const bool readable = source != nullptr;
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
    const int32_t built = control->BuildNet();
    std::fflush(stdout);
    if (!readable) std::fprintf(stderr, "quorvin-cli: %s: %s\n", options.knowledgeBase.c_str(), reason.c_str());
    if (built != 0) {
        WriteJson(options, {"build_failed", "", pane.ErrorLine()}, nullptr);
        return kExitBuildFailed;
    }
    if (options.command == "build") return kExitOk;

    // The consultation
    ConsoleView view(session);
    CConsultationDriver driver(std::move(control), &view, &messages);
    session.requestAbort = [&driver] { driver.AbortConsultation(); };
    const int32_t result = driver.RunConsultation();
    std::fflush(stdout);
    const bool aborted = result != 0 && driver.Control().AbortRequested();
    const RunOutcome outcome{result == 0 ? "ok" : (aborted ? "aborted" : "error"), view.LastStatus(),
                             driver.ShownError().Text()};
    // A result that was asked for and could not be written is a failure.
    const bool written = WriteJson(options, outcome, driver.Control().Net());
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
    return Run(options);
}
