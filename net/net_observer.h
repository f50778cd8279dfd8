// INetObserver: told by the inference net whenever it is about to obtain
// evidence for a node, so that a consultation window can follow the
// investigation (the goal, the node, its help page).
#pragma once

class CInferenceNet;
class IEvidenceSource;
class CNode;

class INetObserver {
public:
    virtual ~INetObserver() = default;
    virtual void OnInvestigate(CInferenceNet *net, IEvidenceSource *evidence, CNode *node) = 0;
};
