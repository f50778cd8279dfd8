#include "console_explanations.h"

#include <cctype>

#include "explain/explanation_text.h"
#include "explain/how.h"
#include "explain/next_questions.h"
#include "explain/why.h"
#include "net/inference_net.h"

namespace {

const char *const kHelp =
    "Commands at a question:\n"
    "  /why         why this question is asked\n"
    "  /how [NODE]  how NODE got its value (the current goal without NODE)\n"
    "  /next        the next questions of the current goal, with the goal's value\n"
    "               if each were answered yes or no\n"
    "  /help        this list\n";

// The line without blanks at either end.
std::string Trimmed(const std::string &line) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::string> ConsoleExplanations::Handle(const std::string &line) {
    const std::string text = Trimmed(line);
    if (text.size() < 2 || text[0] != '/' || !std::isalpha(static_cast<unsigned char>(text[1]))) return std::nullopt;
    const size_t blank = text.find_first_of(" \t");
    const std::string command = text.substr(0, blank);
    const std::string argument = blank == std::string::npos ? std::string() : Trimmed(text.substr(blank));
    if (command == "/why" && argument.empty()) return quorvin::explain::WhyText(quorvin::explain::ExplainWhy(net));
    if (command == "/next" && argument.empty()) {
        const CNode *goal = net.callStack.IsEmpty() ? nullptr : net.callStack.At(0);
        return quorvin::explain::NextText(goal, quorvin::explain::NextQuestions(net));
    }
    if (command == "/how") return How(argument);
    if (command == "/help" && argument.empty()) return std::string(kHelp);
    return "Unknown command " + text + "; /help lists the commands.\n";
}

std::string ConsoleExplanations::How(const std::string &name) {
    const CNode *node = nullptr;
    if (name.empty()) {
        if (net.callStack.IsEmpty()) return "No goal is being investigated; /how NODE names one.\n";
        node = net.callStack.At(0);
    } else {
        node = net.FindNode(CString(name.c_str()));
        if (node == nullptr) return "No node named \"" + name + "\".\n";
    }
    return quorvin::explain::HowText(quorvin::explain::ExplainHow(*node, table));
}
