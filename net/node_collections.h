// Named collections of the inference net's objects.
//
// Every collection holds non-owning pointers; the owner (the net, a taxonomy
// root) deletes the objects itself.
#pragma once

#include "foundation/hash_table.h"
#include "foundation/queue.h"
#include "foundation/stack.h"
#include "foundation/vector.h"
#include "net/edge_list.h"

class CNode;
class CRule;
class CLink;
class CTaxCl;
class CTaxRoot;

using CNodeArray = CVector<CNode *>;
using CRuleArray = CVector<CRule *>;
using CLinkArray = CVector<CLink *>;
// The rules and links at one node (net/edge_list.h).
using CRuleList = CEdgeList<CRule>;
using CLinkList = CEdgeList<CLink>;

using CTaxClArray = CVector<CTaxCl *>;
using CTaxRootArray = CVector<CTaxRoot *>;

using CNodeHTable = CHashTable<CNode *>;
using CTaxClHTable = CHashTable<CTaxCl *>;
using CTaxRootHTable = CHashTable<CTaxRoot *>;

using CNodeStack = CStack<CNode *>;
using CNodeQueue = CQueue<CNode *>;
using CTaxClQueue = CQueue<CTaxCl *>;
