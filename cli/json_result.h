// The final state of a console run as JSON, for scripts and tests:
//
//   {"status": "ok" | "error" | "aborted" | "build_failed",
//    "statusText": the last status text shown,
//    "lastError": the error text reported, or null,
//    "goals": [{"name", "prior", "current", "explanation"}, ...]
//                                                     in their final order,
//    "nodes": [{"name", "kind", "goal", "askable", "prior", "current",
//               "asked", "finished"}, ...]             in declaration order}
//
// "kind" is "bayesian", "and", "or" or "not". Values are the stored 32-bit
// floats, written with nine significant digits so that they read back to the
// same float. After a failed build the lists are empty and "lastError" is the
// build's error line. "explanation" is the goal's How
// (explanation_json.h).
#pragma once

#include <string>

#include <nlohmann/json.hpp>

class CInferenceNet;
class CNode;
class CTable;

struct RunOutcome {
    std::string status;      // "ok", "error", "aborted", "build_failed"
    std::string statusText;  // the last status text
    std::string lastError;   // empty when there was none
};

// The JSON text of an outcome; `net` may be null (no lists), `table` too
// (answers are then not explained).
std::string ResultJson(const RunOutcome &outcome, const CInferenceNet *net, CTable *table);
// One goal as in "goals": name, prior, current, and, when `explained`,
// its explanation.
nlohmann::ordered_json GoalJson(const CNode &goal, CTable *table, bool explained = true);
