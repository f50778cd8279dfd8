// CInferenceNet: the nodes, rules and links of one compiled knowledge base,
// with the consistency check and the consultation algorithms.
//
// The compiler fills the net through the add operations, which refuse
// duplicates, missing nodes and out-of-range weights with the result 2 and
// leave the net unchanged; a rule or link is entered in its nodes' lists
// when the net is first checked or reset after it was added. `Check` finds
// the first of a fixed sequence of problems. A consultation resets the net
// to its a-priori values, then picks the most probable unfinished goal,
// descends from it through links and rule sources to the node whose evidence
// is worth most, asks its evidence source (net/evidence_source.h) for that
// node's value, and propagates the answer forward along the rules, until no
// goal is left. The net owns every node, rule and link.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/arena.h"
#include "net/net_observer.h"
#include "foundation/cstring.h"
#include "net/edge_index.h"
#include "net/node_collections.h"
#include "net/rule.h"

class IEvidenceSource;
class CParameters;
class CInferenceNet;


class CInferenceNet {
public:
    CInferenceNet();
    CInferenceNet(const CInferenceNet &) = delete;
    CInferenceNet &operator=(const CInferenceNet &) = delete;

    // Consulting: the virtual steps (in the order of their slots)
    // Calls the observer, then the source's RetrieveNodeValue for the node.
    virtual int32_t RetrieveValue(IEvidenceSource *evidence, CNode *node, float &value);
    // Destroys every node, rule and link.
    virtual ~CInferenceNet();
    // Runs CheckMessage into `checkMessage`; 2 when it found a problem.
    virtual int32_t Check();
    // Asks the parameters unless already asked, starts the source's
    // consultation and runs the goals. The caller resets the net first.
    virtual int32_t Consult(IEvidenceSource *evidence, CParameters *parameters);
    // Writes the consultation to the output tables; 0.
    virtual int32_t Finish(IEvidenceSource *evidence);

    // Building; 0 on success, 2 when refused (the net is then unchanged)
    int32_t AddBayesNode(const CString &nodeName, float prior, bool askable, bool goal);
    int32_t AddLogicalNode(const CString &nodeName, uint8_t logicalType, bool askable, bool goal);
    int32_t SetDescription(const CString &nodeName, const CString &text);
    int32_t AddRule(const CString &sourceName, const CString &targetName, float pYes, float pNo);
    int32_t AddPriorityLink(const CString &sourceName, const CString &targetName);
    int32_t AddContextLink(const CString &sourceName, const CString &targetName, float low, float high);
    CNode *FindNode(const CString &nodeName);

    // Checking
    // The first problem of the net as a text, or the empty text.
    CString CheckMessage();

    // Consulting: the steps
    // Puts every rule and node into its a-priori state; always 0.
    int32_t ResetValues(IEvidenceSource *evidence);
    // Sorts `goals`, highest current value first; false when there is none.
    // Goals of equal value keep the order they had, which is the order the
    // last consultation left.
    bool SortGoals();
    // Puts `goals` back in the order of their declaration, as a net has them
    // before its first consultation.
    void RestoreGoalOrder();
    // 0 and the first selectable goal in sorted order, or 2 and null.
    int32_t SelectGoal(CNode *&goal);
    // Investigates goals until none is selectable, then Finish.
    int32_t RunGoals(IEvidenceSource *evidence);
    // Descends and asks until the goal is finished; 0, or an error code.
    int32_t InvestigateGoal(CNode *goal, IEvidenceSource *evidence);
    // Retrieves a value for the node, sets it and puts the node on top of
    // the call stack for the following Propagate.
    int32_t AskNode(CNode *node, IEvidenceSource *evidence);
    // Pushes the change of the node on top of the call stack forward along
    // the rules, then empties the call stack; always 0.
    int32_t Propagate();

    CNodeArray nodes;         // every node, in creation order; owning
    CNodeHTable nodeIndex;    // node by name
    CRuleArray rules;         // every rule, in creation order; owning
    CLinkArray links;         // every link, in creation order; owning
    CNodeArray goals;         // the goal nodes; reordered by SortGoals
    CNodeStack callStack;     // path of the current descent, goal at the bottom
    CNodeQueue propagationQueue;  // nodes set outside a step, propagated first by the next Propagate
    INetObserver *observer;   // told before every retrieval; null when none
    CString checkMessage;     // text of the last Check; empty when consistent
    // The nodes of the cycle the last Check found, in words; empty otherwise.
    std::string checkDetail;

protected:
    // Puts a node on the call stack, keeping its stack count.
    void PushCall(CNode *node);
    // Empties the call stack.
    void ClearCallStack();
    // Empties the propagation queue.
    void ClearPropagationQueue();

private:
    int32_t AddNode(CNode *node);
    // Fails the consultation with a cycle message naming the node.
    // Leaves the cycle's text in the source's context for the driver to show.
    int32_t CycleError(IEvidenceSource *evidence, const char *what, const CNode *node);

    // Gives every rule its memos, once all rules are there (net/rule.h).
    void GiveRulesMemos();
    // Enters every rule and link in its nodes' lists (net/node.h) when some
    // were added since the last time, and releases the index of pairs; the
    // check and the reset start with it.
    void EnterEdges();
    template <typename Edge>
    void EnterInLists(const CVector<Edge *> &edges, Edge **CNode::*slots, int32_t CNode::*outCount,
                      int32_t CNode::*inCount);

    // Makes a node, rule or link in the net's arena.
    template <typename T, typename... Args>
    T *Make(Args &&...args);

    // Nodes, rules and links live in one arena that the net releases as a
    // whole: a net of a million nodes is built from a few hundred large
    // allocations rather than millions of small ones, and its objects lie
    // side by side in the order they were made.
    CArena arena;
    // The rules' memos, in the order of `rules`; empty until the first reset.
    std::vector<CRuleMemos> ruleMemos;
    // How many of `rules` and of `links` are in their nodes' lists.
    int32_t rulesEntered = 0;
    int32_t linksEntered = 0;

    // Source-target pairs that already have a rule, and those that already
    // have a link, so that the duplicate tests take constant time.
    CEdgeIndex<CRule> rulePairs;
    CEdgeIndex<CLink> linkPairs;

    // The nodes one propagation goes through, in the order of the queue it
    // stands for. It is emptied, never freed, so that after the first few
    // steps propagating allocates nothing.
    std::vector<CNode *> propagationWork;
};
