#include "net/inference_net.h"

#include <functional>
#include <new>
#include <utility>

#include "net/params.h"
#include "net/bayes_node.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/net_constants.h"
#include "net/rule.h"
#include "net/cycle_path.h"
#include "net/evidence_source.h"

namespace {

bool IsProbability(float value) { return value >= 0.0f && value <= 1.0f; }  // false for NaN

// Descending order of current values; the difference is taken at the
// precision at which values are stored.
int CompareGoals(const void *a, const void *b) {
    const CNode *first = *static_cast<CNode *const *>(a);
    const CNode *second = *static_cast<CNode *const *>(b);
    const float difference = static_cast<float>(static_cast<double>(second->current) - first->current);
    if (difference < 0.0f) return -1;
    return difference > 0.0f ? 1 : 0;
}

// Kahn's elimination over the nodes, with the edges that `forEachTarget`
// enumerates for a node. Nodes whose in-degree falls to zero are removed in
// the order they became ready, which removes exactly the nodes that repeated
// passes over the node list would remove. True when every node was removed:
// no cycle.
template <typename ForEachTarget>
bool EliminatesAll(CNodeArray &nodes, ForEachTarget forEachTarget) {
    // A node is ready once at most, when its in-degree reaches zero: the
    // list, reserved whole, never grows (the check runs at the peak of a
    // build), and is worked through in the order nodes became ready.
    std::vector<CNode *> ready;
    ready.reserve(static_cast<size_t>(nodes.Count()));
    for (int32_t i = 0; i < nodes.Count(); ++i)
        if (nodes.At(i)->inDegree == 0) ready.push_back(nodes.At(i));
    int32_t remaining = nodes.Count();
    const auto release = [&ready](CNode *target) {
        if (--target->inDegree == 0 && !target->removed) ready.push_back(target);
    };
    for (size_t next = 0; next < ready.size(); ++next) {
        CNode *node = ready[next];
        if (node->removed) continue;
        node->removed = true;
        --remaining;
        forEachTarget(node, release);
    }
    return remaining == 0;
}

// The nodes of a cycle among those an elimination left over, found by
// following the `incoming` rules or links backwards, after `what`:
// `what` "a" -> "b" -> "a". Empty when there is none.
template <typename Edge>
std::string LeftOverCycle(const char *what, CNodeArray &nodes, CEdgeList<Edge> (CNode::*incoming)() const) {
    CNode *start = nullptr;
    for (int32_t i = 0; i < nodes.Count() && start == nullptr; ++i)
        if (!nodes.At(i)->removed) start = nodes.At(i);
    if (start == nullptr) return "";
    const auto predecessor = [incoming](CNode *node) -> std::optional<CNode *> {
        const CEdgeList<Edge> edges = (node->*incoming)();
        for (int32_t i = 0; i < edges.Count(); ++i)
            if (!edges.At(i)->source->removed) return edges.At(i)->source;
        return std::nullopt;
    };
    const std::vector<CNode *> cycle = CycleBehind<CNode *>(start, predecessor);
    if (cycle.empty()) return "";
    std::string text = what;
    for (CNode *node : cycle) text += "\"" + std::string(node->name.Text()) + "\" -> ";
    return text + "\"" + cycle.front()->name.Text() + "\"";
}

void ResetScratch(CNodeArray &nodes) {
    for (int32_t i = 0; i < nodes.Count(); ++i) {
        nodes.At(i)->inDegree = 0;
        nodes.At(i)->removed = false;
    }
}

}  // namespace

CInferenceNet::CInferenceNet() : observer(nullptr) {}

// The arena releases the memory, the nodes' lists too; the objects' own
// members (names, a taxonomy node's classes) are released here.
CInferenceNet::~CInferenceNet() {
    for (int32_t i = 0; i < links.Count(); ++i) links.At(i)->~CLink();
    for (int32_t i = 0; i < rules.Count(); ++i) rules.At(i)->~CRule();
    for (int32_t i = 0; i < nodes.Count(); ++i) nodes.At(i)->~CNode();
}

template <typename T, typename... Args>
T *CInferenceNet::Make(Args &&...args) {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "the arena's blocks are aligned as new aligns");
    return new (arena.Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
}

// ---------------------------------------------------------------- building

int32_t CInferenceNet::AddBayesNode(const CString &nodeName, float prior, bool askable, bool goal) {
    if (!IsProbability(prior)) return 2;
    if (nodeName.IsEmpty() || FindNode(nodeName) != nullptr) return 2;
    return AddNode(Make<CBayesNode>(nodeName, prior, askable, goal));
}

int32_t CInferenceNet::AddLogicalNode(const CString &nodeName, uint8_t logicalType, bool askable, bool goal) {
    if (logicalType > CLogicalNode::kNot) return 2;
    if (nodeName.IsEmpty() || FindNode(nodeName) != nullptr) return 2;
    return AddNode(Make<CLogicalNode>(nodeName, logicalType, askable, goal));
}

int32_t CInferenceNet::AddNode(CNode *node) {
    nodeIndex.Insert(node->name, node);
    nodes.Add(node);
    if (node->goal) goals.Add(node);
    return 0;
}

int32_t CInferenceNet::SetDescription(const CString &nodeName, const CString &text) {
    CNode *node = FindNode(nodeName);
    if (node == nullptr) return 2;
    node->description = text;
    return 0;
}

int32_t CInferenceNet::AddRule(const CString &sourceName, const CString &targetName, float pYes, float pNo) {
    if (!IsProbability(pYes) || !IsProbability(pNo)) return 2;
    CNode *source = FindNode(sourceName);
    CNode *target = FindNode(targetName);
    if (source == nullptr || target == nullptr) return 2;
    rulePairs.Cover(rules);
    if (rulePairs.Contains(rules, source, target)) return 2;
    rules.Add(Make<CRule>(source, target, pYes, pNo));
    rulePairs.Add(rules, rules.Count() - 1);
    return 0;
}

int32_t CInferenceNet::AddPriorityLink(const CString &sourceName, const CString &targetName) {
    CNode *source = FindNode(sourceName);
    CNode *target = FindNode(targetName);
    if (source == nullptr || target == nullptr) return 2;
    linkPairs.Cover(links);
    if (linkPairs.Contains(links, source, target)) return 2;
    links.Add(Make<CPriorityLink>(source, target));
    linkPairs.Add(links, links.Count() - 1);
    return 0;
}

int32_t CInferenceNet::AddContextLink(const CString &sourceName, const CString &targetName, float low, float high) {
    CNode *source = FindNode(sourceName);
    CNode *target = FindNode(targetName);
    if (source == nullptr || target == nullptr) return 2;
    linkPairs.Cover(links);
    if (linkPairs.Contains(links, source, target)) return 2;
    links.Add(Make<CContextLink>(source, target, low, high));
    linkPairs.Add(links, links.Count() - 1);
    return 0;
}

CNode *CInferenceNet::FindNode(const CString &nodeName) { return nodeIndex.Find(nodeName); }

// ---------------------------------------------------------------- checking

int32_t CInferenceNet::Check() {
    checkDetail.clear();
    checkMessage = CheckMessage();
    return checkMessage.IsEmpty() ? 0 : 2;
}

CString CInferenceNet::CheckMessage() {
    EnterEdges();
    if (nodes.Count() == 0) return "no nodes";
    if (goals.Count() == 0) return "no goals";
    if (rules.Count() == 0) return "no rules";
    for (int32_t i = 0; i < nodes.Count(); ++i) {
        CNode *node = nodes.At(i);
        node->inDegree = 0;
        node->removed = false;
        if (node->InRules().Count() == 0 && node->OutRules().Count() > 0 && !node->askable) {
            CString message("leaf node \"");
            message.Append(node->name);
            message.Append("\" not askable");
            return message;
        }
        if (node->kind == CNode::kLogical && static_cast<CLogicalNode *>(node)->logicalType == CLogicalNode::kNot &&
            node->InRules().Count() > 1) {
            CString message("more than one rule to node \"");
            message.Append(node->name);
            message.Append("\" of logical type 'not'");
            return message;
        }
    }

    for (int32_t i = 0; i < rules.Count(); ++i) ++rules.At(i)->target->inDegree;
    const bool rulesAcyclic = EliminatesAll(nodes, [](CNode *node, const auto &release) {
        for (const CRule *rule : node->OutRules()) release(rule->target);
    });
    if (!rulesAcyclic) {
        checkDetail = LeftOverCycle("the rules go round: ", nodes, &CNode::InRules);
        return "cycle detected in rules";
    }

    ResetScratch(nodes);
    for (int32_t i = 0; i < links.Count(); ++i) ++links.At(i)->target->inDegree;
    const bool linksAcyclic = EliminatesAll(nodes, [](CNode *node, const auto &release) {
        for (const CLink *link : node->OutLinks()) release(link->target);
    });
    if (!linksAcyclic) {
        checkDetail = LeftOverCycle("the links go round: ", nodes, &CNode::InLinks);
        return "cycle detected in priority and context links";
    }
    return CString();
}

// ---------------------------------------------------------------- consulting

int32_t CInferenceNet::ResetValues(IEvidenceSource * /*evidence*/) {
    EnterEdges();
    GiveRulesMemos();
    for (int32_t i = 0; i < rules.Count(); ++i) rules.At(i)->InitOdds();
    for (int32_t i = 0; i < nodes.Count(); ++i) nodes.At(i)->initialized = false;
    for (int32_t i = 0; i < nodes.Count(); ++i)
        if (!nodes.At(i)->initialized) nodes.At(i)->Init();
    return 0;
}

// The pairs are looked up only while edges are added: a complete net has no
// more use for them, and the check comes at the peak of a build.
void CInferenceNet::EnterEdges() {
    if (rulesEntered != rules.Count()) {
        EnterInLists(rules, &CNode::ruleSlots, &CNode::outRuleCount, &CNode::inRuleCount);
        rulesEntered = rules.Count();
        rulePairs.Release();
    }
    if (linksEntered != links.Count()) {
        EnterInLists(links, &CNode::linkSlots, &CNode::outLinkCount, &CNode::inLinkCount);
        linksEntered = links.Count();
        linkPairs.Release();
    }
}

// Every edge of `edges` is entered again, not only the new ones: nets get
// edges after their first pass only when they are built by hand, and a
// whole pass keeps each node's block exactly its size.
template <typename Edge>
void CInferenceNet::EnterInLists(const CVector<Edge *> &edges, Edge **CNode::*slots, int32_t CNode::*outCount,
                                 int32_t CNode::*inCount) {
    for (CNode *node : nodes) node->*outCount = node->*inCount = 0;
    for (const Edge *edge : edges) {
        ++(edge->source->*outCount);
        ++(edge->target->*inCount);
    }
    for (CNode *node : nodes) {
        const size_t count = static_cast<size_t>(node->*outCount + node->*inCount);
        node->*slots = count == 0 ? nullptr : static_cast<Edge **>(arena.Allocate(sizeof(Edge *) * count, alignof(Edge *)));
    }
    // The edges into a node first, then those out of it, each in the order
    // they were made: the counts start again from zero as the slots fill.
    for (CNode *node : nodes) node->*inCount = 0;
    for (Edge *edge : edges) (edge->target->*slots)[(edge->target->*inCount)++] = edge;
    for (CNode *node : nodes) node->*outCount = 0;
    for (Edge *edge : edges) (edge->source->*slots)[edge->source->*inCount + (edge->source->*outCount)++] = edge;
}

void CInferenceNet::GiveRulesMemos() {
    if (ruleMemos.size() == static_cast<size_t>(rules.Count())) return;
    ruleMemos.assign(static_cast<size_t>(rules.Count()), CRuleMemos{});
    for (int32_t i = 0; i < rules.Count(); ++i) rules.At(i)->memos = &ruleMemos[static_cast<size_t>(i)];
}

bool CInferenceNet::SortGoals() {
    if (goals.Count() == 0) return false;
    // Between two selections only a few values move; when the order still
    // holds, sorting again would only shuffle goals of equal value, whose
    // order is free anyway.
    for (int32_t i = 1; i < goals.Count(); ++i) {
        if (CompareGoals(&goals.At(i - 1), &goals.At(i)) > 0) {
            goals.Sort(CompareGoals);
            break;
        }
    }
    return true;
}

void CInferenceNet::RestoreGoalOrder() {
    goals.Reset();
    for (int32_t i = 0; i < nodes.Count(); ++i)
        if (nodes.At(i)->goal) goals.Add(nodes.At(i));
}

int32_t CInferenceNet::SelectGoal(CNode *&goal) {
    goal = nullptr;
    SortGoals();
    for (int32_t i = 0; i < goals.Count(); ++i) {
        CNode *candidate = goals.At(i);
        if (!candidate->finished && candidate->enabled && candidate->current >= quorvin::kGoalThreshold) {
            goal = candidate;
            return 0;
        }
    }
    return 2;
}

int32_t CInferenceNet::RunGoals(IEvidenceSource *evidence) {
    CNode *goal = nullptr;
    while (SelectGoal(goal) == 0) {
        const int32_t code = InvestigateGoal(goal, evidence);
        if (code != 0) return code;
    }
    return Finish(evidence);
}

int32_t CInferenceNet::InvestigateGoal(CNode *goal, IEvidenceSource *evidence) {
    ClearCallStack();
    PushCall(goal);
    CNode *node = goal;
    for (;;) {
        CNode *first = nullptr;
        if (node->CheckLinks(first)) {
            if (first != nullptr) {
                if (first->callStackCount > 0) return CycleError(evidence, "link", first);
                PushCall(first);
                node = first;
                continue;
            }
            node->finished = true;  // out of context: never asked
        } else {
            CNode *source = node->ChooseSource();
            if (source != nullptr) {
                if (source->callStackCount > 0) return CycleError(evidence, "rule", source);
                PushCall(source);
                node = source;
                continue;
            }
            if (!node->askable || node->asked) return 2;
            const int32_t code = AskNode(node, evidence);
            if (code != 0) return code;
        }
        Propagate();
        PushCall(goal);
        node = goal;
        if (goal->finished) return 0;
    }
}

int32_t CInferenceNet::AskNode(CNode *node, IEvidenceSource *evidence) {
    float value = 0.5f;
    const int32_t code = RetrieveValue(evidence, node, value);
    if (code != 0) return code;
    node->current = value;
    node->asked = true;
    PushCall(node);
    return 0;
}

int32_t CInferenceNet::RetrieveValue(IEvidenceSource *evidence, CNode *node, float &value) {
    if (observer != nullptr) observer->OnInvestigate(this, evidence, node);
    if (evidence == nullptr) return 2;
    return evidence->RetrieveNodeValue(node, value, this);
}

int32_t CInferenceNet::Propagate() {
    // Nodes already waiting in the queue (a taxonomy answer's classmates)
    // come first, then the start; the work list is read front to back as
    // the queue would be taken from.
    propagationWork.clear();
    CNode *waiting = nullptr;
    while (propagationQueue.Take(waiting)) propagationWork.push_back(waiting);
    CNode *start = callStack.Top();
    if (start != nullptr) propagationWork.push_back(start);
    for (size_t next = 0; next < propagationWork.size(); ++next) {
        CNode *node = propagationWork[next];
        node->TestFinished();
        for (const CRule *rule : node->OutRules()) {
            CNode *target = rule->target;
            if (target->Update(node)) {
                propagationWork.push_back(target);
                continue;
            }
            const bool wasFinished = target->finished;
            target->TestFinished();
            if (target->finished != wasFinished) propagationWork.push_back(target);
        }
    }
    propagationWork.clear();
    ClearCallStack();
    return 0;
}

int32_t CInferenceNet::Consult(IEvidenceSource *evidence, CParameters *parameters) {
    if (evidence == nullptr || parameters == nullptr) return 2;
    evidence->Context().errorText.Clear();
    ClearCallStack();
    ClearPropagationQueue();
    if (!parameters->asked) {
        const int32_t code = parameters->AskParameters(evidence);
        if (code != 0) return code;
    }
    const int32_t code = evidence->StartConsultation(this, parameters);
    if (code != 0) return code;
    return RunGoals(evidence);
}

int32_t CInferenceNet::Finish(IEvidenceSource *evidence) {
    if (evidence != nullptr) evidence->WriteOutputs(this);
    return 0;
}

int32_t CInferenceNet::CycleError(IEvidenceSource *evidence, const char *what, const CNode *node) {
    CString message("Cycle detected in ");
    message.Append(what);
    message.Append(" - see node ");
    message.Append(node->name);
    message.Append(" and its links and rules.");
    if (evidence != nullptr) evidence->Context().errorText = message;
    return 2;
}

void CInferenceNet::PushCall(CNode *node) {
    callStack.Push(node);
    ++node->callStackCount;
}

void CInferenceNet::ClearCallStack() {
    CNode *node = nullptr;
    while (callStack.Pop(node)) --node->callStackCount;
}

void CInferenceNet::ClearPropagationQueue() {
    CNode *node = nullptr;
    while (propagationQueue.Take(node)) {
    }
}
