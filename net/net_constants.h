// The numbers shared by every computation of the inference net.
//
// Stored values (probabilities, odds, rule weights) are 32-bit floats;
// arithmetic runs in double and is rounded to float where a value is stored.
// The tolerance is a float, because it is compared against stored floats and
// used as their floor; the other limits are doubles, because they are compared
// against double intermediates.
#pragma once

namespace quorvin {

// Tolerance for testing a value against 0 or 1 in the odds arithmetic; also
// the floor of likelihood ratios and of the terms of a score.
inline constexpr float kEpsilon = 0.00001f;

// Stands for infinite odds; also the cap of likelihood products.
inline constexpr double kOddsCeiling = 99999.0;

// A recomputed value counts as changed only when it moved by more than this.
inline constexpr double kChangeThreshold = 0.001;

// A goal is selectable only while its current value is at least this.
inline constexpr double kGoalThreshold = 0.0;

// A value at or above this is a definite yes for taxonomy spreading.
inline constexpr float kYesThreshold = 0.999f;

// A value at or below this is a definite no for taxonomy spreading.
inline constexpr float kNoThreshold = 0.001f;

}  // namespace quorvin
