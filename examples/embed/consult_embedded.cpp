// consult_embedded: consults a knowledge base in-process.
//
//   consult_embedded KB.qvb [NAME=ANSWER ...]
//
// The answers on the command line are used first; any other question is
// printed and answered from standard input (an empty line is "Don't know",
// the end of input aborts). Prints the outcome and the goals, most probable
// first, and how the first goal got its value.
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

#include <quorvin/quorvin.h>

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: consult_embedded KB.qvb [NAME=ANSWER ...]\n");
        return 64;
    }
    const quorvin::KnowledgeBase kb = quorvin::KnowledgeBase::FromFile(argv[1]);
    if (!kb.Built()) {
        for (const std::string &line : kb.BuildLines()) std::fprintf(stderr, "%s\n", line.c_str());
        return 1;
    }

    quorvin::Answers answers;
    for (int i = 2; i < argc; ++i) {
        const std::string pair = argv[i];
        const size_t equals = pair.find('=');
        if (equals != std::string::npos) answers[pair.substr(0, equals)] = pair.substr(equals + 1);
    }

    quorvin::Session session(kb);
    session.SetAnswers(answers);
    session.SetQuestionCallback([](const quorvin::Question &question) -> std::optional<std::string> {
        if (!question.rejection.empty()) std::printf("%s\n", question.rejection.c_str());
        std::printf("%s", question.text.c_str());
        std::fflush(stdout);
        std::string line;
        if (!std::getline(std::cin, line)) return std::nullopt;  // no more input: abort
        std::printf("%s\n", line.c_str());
        return line;
    });

    const quorvin::Result result = session.Run();
    std::printf("%s: %s\n", quorvin::StatusName(result.status), result.statusText.c_str());
    if (result.status != quorvin::Status::ok) {
        if (!result.error.empty()) std::printf("%s\n", result.error.c_str());
        return 2;
    }
    for (const quorvin::Goal &goal : result.goals)
        std::printf("%-16s %1.8f %1.8f\n", goal.name.c_str(), goal.prior, goal.current);
    std::printf("%s", session.Explain(result.goals.front().name).c_str());
    return 0;
}
