// Fuzz target for the console's answers to every kind of question.
//
// The first byte picks the question: probability, certainty (yes/no), exact
// value, interval, choice, parameter or taxonomy class; with its high bit
// set, the first line of the rest is also the scripted answer of the
// answers file. The second byte gives the number of options of a choice
// question (1 to 8, from a fixed list). The rest is standard input, fed
// through a pipe, so that the terminal's line reading runs too. Each question
// is asked as a consultation asks it: the node questions and the parameter
// question by their retrievers, which ask again after a refused answer, and
// the taxonomy class dialog until it answers a class of the tree or none.
// Besides the sanitizers' checks it traps when a question fails without the
// consultation having been aborted (the end of input), or an accepted answer
// is out of range: a probability outside [0, 1], a certainty factor that is
// not a whole number from -5 to 5, a value or interval bound that is not
// finite, an interval whose From is above its To, a choice that is not one
// of the options, a parameter value with a line end or longer than the
// terminal's line, a class name with blanks around it, or "none" with a name.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "answer_file.h"
#include "console_session.h"
#include "consult/quiet_view.h"
#include "consult/text_questions.h"
#include "net/params.h"
#include "net/bayes_node.h"
#include "retrieval/registry_rows.h"
#include "retrieval/choice_abstract.h"
#include "retrieval/param_retriever_win.h"
#include "retrieval/question_retrievers.h"
#include "retrieval/retrieved_data.h"
#include "scratch_file.h"
#include "terminal.h"
#include "ui/user_interface.h"

namespace {

// Everything is asked about this name: the node, the parameter, the taxonomy.
const char *const kName = "Node";
const char *const kOptions[] = {"red", " Green ", "3", "/x", "light blue", "Y", "-1", "10"};
constexpr size_t kMostInput = 60000;  // fits a pipe's buffer, so writing never waits

enum class Question { probability, certainty, exactValue, interval, choice, parameter, taxonomy, count };

// Makes the bytes the process's standard input, ending after them. Standard
// output, where the questions are printed, goes nowhere.
void FeedStandardInput(const uint8_t *data, size_t size) {
    static const bool quiet = [] {
        const int null = ::open("/dev/null", O_WRONLY);
        return null >= 0 && ::dup2(null, STDOUT_FILENO) >= 0 && ::close(null) == 0;
    }();
    Require(quiet);
    int ends[2];
    Require(::pipe(ends) == 0);
    Require(size == 0 || ::write(ends[1], data, size) == static_cast<ssize_t>(size));
    Require(::close(ends[1]) == 0);
    Require(::dup2(ends[0], STDIN_FILENO) == STDIN_FILENO);
    Require(::close(ends[0]) == 0);
}

bool IsWholeCertainty(float factor) { return factor >= -5.0f && factor <= 5.0f && factor == std::floor(factor); }

// Asks one node question through its retriever and checks what it hands on.
void AskNode(const CUserInterface &ui, Question question, int32_t optionCount, const ConsoleSession &session) {
    CBayesNode node(kName, 0.25f, true, false);
    CDRQuestion prob(*FindRetrieverRow("winprob"), ui);
    CDRQuestion certainty(*FindRetrieverRow("wincf"), ui);
    CDRQuestion value(*FindRetrieverRow("winvalue"), ui);
    CDRQuestion interval(*FindRetrieverRow("wininterval"), ui);
    CDRQuestion choice(*FindRetrieverRow("winchoice"), ui);
    CDataRetriever *retrievers[] = {&prob, &certainty, &value, &interval, &choice};
    CStringVector texts;
    for (int32_t i = 0; i < optionCount; ++i) texts.Add(kOptions[i]);
    CChoiceList options(texts);
    CRetrievedData *out = nullptr;
    const int32_t status = retrievers[static_cast<int>(question)]->Retrieve(&node, nullptr, nullptr, &options, out);
    if (status != 0) {
        Require(status == 2 && session.aborted && out == nullptr);
        return;
    }
    Require(out != nullptr);
    if (auto *p = dynamic_cast<CRetrievedDataProb *>(out)) {
        Require(p->value >= 0.0f && p->value <= 1.0f);
    } else if (auto *c = dynamic_cast<CRetrievedDataCertFact *>(out)) {
        Require(IsWholeCertainty(c->value));
    } else if (auto *v = dynamic_cast<CRetrievedDataValue *>(out)) {
        Require(std::isfinite(v->value));
    } else if (auto *i = dynamic_cast<CRetrievedDataInterval *>(out)) {
        Require(std::isfinite(i->from) && std::isfinite(i->to) && i->from <= i->to);
        Require(IsWholeCertainty(i->certainty));
    } else if (auto *o = dynamic_cast<CRetrievedDataChoice *>(out)) {
        Require(o->index >= 0 && o->index < optionCount);
    } else {
        Require(false);
    }
    delete out;
}

void AskParameter(const CUserInterface &ui, const ConsoleSession &session) {
    CParamRetrieverWin retriever(ui);
    CParamAsk ask(kName);
    CParameters parameters;
    const int32_t status = retriever.Retrieve(&ask, &parameters);
    if (status != 0) {
        Require(status == 2 && session.aborted && !parameters.HasParam(kName));
        return;
    }
    const CString value = parameters.GetParam(kName);
    Require(parameters.HasParam(kName));
    Require(static_cast<size_t>(value.Length()) <= Terminal::kMaxLine);
    Require(std::string(value.Text()).find('\n') == std::string::npos);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Asks for a class until the answer is one of the tree or none.
void AskTaxonomy(ConsoleSession &session) {
    const CTaxonomyTree tree = {{kName, 0}, {"Viral", 1}, {"Flu", 2}, {"Cold", 1}};
    CTextTaxonomyClassDialog dialog(session);
    CString rejection;
    for (;;) {
        const CTaxonomyClassAnswer answer = dialog.ShowModal(tree, rejection);
        if (!answer.accepted) {
            Require(session.aborted);
            return;
        }
        const std::string name = answer.className.Text();
        Require(answer.none == name.empty());
        if (name.empty()) return;
        Require(!IsBlank(name.front()) && !IsBlank(name.back()));
        Require(name.find('\n') == std::string::npos);
        for (const CTaxonomyTreeItem &item : tree)
            if (item.name.Equals(name.c_str())) return;
        rejection = "not a class";
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2 || size > kMostInput) return 0;
    const Question question = static_cast<Question>((data[0] & 0x7f) % static_cast<int>(Question::count));
    const bool scripted = (data[0] & 0x80) != 0;
    const int32_t optionCount = 1 + data[1] % 8;
    std::string input(reinterpret_cast<const char *>(data + 2), size - 2);
    AnswerFile answers;
    if (scripted) {
        const size_t lineEnd = std::min(input.find('\n'), input.size());
        std::string error;
        std::istringstream line(std::string(kName) + "\t" + input.substr(0, lineEnd));
        Require(answers.Parse(line, error));
        input.erase(0, lineEnd + 1);
    }
    FeedStandardInput(reinterpret_cast<const uint8_t *>(input.data()), input.size());
    Terminal terminal;
    ConsoleSession session(terminal, answers);
    session.currentNode = kName;
    CQuietMessages messages;
    CTextQuestionWindows windows(session, session.currentNode, messages);
    if (question == Question::parameter) {
        AskParameter(windows.Record(), session);
    } else if (question == Question::taxonomy) {
        AskTaxonomy(session);
    } else {
        AskNode(windows.Record(), question, optionCount, session);
    }
    return 0;
}
