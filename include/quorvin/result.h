// What a consultation gives back: its outcome, its goals in their final
// order, and every node in declaration order. Values are the net's stored
// 32-bit floats.
#pragma once

#include <string>
#include <vector>

#include "quorvin/export.h"

namespace quorvin {

enum class Status {
    ok,       // consulted ok
    error,    // the consultation failed, or an answer was refused with nobody to ask again
    aborted,  // the question callback aborted it
    invalid,  // not consulted: an answer names no node, parameter or taxonomy
};

// "ok", "error", "aborted", "invalid".
QUORVIN_API const char *StatusName(Status status);

struct Goal {
    std::string name;
    float prior = 0.0f;    // a-priori value
    float current = 0.0f;  // a-posteriori value
};

enum class NodeKind { bayesian, andNode, orNode, notNode };

struct Node {
    std::string name;
    NodeKind kind = NodeKind::bayesian;
    bool goal = false;
    bool askable = false;
    float prior = 0.0f;
    float current = 0.0f;
    bool asked = false;
    bool finished = false;
};

struct Result {
    Status status = Status::invalid;
    // The last status text ("Done, consulted ok.", "Consultation aborted.").
    std::string statusText;
    // What went wrong, when something did; empty otherwise.
    std::string error;
    // The goals, most probable first as the consultation left them.
    std::vector<Goal> goals;
    // Every node, in declaration order.
    std::vector<Node> nodes;
    // The messages the consultation showed ("Error during consultation !").
    std::vector<std::string> messages;
};

}  // namespace quorvin
