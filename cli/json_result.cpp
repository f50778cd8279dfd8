#include "json_result.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <nlohmann/json.hpp>

#include "foundation/number_text.h"
#include "net/inference_net.h"
#include "net/logical_node.h"
#include "net/node.h"

namespace {

// The float as the double that its nine-digit text ("%.9g") reads back as,
// so that the JSON shows "0.300000012" rather than every digit of the
// double. Neither step follows the process's locale, so a locale with a
// decimal comma cannot make the text read back as another number.
double Exact(float value) {
    char text[32];
    const double wide = value;
    const auto written = std::to_chars(text, text + sizeof text, wide, std::chars_format::general, 9);
    const std::string_view nineDigits(text, static_cast<size_t>(written.ptr - text));
    return ReadReal(nineDigits, kCLibraryNumber).value_or(0.0);
}

const char *KindName(const CNode &node) {
    if (node.kind == CNode::kBayesian) return "bayesian";
    switch (static_cast<const CLogicalNode &>(node).logicalType) {
    case CLogicalNode::kAnd: return "and";
    case CLogicalNode::kOr: return "or";
    default: return "not";
    }
}

nlohmann::ordered_json GoalJson(const CNode &goal) {
    return {{"name", goal.name.Text()}, {"prior", Exact(goal.prior)}, {"current", Exact(goal.current)}};
}

nlohmann::ordered_json NodeJson(const CNode &node) {
    return {{"name", node.name.Text()},       {"kind", KindName(node)},         {"goal", node.goal},
            {"askable", node.askable},        {"prior", Exact(node.prior)},     {"current", Exact(node.current)},
            {"asked", node.asked},            {"finished", node.finished}};
}

}  // namespace

std::string ResultJson(const RunOutcome &outcome, const CInferenceNet *net) {
    nlohmann::ordered_json result;
    result["status"] = outcome.status;
    result["statusText"] = outcome.statusText;
    result["lastError"] = outcome.lastError.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(outcome.lastError);
    result["goals"] = nlohmann::ordered_json::array();
    result["nodes"] = nlohmann::ordered_json::array();
    if (net != nullptr) {
        for (int32_t i = 0; i < net->goals.Count(); ++i) result["goals"].push_back(GoalJson(*net->goals.At(i)));
        for (int32_t i = 0; i < net->nodes.Count(); ++i) result["nodes"].push_back(NodeJson(*net->nodes.At(i)));
    }
    // Names are single bytes of any code page; bytes that are not UTF-8 are
    // replaced rather than failing the whole file.
    return result.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool WriteResultJson(const std::string &path, const std::string &json, std::string &error) {
    // Every step is checked: a full disk shows only when the buffered text
    // is flushed or the file closed.
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(json.data(), 1, json.size(), out) == json.size() && std::fflush(out) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(out) == 0;
    if (written && closed) return true;
    error = path + ": " + std::strerror(written ? errno : writeError);
    return false;
}
