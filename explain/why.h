// Why: the account of the question the net is about to ask.
//
// The net reaches a question by descending from the goal at the bottom of its
// call stack: at each node a link may send it to that link's source first,
// otherwise it takes the unfinished source of the highest score. The account
// repeats that choice at every node of the call stack, with the candidates
// and their scores, and sets it beside the node the net actually went to
// next, so that a front end can show the path and a test can hold the two
// together. Computing it changes nothing: scores only read the net.
#pragma once

#include <vector>

class CInferenceNet;
class CLink;
class CNode;
class CRule;

namespace quorvin::explain {

// One unfinished source of a node, and what it scores as a way there.
struct Candidate {
    const CNode *source = nullptr;
    const CRule *rule = nullptr;
    float score = 0.0f;
};

// One node of the descent.
struct WhyStep {
    const CNode *node = nullptr;
    // The link that sends the net to its source before anything else: a
    // context link whose interval the source's value has left, or a priority
    // link from an unfinished source. Null when the sources' scores decide.
    const CLink *link = nullptr;
    std::vector<Candidate> candidates;  // in rule order
    const CNode *chosen = nullptr;      // where the net's rules send it; null at a question
    const CNode *next = nullptr;        // where the call stack says it went; null at the top
};

struct Why {
    const CNode *goal = nullptr;    // bottom of the call stack
    const CNode *asked = nullptr;   // top of the call stack
    std::vector<WhyStep> steps;     // goal first, the asked node last
};

// The account of the net's call stack; empty between investigations. The
// net is not const only because a node's score is not.
Why ExplainWhy(CInferenceNet &net);

// The choice of the net at one node: the steering link, or the candidates.
WhyStep ExplainStep(CNode &node);

}  // namespace quorvin::explain
