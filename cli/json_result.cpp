#include "json_result.h"

#include <nlohmann/json.hpp>

#include "explain/how.h"
#include "explanation_json.h"
#include "json_number.h"
#include "net/inference_net.h"
#include "net/logical_node.h"
#include "net/node.h"

namespace {

const char *KindName(const CNode &node) {
    if (node.kind == CNode::kBayesian) return "bayesian";
    switch (static_cast<const CLogicalNode &>(node).logicalType) {
    case CLogicalNode::kAnd: return "and";
    case CLogicalNode::kOr: return "or";
    default: return "not";
    }
}

nlohmann::ordered_json NodeJson(const CNode &node) {
    return {{"name", node.name.Text()},       {"kind", KindName(node)},         {"goal", node.goal},
            {"askable", node.askable},        {"prior", ExactJsonNumber(node.prior)},     {"current", ExactJsonNumber(node.current)},
            {"asked", node.asked},            {"finished", node.finished}};
}

}  // namespace

nlohmann::ordered_json GoalJson(const CNode &goal, CTable *table, bool explained) {
    nlohmann::ordered_json json = {{"name", goal.name.Text()},
                                   {"prior", ExactJsonNumber(goal.prior)},
                                   {"current", ExactJsonNumber(goal.current)}};
    if (explained) json["explanation"] = ExplanationJson(quorvin::explain::ExplainHow(goal, table));
    return json;
}

std::string ResultJson(const RunOutcome &outcome, const CInferenceNet *net, CTable *table) {
    nlohmann::ordered_json result;
    result["status"] = outcome.status;
    result["statusText"] = outcome.statusText;
    result["lastError"] = outcome.lastError.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(outcome.lastError);
    result["goals"] = nlohmann::ordered_json::array();
    result["nodes"] = nlohmann::ordered_json::array();
    if (net != nullptr) {
        for (int32_t i = 0; i < net->goals.Count(); ++i) result["goals"].push_back(GoalJson(*net->goals.At(i), table));
        for (int32_t i = 0; i < net->nodes.Count(); ++i) result["nodes"].push_back(NodeJson(*net->nodes.At(i)));
    }
    // Names are single bytes of any code page; bytes that are not UTF-8 are
    // replaced rather than failing the whole file.
    return result.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
