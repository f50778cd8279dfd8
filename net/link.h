// Links: edges that only steer the order of investigation.
//
// A priority link says its source must be finished before its target is
// investigated. A context link says its target is investigated only while the
// source's current value lies in the closed interval [low, high].
#pragma once

class CNode;

class CLink {
public:
    // The net enters the link in its nodes' lists (OutLinks and InLinks)
    // when it is checked or reset.
    CLink(CNode *sourceNode, CNode *targetNode, bool priority);
    virtual ~CLink() = default;
    CLink(const CLink &) = delete;
    CLink &operator=(const CLink &) = delete;

    CNode *source;
    CNode *target;
    bool isPriority;
};

class CPriorityLink : public CLink {
public:
    CPriorityLink(CNode *sourceNode, CNode *targetNode);
};

class CContextLink : public CLink {
public:
    CContextLink(CNode *sourceNode, CNode *targetNode, float lowBound, float highBound);

    float low;
    float high;
};
