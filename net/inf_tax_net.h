// CInfTaxNet: the inference net with taxonomies, the net of every build.
//
// Taxonomies are trees of classes whose members are nodes. Before a
// consultation the user may pick classes of the hypothesis taxonomies; only
// goals that are members of every picked class's subtree stay enabled. In the
// hidden taxonomies a definite answer spreads: a yes (at least 0.999) to the
// members of the answered node's classes and all their ancestors, a no (at
// most 0.001) to the members of its classes and all their descendants. The
// class trees also order the nodes (members of a subclass before members of
// its parent), which the IICG check tests together with the rules. A batch
// run consults once per input record.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "net/inference_net.h"
#include "net/taxonomy_class.h"

class CInfTaxNet : public CInferenceNet {
public:
    CInfTaxNet();
    // Destroys every taxonomy and empties the nodes' class lists.
    ~CInfTaxNet() override;

    // Building; 0 on success, 2 when refused
    // A new taxonomy: its root class under `name`; 2 when a class of that
    // name exists.
    int32_t AddTaxonomy(const CString &taxonomyName, uint8_t taxonomyType);
    int32_t AddClass(const CString &parentName, const CString &className);
    int32_t AddNodeToClass(const CString &className, const CString &nodeName);
    CTaxCl *FindClass(const CString &className);

    // Selection of hypotheses
    // Counts one picked class of a hypothesis taxonomy; 2 when the class is
    // missing or of another taxonomy type.
    int32_t SelectClass(const CString &className);
    // Enables exactly the nodes counted for every picked class; 0.
    int32_t ApplySelection();

    // Checking
    int32_t Check() override;
    // The IICG message, or the empty text.
    CString CheckIICG();

    // Consulting
    // Retrieves as the base net does, then spreads a definite answer along
    // the hidden taxonomies.
    int32_t RetrieveValue(IEvidenceSource *evidence, CNode *node, float &value) override;
    // Spreads an answer along the hidden taxonomies when it is definite: the
    // members it reaches take the value and wait in the propagation queue.
    void SpreadAnswer(CNode *node, float value);
    // Asks the parameters, then consults once, or once per batch record,
    // with the taxonomy question before each consultation.
    int32_t Consult(IEvidenceSource *evidence, CParameters *parameters) override;

    CTaxRootArray roots;       // the roots, in creation order
    CTaxClArray allClasses;    // every class including roots, in creation order; owning
    CTaxRootHTable rootIndex;
    CTaxClHTable classIndex;   // class names are unique across all taxonomies
    int32_t selectedCount;
    float yesThreshold;
    float noThreshold;

private:
    // Sets the members of a class other than the answered node to the
    // answered value and queues them for propagation.
    void SpreadTo(CTaxCl *taxClass, CNode *answered, float value);
    // The cycle left over by CheckIICG's elimination, in words, for
    // `checkDetail`: the nodes, with the rule or the class that leads from
    // each to the next.
    std::string IICGCycle(const std::vector<CTaxCl *> &hubs, const std::unordered_map<const CTaxCl *, int32_t> &hubOf,
                          const std::vector<int32_t> &hubInDegree);
    static std::string IICGCycleText(const std::vector<std::pair<CNode *, int32_t>> &cycle,
                                     const std::vector<CTaxCl *> &hubs);

    CTaxClQueue walkQueue;  // breadth-first walks over class trees
};
