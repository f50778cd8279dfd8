// CLogicalNode: a node whose value is the and, or or not of its sources.
//
// An and-node takes the minimum of its sources' values, an or-node the
// maximum, a not-node one minus the value of its single source. The prior of
// a logical node is the value it computes from its sources' priors.
#pragma once

#include "net/node.h"

class CLogicalNode : public CNode {
public:
    // Values of `logicalType`.
    static constexpr uint8_t kAnd = 0;
    static constexpr uint8_t kOr = 1;
    static constexpr uint8_t kNot = 2;

    CLogicalNode(const CString &nodeName, uint8_t type, bool isAskable, bool isGoal);

    // Initializes the sources first (following the rules backwards), then
    // sets `current` and `prior` to the combined value.
    void Init() override;
    // And: 1 - current; or: current; not: 1. The rule is not used.
    float Score(CRule *rule) override;
    bool Update(CNode *changedSource) override;

    uint8_t logicalType;

private:
    // The combined value of the sources. A not-node reads `changedSource`,
    // or its first source when that is null.
    double Combine(const CNode *changedSource) const;
};
