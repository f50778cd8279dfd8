// The explanations of the core (explain/) as rich text for the desktop.
//
// The console reads the accounts as lines of text; a window can do better
// with the same facts: a node's prior and current value side by side, its
// rules as a table ordered by weight, each weight in decibans with its sign
// and coloured by the way it pushed, the deciding source of a logical node
// in bold, and the descent to a question as an indented path. The texts are
// HTML fragments for a QTextBrowser; names are escaped.
#pragma once

#include <QString>
#include <vector>

#include "explain/how.h"
#include "explain/next_questions.h"
#include "explain/why.h"

QString HowHtml(const quorvin::explain::How &how);
QString WhyHtml(const quorvin::explain::Why &why);

// A value as the lists show it ("%f").
QString ValueText(double value);
// A weight of evidence (natural logarithm) in decibans with its sign: "+9.5 dB".
QString DecibanText(double weight);
