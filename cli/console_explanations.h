// The explanation commands of the console, typed at any question:
//
//   /why        why the net asks this question: its descent from the goal
//   /how [NODE] how a node (a goal, any node; the current goal when empty)
//               got its value
//   /next       the questions the current goal may still ask, each with the
//               goal's value if it were answered yes or no
//   /help       these commands
//
// A command's text is printed and the question asked again; the answer to
// the question is still to come. Only lines that begin with "/" and a letter
// are commands, so no answer a question takes is ever read as one.
#pragma once

#include <optional>
#include <string>

class CInferenceNet;
class CTable;

class ConsoleExplanations {
public:
    ConsoleExplanations(CInferenceNet &net, CTable *table) : net(net), table(table) {}

    // The text to print for `line` when it is a command; nothing when it is
    // an answer.
    std::optional<std::string> Handle(const std::string &line);

private:
    std::string How(const std::string &name);

    CInferenceNet &net;
    CTable *table;
};
