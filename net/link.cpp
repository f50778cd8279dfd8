#include "net/link.h"

#include "net/node.h"

CLink::CLink(CNode *sourceNode, CNode *targetNode, bool priority)
    : source(sourceNode), target(targetNode), isPriority(priority) {
    source->outLinks.Add(this);
    target->inLinks.Add(this);
}

CPriorityLink::CPriorityLink(CNode *sourceNode, CNode *targetNode) : CLink(sourceNode, targetNode, true) {}

CContextLink::CContextLink(CNode *sourceNode, CNode *targetNode, float lowBound, float highBound)
    : CLink(sourceNode, targetNode, false), low(lowBound), high(highBound) {}
