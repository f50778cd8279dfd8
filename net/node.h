// CNode: one proposition of the inference net.
//
// A node holds the probability that its proposition is true. Rules carry
// evidence into it from source nodes; links only steer the order in which the
// net investigates it. The base class keeps the fields and operations every
// node shares: the run-time flags, the choice of the next source to
// investigate, the link tests and the finishing test. How a node computes its
// value is left to its kind: Bayesian (CBayesNode) or logical (CLogicalNode).
#pragma once

#include <cstdint>

#include "foundation/cstring.h"
#include "net/node_collections.h"

class CNode {
public:
    // Values of `kind`.
    static constexpr uint8_t kBayesian = 0;
    static constexpr uint8_t kLogical = 1;

    // Both strings start as the name; `enabled` starts true, every value at 0.
    CNode(const CString &nodeName, bool isAskable, bool isGoal);
    virtual ~CNode();
    CNode(const CNode &) = delete;
    CNode &operator=(const CNode &) = delete;

    // Run-time values
    // Clears `finished` and `asked` and marks the node `initialized`; the
    // kinds then set their starting value.
    virtual void Init();
    // How worthwhile it is to investigate this node for the sake of the
    // target of `rule`, a rule out of this node.
    virtual float Score(CRule *rule) = 0;
    // Recomputes `current` after `changedSource` changed; true when the value
    // moved by more than the change threshold.
    virtual bool Update(CNode *changedSource) = 0;

    // Investigation
    // The unfinished source with the highest score (the earliest rule wins a
    // tie), or null when every source is finished.
    virtual CNode *ChooseSource();
    // True when a context link into this node is violated; `out` is its
    // source when that source is still unfinished, else null.
    bool CheckContext(CNode *&out) const;
    // True when a priority link into this node comes from an unfinished
    // source, which is put into `out`.
    bool CheckPriority(CNode *&out) const;
    // Context links first, then priority links.
    bool CheckLinks(CNode *&out) const;
    // Sets `finished` once every source is finished and, for an askable
    // node, the node was asked. Never clears it.
    bool TestFinished();

    // The fields, the small ones together so that a node wastes no padding:
    // a large net holds a million of them.
    uint8_t kind;
    bool askable;
    bool enabled;
    bool goal;
    bool finished;
    bool asked;
    bool initialized;
    bool removed;      // scratch of the consistency checks
    CString name;
    CString description;
    CTaxClArray classes;

    // The rules and links that leave and enter the node, in the order they
    // were made. The net enters them once it is complete, when it is first
    // checked or reset, and again after edges were added to it.
    CRuleList InRules() const { return {ruleSlots, inRuleCount}; }
    CRuleList OutRules() const { return {ruleSlots + inRuleCount, outRuleCount}; }
    CLinkList InLinks() const { return {linkSlots, inLinkCount}; }
    CLinkList OutLinks() const { return {linkSlots + inLinkCount, outLinkCount}; }

private:
    friend class CInferenceNet;
    // A node's rules take one block of exactly their slots in the net's
    // arena, those into the node first (a consultation reads them most);
    // its links another. A large net has hundreds of thousands of nodes,
    // most with one to three rules, where four growing arrays took five
    // slots and a heap block each.
    CRule **ruleSlots = nullptr;
    CLink **linkSlots = nullptr;
    int32_t inRuleCount = 0;
    int32_t outRuleCount = 0;
    int32_t inLinkCount = 0;
    int32_t outLinkCount = 0;

public:
    int32_t selectionCount;
    float prior;
    float current;
    int32_t inDegree;  // scratch of the consistency checks

    // How often the node stands on the net's call stack, so that the descent
    // finds a cycle in constant time instead of searching the stack.
    int32_t callStackCount;
};
