// Explanations as plain text, for the console and the reports.
//
// One line per fact, indented by two spaces under a heading line, values as
// "%f" and weights of evidence in decibans with their sign ("+9.5 dB"), so
// that a reader sees at a glance which rules pushed a node up and which down.
#pragma once

#include <string>
#include <vector>

#include "explain/how.h"
#include "explain/next_questions.h"
#include "explain/why.h"

namespace quorvin::explain {

std::string HowText(const How &how);
std::string WhyText(const Why &why);
// The next questions of `goal` (the bottom of the call stack) in their order.
std::string NextText(const CNode *goal, const std::vector<NextQuestion> &questions);

}  // namespace quorvin::explain
