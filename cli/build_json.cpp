#include "build_json.h"

#include <nlohmann/json.hpp>

#include "net/inference_net.h"
#include "net/node.h"

namespace {

using nlohmann::ordered_json;

ordered_json PlaceNumber(int32_t value, const CSourcePlace &place) {
    return place.line > 0 ? ordered_json(value) : ordered_json();
}

ordered_json ErrorJson(const CDiagnostic &error) {
    return {{"line", PlaceNumber(error.place.line, error.place)},
            {"column", PlaceNumber(error.place.column, error.place)},
            {"endColumn", PlaceNumber(error.place.endColumn, error.place)},
            {"message", error.message},
            {"detail", error.detail}};
}

}  // namespace

std::string BuildJson(bool ok, const std::vector<std::string> &lines, const std::optional<CDiagnostic> &error,
                      const CInferenceNet *net) {
    ordered_json result;
    result["ok"] = ok;
    result["lines"] = lines;
    result["errors"] = ordered_json::array();
    if (error) result["errors"].push_back(ErrorJson(*error));
    result["nodes"] = ordered_json::array();
    result["goals"] = ordered_json::array();
    for (int32_t i = 0; net != nullptr && i < net->nodes.Count(); ++i) {
        const CNode *node = net->nodes.At(i);
        result["nodes"].push_back(node->name.Text());
        if (node->goal) result["goals"].push_back(node->name.Text());
    }
    // Names are single bytes of any code page; bytes that are not UTF-8 are
    // replaced rather than failing the whole file.
    return result.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}
