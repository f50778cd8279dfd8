// CAnswerMap: answers to text questions from a map of name to line, as a
// case of a stream or a program that embeds the core gives them.
//
// A question is answered with the line stored under its name. What the map
// does not answer - a name without a line, a question asked again after its
// line was refused - goes to the fallback answerer when there is one (a
// person, a callback). Without one a missing line is "Don't know" (the empty
// line), and a refused line ends the consultation, with Refusal() saying
// which line was refused and why: nobody is there to ask again.
#pragma once

#include <map>
#include <string>

#include "consult/text_questions.h"

class CAnswerMap : public ITextAnswerer {
public:
    // Neither is owned; `fallback` may be null.
    explicit CAnswerMap(const std::map<std::string, std::string> &answers, ITextAnswerer *fallback = nullptr)
        : answers(answers), fallback(fallback) {}

    bool Answer(const CTextQuestion &question, std::string &line) override;

    // Why the consultation was ended over a refused line; empty when it
    // was not.
    const std::string &Refusal() const { return refusal; }

private:
    const std::map<std::string, std::string> &answers;
    ITextAnswerer *fallback;
    std::string refusal;
};
