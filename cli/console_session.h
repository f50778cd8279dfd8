// ConsoleSession: how the console answers its text questions - the
// terminal, the scripted answers, the name of the node being investigated,
// and the way to abort the consultation.
//
// Every question is asked through Answer: it prints the rejection of the
// last line, if any, and the question, then takes
// the scripted answer for its name (echoed after the prompt, as if typed) or
// reads a line (echoed too when the input is not a terminal). A question
// asked again after a rejected answer always reads the terminal. A line read
// there that `command` takes (an explanation command) is answered with its
// text and the question asked again. The end of input and Ctrl+C abort the
// consultation, as the Abort command of a consultation window does; once
// that happened every further question gives up at once without reading.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "answer_file.h"
#include "consult/text_questions.h"
#include "terminal.h"

class ConsoleSession : public ITextAnswerer {
public:
    ConsoleSession(Terminal &terminal, const AnswerFile &answers) : terminal(terminal), answers(answers) {}

    bool Answer(const CTextQuestion &question, std::string &line) override;
    Terminal &Out() { return terminal; }

    // The node being investigated, reported by the consultation view just
    // before its question is asked.
    std::string currentNode;
    // The text for a line that is a command rather than an answer; nothing
    // for an answer (set by the front end once the net exists).
    std::function<std::optional<std::string>(const std::string &)> command;
    // Called before a question is printed (the progress line makes room).
    std::function<void()> beforeQuestion;
    // Called before the terminal is read for an answer (a job of a parallel
    // batch cannot read it and ends instead).
    std::function<void()> beforeTerminalRead;
    // Requests the consultation's abort (set by the front end).
    std::function<void()> requestAbort;
    bool aborted = false;

private:
    // Prints `question`, then obtains the answer for `name`. False when the
    // consultation was aborted instead (the abort has then been requested).
    bool Ask(const std::string &question, const std::string &name, bool askedAgain, std::string &line);
    void Abort();

    Terminal &terminal;
    const AnswerFile &answers;
};
