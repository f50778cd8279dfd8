// quorvin::Session: consultations of one knowledge base.
//
// A session has its own copy of the built net, so sessions never share
// mutable state: open one per thread and run them at once. One session runs
// one consultation at a time and may run any number, one after another,
// each from the a-priori values.
//
// Answers are what a user would type at the question (the console's texts:
// "y", "-3", "0.8", "12 15 4", "2" or "Green", a class name):
//   - a map from node, parameter or taxonomy name to that text, looked up
//     first; a question without an entry is "Don't know" (an empty line);
//   - a callback, asked every question the map does not answer, and every
//     question asked again after a refused answer; it gets the question as
//     the console words it and returns the line, or std::nullopt to abort
//     the consultation. An exception it throws aborts the consultation and
//     leaves Run() once the consultation has unwound.
// Without a callback a refused answer ends the consultation with
// Status::error, since nobody can be asked again.
//
// Reports and output tables are written only when SessionOptions asks for
// them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quorvin/export.h"
#include "quorvin/knowledge_base.h"
#include "quorvin/result.h"

namespace quorvin {

enum class QuestionKind { probability, certainty, value, interval, choice, parameter, taxonomy };

// "probability", "certainty", "value", "interval", "choice", "parameter",
// "taxonomy".
QUORVIN_API const char *QuestionKindName(QuestionKind kind);

struct Question {
    QuestionKind kind = QuestionKind::probability;
    // The node, parameter or taxonomy asked about: the key of the answers map.
    std::string name;
    // The node's description (the parameter's, the taxonomy's name).
    std::string subject;
    // The whole question as the console prints it, ending with ">".
    std::string text;
    // Its help line: what kind of answer is expected.
    std::string help;
    // The choices of a choice question; the classes of a taxonomy, root first.
    std::vector<std::string> options;
    // Why the last answer was refused; empty the first time.
    std::string rejection;
};

using Answers = std::map<std::string, std::string>;
using QuestionCallback = std::function<std::optional<std::string>(const Question &)>;

struct SessionOptions {
    bool writeReports = false;       // the text, HTML and net reports the knowledge base names
    bool writeOutputTables = false;  // its output tables
};

class QUORVIN_API Session {
public:
    // A session on a knowledge base that did not build runs nothing: Run()
    // gives Status::error with its ErrorText().
    explicit Session(const KnowledgeBase &knowledgeBase, const SessionOptions &options = {});
    ~Session();
    Session(Session &&) noexcept;
    Session &operator=(Session &&) noexcept;

    void SetAnswers(Answers answers);
    void SetQuestionCallback(QuestionCallback callback);

    // One consultation from the a-priori values and the goal order of the
    // knowledge base: its result depends on its answers alone, not on what
    // the session consulted before.
    Result Run();
    // The same with these answers (replacing those set before).
    Result Run(Answers answers);
    // Puts every node back to its a-priori value; the next Run does so too.
    void Reset();

    // How `name` (a node) got its value in the last consultation, as
    // `quorvin-cli explain` prints it; empty when there is no such node.
    std::string Explain(const std::string &name) const;

private:
    struct State;
    std::unique_ptr<State> state;
};

}  // namespace quorvin
