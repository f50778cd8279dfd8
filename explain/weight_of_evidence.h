// Weights of evidence: the logarithm of a likelihood ratio.
//
// The model keeps weights as natural logarithms, so that a node's log-odds
// are its prior's log-odds plus the weights of its rules; texts show them in
// decibans (ten times the base-10 logarithm), the unit people read best.
#pragma once

#include <cmath>

namespace quorvin::explain {

inline double WeightOfEvidence(double ratio) { return std::log(ratio); }

inline double Decibans(double weight) { return 10.0 * weight / std::log(10.0); }

// Log-odds of stored odds; -infinity for odds of zero.
inline double LogOdds(double odds) { return std::log(odds); }

}  // namespace quorvin::explain
