#include "net/inf_tax_net.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "net/params.h"
#include "net/net_constants.h"
#include "net/node.h"
#include "net/rule.h"
#include "net/evidence_source.h"
#include "net/cycle_path.h"
#include "net/taxonomy_class.h"

CInfTaxNet::CInfTaxNet()
    : selectedCount(0), yesThreshold(quorvin::kYesThreshold), noThreshold(quorvin::kNoThreshold) {}

CInfTaxNet::~CInfTaxNet() {
    for (int32_t i = 0; i < allClasses.Count(); ++i) delete allClasses.At(i);
    for (int32_t i = 0; i < nodes.Count(); ++i) nodes.At(i)->classes.Reset();
}

// ---------------------------------------------------------------- building

int32_t CInfTaxNet::AddTaxonomy(const CString &taxonomyName, uint8_t taxonomyType) {
    if (taxonomyType > CTaxRoot::kHiddenYes) return 2;
    if (taxonomyName.IsEmpty() || FindClass(taxonomyName) != nullptr) return 2;
    auto *root = new CTaxRoot(taxonomyName, taxonomyType);
    roots.Add(root);
    allClasses.Add(root);
    rootIndex.Insert(taxonomyName, root);
    classIndex.Insert(taxonomyName, root);
    return 0;
}

int32_t CInfTaxNet::AddClass(const CString &parentName, const CString &className) {
    if (className.IsEmpty() || FindClass(className) != nullptr) return 2;
    CTaxCl *parent = FindClass(parentName);
    if (parent == nullptr) return 2;
    auto *taxClass = new CTaxCl(className, parent->root, parent);
    allClasses.Add(taxClass);
    classIndex.Insert(className, taxClass);
    parent->subclasses.Add(taxClass);
    return 0;
}

int32_t CInfTaxNet::AddNodeToClass(const CString &className, const CString &nodeName) {
    CTaxCl *taxClass = FindClass(className);
    CNode *node = FindNode(nodeName);
    if (taxClass == nullptr || node == nullptr) return 2;
    taxClass->members.Add(node);
    node->classes.Add(taxClass);
    return 0;
}

CTaxCl *CInfTaxNet::FindClass(const CString &className) { return classIndex.Find(className); }

// ---------------------------------------------------------------- selection

int32_t CInfTaxNet::SelectClass(const CString &className) {
    CTaxCl *picked = FindClass(className);
    if (picked == nullptr || picked->root->taxonomyType != CTaxRoot::kHypothesis) return 2;
    // A node that is a member of several classes of the picked subtree is
    // counted once: it lies in the subtree, whatever its other classes.
    std::unordered_set<const CNode *> counted;
    walkQueue.Put(picked);
    CTaxCl *taxClass = nullptr;
    while (walkQueue.Take(taxClass)) {
        for (int32_t i = 0; i < taxClass->members.Count(); ++i) {
            CNode *member = taxClass->members.At(i);
            if (counted.insert(member).second) ++member->selectionCount;
        }
        for (int32_t i = 0; i < taxClass->subclasses.Count(); ++i) walkQueue.Put(taxClass->subclasses.At(i));
    }
    ++selectedCount;
    return 0;
}

int32_t CInfTaxNet::ApplySelection() {
    for (int32_t i = 0; i < nodes.Count(); ++i) {
        CNode *node = nodes.At(i);
        node->enabled = node->selectionCount == selectedCount;
        node->selectionCount = 0;
    }
    selectedCount = 0;
    return 0;
}

// ---------------------------------------------------------------- checking

int32_t CInfTaxNet::Check() {
    const int32_t code = CInferenceNet::Check();
    if (code != 0) return code;
    checkMessage = CheckIICG();
    return checkMessage.IsEmpty() ? 0 : 2;
}

CString CInfTaxNet::CheckIICG() {
    // The graph has an edge along every rule and from every member of a
    // subclass to every member of its parent class. Those class edges form a
    // complete bipartite graph per subclass, so they pass through one hub
    // vertex per subclass instead (members of S -> hub(S) -> members of the
    // parent): the same paths, hence the same cycles, in linear size.
    std::unordered_map<const CTaxCl *, int32_t> hubOf;
    std::vector<CTaxCl *> hubs;
    std::vector<int32_t> hubInDegree;
    for (int32_t i = 0; i < nodes.Count(); ++i) {
        nodes.At(i)->inDegree = 0;
        nodes.At(i)->removed = false;
    }
    for (int32_t i = 0; i < rules.Count(); ++i) ++rules.At(i)->target->inDegree;
    for (int32_t i = 0; i < allClasses.Count(); ++i) {
        CTaxCl *subclass = allClasses.At(i);
        if (subclass->parent == nullptr) continue;
        hubOf.emplace(subclass, static_cast<int32_t>(hubs.size()));
        hubs.push_back(subclass);
        hubInDegree.push_back(subclass->members.Count());
        const CNodeArray &parentMembers = subclass->parent->members;
        for (int32_t m = 0; m < parentMembers.Count(); ++m) ++parentMembers.At(m)->inDegree;
    }

    // Kahn's elimination over nodes and hubs; a vertex is ready once nothing
    // leads into it any more.
    struct Vertex {
        CNode *node;  // or null for a hub
        int32_t hub;
    };
    // Every vertex becomes ready at most once: reserved whole, the list is
    // never copied while it grows (at the peak of a large build's memory).
    std::vector<Vertex> ready;
    ready.reserve(static_cast<size_t>(nodes.Count()) + hubs.size());
    for (int32_t i = 0; i < nodes.Count(); ++i)
        if (nodes.At(i)->inDegree == 0) ready.push_back({nodes.At(i), -1});
    for (size_t h = 0; h < hubs.size(); ++h)
        if (hubInDegree[h] == 0) ready.push_back({nullptr, static_cast<int32_t>(h)});
    const auto releaseNode = [&ready](CNode *node) {
        if (--node->inDegree == 0 && !node->removed) ready.push_back({node, -1});
    };
    size_t remaining = static_cast<size_t>(nodes.Count()) + hubs.size();
    for (size_t next = 0; next < ready.size(); ++next) {
        const Vertex vertex = ready[next];
        --remaining;
        if (vertex.node == nullptr) {
            const CNodeArray &parentMembers = hubs[vertex.hub]->parent->members;
            for (int32_t m = 0; m < parentMembers.Count(); ++m) releaseNode(parentMembers.At(m));
            continue;
        }
        CNode *node = vertex.node;
        node->removed = true;
        for (const CRule *rule : node->OutRules()) releaseNode(rule->target);
        for (int32_t c = 0; c < node->classes.Count(); ++c) {
            const auto hub = hubOf.find(node->classes.At(c));
            if (hub == hubOf.end()) continue;  // a root: no parent to point to
            if (--hubInDegree[hub->second] == 0) ready.push_back({nullptr, hub->second});
        }
    }
    if (remaining > 0) {
        checkDetail = IICGCycle(hubs, hubOf, hubInDegree);
        return "taxonomy and inference net inconsistent (cycle in IICG)";
    }
    return CString();
}

// Vertices of the IICG as the cycle search sees them: a node (hub -1) or
// the hub of a subclass (node null).
using IICGVertex = std::pair<CNode *, int32_t>;

std::string CInfTaxNet::IICGCycle(const std::vector<CTaxCl *> &hubs,
                                  const std::unordered_map<const CTaxCl *, int32_t> &hubOf,
                                  const std::vector<int32_t> &hubInDegree) {
    CNode *start = nullptr;
    for (int32_t i = 0; i < nodes.Count() && start == nullptr; ++i)
        if (!nodes.At(i)->removed) start = nodes.At(i);
    if (start == nullptr) return "";
    // Into a node lead rules and the hubs of its classes' subclasses; into a
    // hub, the members of its subclass.
    const auto predecessor = [&](const IICGVertex &vertex) -> std::optional<IICGVertex> {
        if (vertex.first == nullptr) {
            const CNodeArray &members = hubs[vertex.second]->members;
            for (int32_t m = 0; m < members.Count(); ++m)
                if (!members.At(m)->removed) return IICGVertex{members.At(m), -1};
            return std::nullopt;
        }
        const CNode *node = vertex.first;
        for (const CRule *rule : node->InRules())
            if (!rule->source->removed) return IICGVertex{rule->source, -1};
        for (int32_t c = 0; c < node->classes.Count(); ++c) {
            const CTaxClArray &subclasses = node->classes.At(c)->subclasses;
            for (int32_t s = 0; s < subclasses.Count(); ++s) {
                const int32_t hub = hubOf.at(subclasses.At(s));
                if (hubInDegree[hub] > 0) return IICGVertex{nullptr, hub};
            }
        }
        return std::nullopt;
    };
    std::vector<IICGVertex> cycle = CycleBehind<IICGVertex>({start, -1}, predecessor);
    if (cycle.empty()) return "";
    if (cycle.front().first == nullptr) std::rotate(cycle.begin(), cycle.begin() + 1, cycle.end());
    return "the rules and classes go round: " + IICGCycleText(cycle, hubs);
}

// "a" -> "b" (rule), "b" -> "a" ("b" is in class "S", "a" in its parent class "P")
std::string CInfTaxNet::IICGCycleText(const std::vector<IICGVertex> &cycle, const std::vector<CTaxCl *> &hubs) {
    const auto quoted = [](const CString &name) { return "\"" + std::string(name.Text()) + "\""; };
    std::string text;
    for (size_t i = 0; i < cycle.size(); ++i) {
        if (cycle[i].first == nullptr) continue;
        const CNode *from = cycle[i].first;
        const IICGVertex &next = cycle[(i + 1) % cycle.size()];
        if (!text.empty()) text += ", ";
        if (next.first != nullptr) {
            text += quoted(from->name) + " -> " + quoted(next.first->name) + " (rule)";
            continue;
        }
        const CTaxCl *subclass = hubs[next.second];
        const CNode *to = cycle[(i + 2) % cycle.size()].first;
        text += quoted(from->name) + " -> " + quoted(to->name) + " (" + quoted(from->name) + " is in class " +
                quoted(subclass->name) + ", " + quoted(to->name) + " in its parent class " +
                quoted(subclass->parent->name) + ")";
    }
    return text;
}

// ---------------------------------------------------------------- consulting

int32_t CInfTaxNet::RetrieveValue(IEvidenceSource *evidence, CNode *node, float &value) {
    const int32_t code = CInferenceNet::RetrieveValue(evidence, node, value);
    if (code != 0) return code;
    SpreadAnswer(node, value);
    return 0;
}

void CInfTaxNet::SpreadAnswer(CNode *node, float value) {
    if (noThreshold < value && value < yesThreshold) return;
    const bool isNo = value <= noThreshold;
    for (int32_t c = 0; c < node->classes.Count(); ++c) {
        CTaxCl *taxClass = node->classes.At(c);
        if (isNo) {
            // A definite no holds for the class and everything below it.
            if (!taxClass->root->SpreadsNo()) continue;
            walkQueue.Put(taxClass);
            CTaxCl *visited = nullptr;
            while (walkQueue.Take(visited)) {
                SpreadTo(visited, node, value);
                for (int32_t s = 0; s < visited->subclasses.Count(); ++s) walkQueue.Put(visited->subclasses.At(s));
            }
        } else {
            // A definite yes holds for the class and everything above it.
            if (!taxClass->root->SpreadsYes()) continue;
            for (CTaxCl *visited = taxClass; visited != nullptr; visited = visited->parent) SpreadTo(visited, node, value);
        }
    }
}

void CInfTaxNet::SpreadTo(CTaxCl *taxClass, CNode *answered, float value) {
    for (int32_t i = 0; i < taxClass->members.Count(); ++i) {
        CNode *member = taxClass->members.At(i);
        if (member == answered) continue;
        member->current = value;
        member->asked = true;
        propagationQueue.Put(member);
    }
}

int32_t CInfTaxNet::Consult(IEvidenceSource *evidence, CParameters *parameters) {
    if (evidence == nullptr || parameters == nullptr) return 2;
    evidence->Context().abortRequested = false;
    evidence->StartRun();
    evidence->Context().faults.Clear();
    if (!parameters->asked) {
        const int32_t code = parameters->AskParameters(evidence);
        if (code != 0) return code;
    }
    // One consultation, or one per batch record; a failed record does not
    // stop the batch, and the last record's result is the result. An abort
    // stops it: the user asked to stop the run, not one record of it.
    bool first = true;
    int32_t result = 0;
    do {
        if (evidence->BatchActive()) {
            if (!first) ResetValues(evidence);
            const int32_t code = evidence->NextBatchRecord(parameters);
            if (code != 0) return code;
            first = false;
        }
        if (allClasses.Count() > 0) {
            const int32_t code = evidence->AskTaxonomy(this);
            if (code != 0) return code;
        }
        result = CInferenceNet::Consult(evidence, parameters);
    } while (evidence->BatchActive() && !evidence->Context().abortRequested);
    // Outputs that could not be written and cases that could not be read do
    // not stop the run, but it did not succeed.
    if (result == 0 && evidence->Context().faults.Any()) result = 2;
    return result;
}
