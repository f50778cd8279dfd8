#include "app/explanation_html.h"

#include "explain/weight_of_evidence.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/net_constants.h"
#include "net/node.h"

using namespace quorvin::explain;

namespace {

// Evidence for a hypothesis reads green, evidence against it red: the sign
// is what a reader scans for first.
constexpr const char *kForColour = "#1a7f37";
constexpr const char *kAgainstColour = "#b3261e";

QString Name(const CNode *node) {
    return node != nullptr ? QString::fromUtf8(node->name.Text()).toHtmlEscaped() : QString("(none)");
}

QString Bold(const QString &text) { return "<b>" + text + "</b>"; }

// Cells keep to one line: a name or a value broken in two reads badly.
QString Cell(const QString &text, bool right = false) {
    return QString("<td style=\"white-space:nowrap\"%1>").arg(right ? " align=\"right\"" : "") + text + "</td>";
}

QString PriorToCurrent(double prior, double current) {
    return ValueText(prior) + " &rarr; " + Bold(ValueText(current));
}

QString SignedWeight(double weight) {
    if (weight == 0.0) return DecibanText(weight);
    return QString("<span style=\"color:%1\">%2</span>").arg(weight > 0 ? kForColour : kAgainstColour,
                                                                DecibanText(weight));
}

QString AnswerHtml(const AnswerAccount &answer) {
    if (!answer.kept) return "<p>It was answered; the answer itself was not kept.</p>";
    QString html = QString("<p>Answered &ldquo;%1&rdquo; through %2")
                       .arg(QString::fromStdString(answer.given).toHtmlEscaped(),
                            Bold(QString::fromStdString(answer.retriever).toHtmlEscaped()));
    const QString translator = QString::fromStdString(answer.translator).toHtmlEscaped();
    if (answer.translation == 0)
        html += QString("; %1 made it %2.</p>").arg(translator, ValueText(answer.translated));
    else
        html += QString("; %1 could not translate it (code %2).</p>").arg(translator).arg(answer.translation);
    return html;
}

QString RuleRow(const RuleEvidence &rule) {
    QString marker = rule.capped ? " <i>(product held at 99999)</i>" : QString();
    return "<tr>" + Cell(SignedWeight(rule.weight), true) + Cell(Bold(Name(rule.source))) +
           Cell(PriorToCurrent(rule.sourcePrior, rule.sourceCurrent)) + Cell(ValueText(rule.pYes), true) +
           Cell(ValueText(rule.pNo), true) + Cell(ValueText(rule.ratio) + marker, true) + "</tr>";
}

QString BayesHtml(const BayesAccount &account) {
    if (!account.updated) return "<p>No evidence has reached it yet: it has its prior.</p>";
    QString html = QString("<p>Odds %1</p>").arg(PriorToCurrent(account.priorOdds, account.currentOdds));
    html += "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\" style=\"border-collapse:collapse\">"
            "<tr>";
    for (const char *heading : {"Weight", "Source", "Source value", "P(H|E)", "P(H|not E)", "Ratio"})
        html += QString("<th style=\"white-space:nowrap\">%1</th>").arg(heading);
    html += "</tr>";
    for (const RuleEvidence &rule : account.rules) html += RuleRow(rule);
    html += "</table>";
    if (account.ceilingReached)
        html += QString("<p>The odds were held at the ceiling %1.</p>").arg(quorvin::kOddsCeiling, 0, 'f', 0);
    return html;
}

QString LogicalKind(uint8_t type) {
    switch (type) {
        case CLogicalNode::kAnd: return "An <i>and</i> node: it takes the smallest of its sources.";
        case CLogicalNode::kOr: return "An <i>or</i> node: it takes the largest of its sources.";
        default: return "A <i>not</i> node: it takes the complement of its source.";
    }
}

QString LogicalHtml(const LogicalAccount &account) {
    QString html = "<p>" + LogicalKind(account.logicalType) + "</p>";
    if (account.deciding == nullptr) return html + "<p>It has no sources.</p>";
    html += QString("<p>Decided by %1 (current %2)</p>").arg(Bold(Name(account.deciding)),
                                                             ValueText(account.deciding->current));
    if (account.others.empty()) return html;
    html += "<ul>";
    for (const CNode *other : account.others)
        html += QString("<li>also %1 (current %2)</li>").arg(Name(other), ValueText(other->current));
    return html + "</ul>";
}

QString LinkStep(const WhyStep &step) {
    if (step.link->isPriority)
        return QString("%1 waits for %2 (priority link)").arg(Bold(Name(step.node)), Bold(Name(step.link->source)));
    const auto *context = static_cast<const CContextLink *>(step.link);
    return QString("%1 needs %2 within [%3, %4] (context link)")
        .arg(Bold(Name(step.node)), Bold(Name(context->source)), ValueText(context->low), ValueText(context->high));
}

QString ScoreStep(const WhyStep &step) {
    QString html = QString("%1: its sources score<ul>").arg(Bold(Name(step.node)));
    for (const Candidate &candidate : step.candidates) {
        const QString line = QString("%1 %2").arg(Name(candidate.source), ValueText(candidate.score));
        html += "<li>" + (candidate.source == step.next ? Bold(line) + " &larr; investigated" : line) + "</li>";
    }
    return html + "</ul>";
}

}  // namespace

QString ValueText(double value) { return QString::asprintf("%f", value); }

QString DecibanText(double weight) { return QString::asprintf("%+.1f dB", Decibans(weight)); }

QString HowHtml(const How &how) {
    QString html = QString("<h3>How %1 got its value</h3>").arg(Name(how.node));
    html += QString("<p>Prior %1</p>").arg(PriorToCurrent(how.prior, how.current));
    if (how.answer.asked) html += AnswerHtml(how.answer);
    html += how.bayesian ? BayesHtml(how.bayes) : LogicalHtml(how.logical);
    return html;
}

QString WhyHtml(const Why &why) {
    if (why.asked == nullptr) return "<p>Nothing is being investigated.</p>";
    QString html = QString("<h3>Why %1 is asked</h3>").arg(Name(why.asked));
    html += QString("<p>Goal %1 (current %2)</p><ol>").arg(Bold(Name(why.goal)), ValueText(why.goal->current));
    for (const WhyStep &step : why.steps) {
        if (step.next == nullptr) break;
        html += "<li>" + (step.link != nullptr ? LinkStep(step) : ScoreStep(step)) + "</li>";
    }
    return html + "</ol>";
}
