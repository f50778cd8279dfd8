#include "quorvin/session.h"

#include "api/knowledge_base_data.h"
#include "api/text_source.h"
#include "consult/answer_map.h"
#include "consult/text_consultation.h"
#include "explain/explanation_text.h"
#include "explain/how.h"
#include "net/inf_tax_net.h"
#include "net/logical_node.h"
#include "retrieval/table.h"

namespace quorvin {

namespace {

QuestionKind KindOf(TQuestionKind kind) {
    switch (kind) {
    case TQuestionKind::probability: return QuestionKind::probability;
    case TQuestionKind::certainty: return QuestionKind::certainty;
    case TQuestionKind::exactValue: return QuestionKind::value;
    case TQuestionKind::interval: return QuestionKind::interval;
    case TQuestionKind::choice: return QuestionKind::choice;
    case TQuestionKind::parameter: return QuestionKind::parameter;
    default: return QuestionKind::taxonomy;
    }
}

NodeKind KindOf(const CNode &node) {
    if (node.kind == CNode::kBayesian) return NodeKind::bayesian;
    switch (static_cast<const CLogicalNode &>(node).logicalType) {
    case CLogicalNode::kAnd: return NodeKind::andNode;
    case CLogicalNode::kOr: return NodeKind::orNode;
    default: return NodeKind::notNode;
    }
}

// The caller's callback as the answerer of what the map leaves.
class CallbackAnswerer : public ITextAnswerer {
public:
    explicit CallbackAnswerer(const QuestionCallback &callback) : callback(callback) {}

    bool Answer(const CTextQuestion &text, std::string &line) override {
        const Question question{KindOf(text.kind), text.name,    text.subject,  text.text,
                                text.help,         text.options, text.rejection};
        std::optional<std::string> answer = callback(question);
        if (!answer) return false;
        line = std::move(*answer);
        return true;
    }

private:
    const QuestionCallback &callback;
};

// The goals in their final order, and every node.
void ReadNet(const CInfTaxNet &net, Result &result) {
    result.goals.reserve(static_cast<size_t>(net.goals.Count()));
    result.nodes.reserve(static_cast<size_t>(net.nodes.Count()));
    for (int32_t i = 0; i < net.goals.Count(); ++i) {
        const CNode &goal = *net.goals.At(i);
        result.goals.push_back({goal.name.Text(), goal.prior, goal.current});
    }
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        const CNode &node = *net.nodes.At(i);
        result.nodes.push_back({node.name.Text(), KindOf(node), node.goal, node.askable, node.prior, node.current,
                                node.asked, node.finished});
    }
}

}  // namespace

const char *QuestionKindName(QuestionKind kind) {
    static const char *const names[] = {"probability", "certainty", "value",   "interval",
                                        "choice",      "parameter", "taxonomy"};
    return names[static_cast<int>(kind)];
}

struct Session::State {
    State(const KnowledgeBase &knowledgeBase, const SessionOptions &options)
        : knowledgeBase(knowledgeBase), aliases(OwnedTextSource::UserAliases()) {
        if (!knowledgeBase.Built()) return;
        const CWrittenFiles files{false, options.writeReports, options.writeOutputTables};
        OwnedTextSource source(*knowledgeBase.data, files, *aliases);
        consultation = std::make_unique<CTextConsultation>(source.Source());
    }

    // The first answer name that the knowledge base cannot be asked about.
    std::optional<std::string> UnknownName() const {
        for (const auto &[name, line] : answers)
            if (!consultation->Answerable(name)) return name;
        return std::nullopt;
    }

    KnowledgeBase knowledgeBase;
    std::unique_ptr<IOptionStore> aliases;            // read by the consultation's tables
    std::unique_ptr<CTextConsultation> consultation;  // null when it did not build
    Answers answers;
    QuestionCallback callback;
};

Session::Session(const KnowledgeBase &knowledgeBase, const SessionOptions &options)
    : state(std::make_unique<State>(knowledgeBase, options)) {}
Session::~Session() = default;
Session::Session(Session &&) noexcept = default;
Session &Session::operator=(Session &&) noexcept = default;

void Session::SetAnswers(Answers answers) { state->answers = std::move(answers); }
void Session::SetQuestionCallback(QuestionCallback callback) { state->callback = std::move(callback); }

Result Session::Run(Answers answers) {
    SetAnswers(std::move(answers));
    return Run();
}

Result Session::Run() {
    Result result;
    CTextConsultation *consultation = state->consultation.get();
    if (consultation == nullptr) {
        result.status = Status::error;
        result.error = state->knowledgeBase.ErrorText();
        return result;
    }
    if (auto unknown = state->UnknownName()) {
        result.error = "no node, parameter or taxonomy is named " + *unknown;
        return result;  // Status::invalid: not consulted
    }
    CallbackAnswerer asker(state->callback);
    CAnswerMap answerer(state->answers, state->callback ? &asker : nullptr);
    const int32_t code = consultation->Run(answerer);
    result.status = code == 0                                               ? Status::ok
                    : answerer.Refusal().empty() && consultation->Aborted() ? Status::aborted
                                                                            : Status::error;
    result.statusText = consultation->LastStatus();
    result.error = answerer.Refusal().empty() ? consultation->LastError() : answerer.Refusal();
    result.messages = consultation->Messages();
    ReadNet(consultation->Net(), result);
    return result;
}

void Session::Reset() {
    if (state->consultation) state->consultation->Net().ResetValues(state->consultation->Table());
}

std::string Session::Explain(const std::string &name) const {
    if (!state->consultation) return {};
    const CNode *node = state->consultation->Net().FindNode(name.c_str());
    if (node == nullptr) return {};
    return explain::HowText(explain::ExplainHow(*node, state->consultation->Table()));
}

}  // namespace quorvin
