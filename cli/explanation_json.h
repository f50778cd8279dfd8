// The How of a node as a JSON object, for the console's JSON files:
//
//   {"answer": null | {"given", "retriever", "translator", "translation",
//                      "translated"} | {"kept": false},
//    "bayes": {"updated", "priorOdds", "currentOdds", "ceilingReached",
//              "rules": [{"source", "sourcePrior", "sourceCurrent", "pYes",
//                         "pNo", "ratio", "applied", "weight", "decibans",
//                         "capped"}, ...]}        for a Bayesian node,
//    "logical": {"type", "deciding", "others": [...]}   for a logical node}
//
// The rules come by absolute weight, largest first; "weight" is the natural
// logarithm of "applied", the factor the node's last update applied.
#pragma once

#include <nlohmann/json.hpp>

#include "explain/how.h"

nlohmann::ordered_json ExplanationJson(const quorvin::explain::How &how);
