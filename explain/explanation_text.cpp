#include "explain/explanation_text.h"

#include <cstdarg>
#include <cstdio>

#include "explain/weight_of_evidence.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/net_constants.h"
#include "net/node.h"

namespace quorvin::explain {

namespace {

// Appends one formatted line; explanation lines are short, and a longer one
// (a long node name) is cut rather than overrun.
void Line(std::string &text, const char *format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    text += buffer;
    text += '\n';
}

const char *Name(const CNode *node) { return node != nullptr ? node->name.Text() : "(none)"; }

const char *LogicalName(uint8_t type) {
    switch (type) {
        case CLogicalNode::kAnd: return "and (the smallest source)";
        case CLogicalNode::kOr: return "or (the largest source)";
        default: return "not (the complement of its source)";
    }
}

void BayesLines(std::string &text, const BayesAccount &account) {
    if (!account.updated) {
        Line(text, "  no evidence has reached it yet: it has its prior");
        return;
    }
    Line(text, "  odds: prior %f, current %f", account.priorOdds, account.currentOdds);
    for (const RuleEvidence &rule : account.rules) {
        Line(text, "  %+.1f dB from %s (prior %f, current %f; P(H|E) %f, P(H|not E) %f): ratio %f%s",
             Decibans(rule.weight), Name(rule.source), rule.sourcePrior, rule.sourceCurrent, rule.pYes, rule.pNo,
             rule.ratio, rule.capped ? ", product held at 99999" : "");
    }
    if (account.ceilingReached) Line(text, "  the odds were held at the ceiling %.0f", kOddsCeiling);
}

void LogicalLines(std::string &text, const LogicalAccount &account) {
    Line(text, "  %s", LogicalName(account.logicalType));
    if (account.deciding == nullptr) {
        Line(text, "  it has no sources");
        return;
    }
    Line(text, "  decided by %s (current %f)", Name(account.deciding), account.deciding->current);
    for (const CNode *other : account.others) Line(text, "  also %s (current %f)", Name(other), other->current);
}

void AnswerLines(std::string &text, const AnswerAccount &answer) {
    if (!answer.kept) {
        Line(text, "  it was answered; the answer itself was not kept");
        return;
    }
    Line(text, "  answered \"%s\" through %s", answer.given.c_str(), answer.retriever.c_str());
    if (answer.translation == 0)
        Line(text, "  %s made it %f", answer.translator.c_str(), answer.translated);
    else
        Line(text, "  %s could not translate it (code %d)", answer.translator.c_str(), answer.translation);
}

}  // namespace

std::string HowText(const How &how) {
    std::string text;
    Line(text, "How %s got its value:", Name(how.node));
    Line(text, "  prior %f, current %f", how.prior, how.current);
    if (how.answer.asked) AnswerLines(text, how.answer);
    // An answered node took its value from the answer; only evidence that
    // reached it afterwards is worth a word.
    if (how.bayesian && how.answer.asked && !how.bayes.updated) return text;
    if (how.bayesian)
        BayesLines(text, how.bayes);
    else
        LogicalLines(text, how.logical);
    return text;
}

std::string WhyText(const Why &why) {
    std::string text;
    if (why.asked == nullptr) {
        Line(text, "Nothing is being investigated.");
        return text;
    }
    Line(text, "Why %s is asked:", Name(why.asked));
    Line(text, "  goal %s (current %f)", Name(why.goal), why.goal->current);
    for (const WhyStep &step : why.steps) {
        if (step.next == nullptr) break;
        if (step.link != nullptr) {
            if (step.link->isPriority) {
                Line(text, "  %s waits for %s (priority link)", Name(step.node), Name(step.link->source));
            } else {
                const auto *context = static_cast<const CContextLink *>(step.link);
                Line(text, "  %s needs %s within [%f, %f] (context link)", Name(step.node), Name(context->source),
                     context->low, context->high);
            }
            continue;
        }
        Line(text, "  %s: its sources score", Name(step.node));
        for (const Candidate &candidate : step.candidates)
            Line(text, "    %s %f%s", Name(candidate.source), candidate.score,
                 candidate.source == step.next ? " (investigated)" : "");
    }
    return text;
}

std::string NextText(const CNode *goal, const std::vector<NextQuestion> &questions) {
    std::string text;
    if (goal == nullptr) {
        Line(text, "Nothing is being investigated.");
        return text;
    }
    Line(text, "Next questions for %s (current %f):", Name(goal), goal->current);
    if (questions.empty()) Line(text, "  none");
    for (const NextQuestion &question : questions)
        Line(text, "  %s %f: if yes %f, if no %f", Name(question.node), question.score, question.goalIfYes,
             question.goalIfNo);
    return text;
}

}  // namespace quorvin::explain
