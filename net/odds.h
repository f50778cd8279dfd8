// Odds of a probability, as the inference net computes them everywhere: a
// probability within the tolerance of 1 has the odds ceiling, since its true
// odds are infinite or unreasonably large.
#pragma once

#include <cmath>

#include "net/net_constants.h"

namespace quorvin {

inline double CappedOdds(double probability) {
    if (std::fabs(1.0 - probability) < kEpsilon) return kOddsCeiling;
    return probability / (1.0 - probability);
}

}  // namespace quorvin
