#include "net/link.h"

CLink::CLink(CNode *sourceNode, CNode *targetNode, bool priority)
    : source(sourceNode), target(targetNode), isPriority(priority) {}

CPriorityLink::CPriorityLink(CNode *sourceNode, CNode *targetNode) : CLink(sourceNode, targetNode, true) {}

CContextLink::CContextLink(CNode *sourceNode, CNode *targetNode, float lowBound, float highBound)
    : CLink(sourceNode, targetNode, false), low(lowBound), high(highBound) {}
