#include "console_session.h"

bool ConsoleSession::Answer(const CTextQuestion &question, std::string &line) {
    // A rejection message, when there is one, on a line of its own.
    if (!question.rejection.empty()) terminal.PrintLine(question.rejection);
    return Ask(question.text, question.name, !question.rejection.empty(), line);
}

bool ConsoleSession::Ask(const std::string &question, const std::string &name, bool askedAgain,
                         std::string &line) {
    if (aborted || Terminal::Interrupted()) {
        Abort();
        return false;
    }
    if (beforeQuestion) beforeQuestion();
    terminal.Print(question);
    if (!askedAgain) {
        if (auto scripted = answers.Find(name)) {
            line = *scripted;
            terminal.PrintLine(line);
            return true;
        }
    }
    if (beforeTerminalRead) beforeTerminalRead();
    while (terminal.ReadLine(line) == TReadResult::line) {
        // A terminal shows what the user typed; input from a pipe or a file
        // is echoed, so that the transcript reads like a session.
        if (!terminal.InputIsTerminal()) terminal.PrintLine(line);
        const std::optional<std::string> reply = command ? command(line) : std::nullopt;
        if (!reply) return true;
        terminal.Print(*reply);
        terminal.Print(question);
    }
    terminal.PrintLine("");  // the prompt's line ends here
    Abort();
    return false;
}

void ConsoleSession::Abort() {
    if (aborted) return;
    aborted = true;
    if (requestAbort) requestAbort();
}
