// Text mode: the wording and the answer readers of the questions on a
// console.
//
// A console front end asks the same questions as the desktop windows, as
// text: it prints the question's help line and prompt (the choice and
// taxonomy questions also list their options), reads one line and hands it to
// the window interface it implements, as described in each window's header.
// The texts of the probability, certainty, exact-value and choice questions
// are the system's fixed console texts; "%s" stands for the node's
// description (the parameter's name, the taxonomy's name).
//
// Order of printing: a rejection message of the last answer (if any) on a
// line of its own; then for the choice question the prompt, the numbered
// options, the help line and ">"; for the taxonomy question the class tree,
// the help line and the prompt; for every other question the help line and
// the prompt, which ends with ">".
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"
#include "ui/taxonomy_class_dialog.h"

enum class TQuestionKind { probability, certainty, exactValue, interval, choice, parameter, taxonomy };

// Wording
// The prompt with `subject` in the place of "%s".
CString TextPrompt(TQuestionKind kind, const CString &subject);
// The help line, which ends with a line feed.
CString TextHelpLine(TQuestionKind kind);
// The options numbered from 1, one per line: "  1. red\n  2. green\n".
CString ChoiceListing(const CStringVector &options);
// The class tree, one class per line, indented by two blanks per level below
// the root: "  Diseases\n    Viral\n      Flu\n".
CString TaxonomyTreeListing(const CTaxonomyTree &tree);

// Reading typed answers
// True when the line holds nothing but blanks and tabs: "Don't know".
bool IsBlankLine(const CString &line);
// The certainty factor a line stands for: "y" or "yes" 5, "n" or "no" -5 (in
// any case), or a whole number written with an optional sign; surrounding
// blanks are ignored. Anything else is not a number (NaN), which the
// question refuses, as it refuses whole numbers outside -5..5.
float CertaintyFromText(const CString &line);
// The zero-based option a line stands for: the number n (from 1) stands for
// option n, or the text of an option (in any case); surrounding blanks are
// ignored. -1 when the line is neither; a number beyond the options gives a
// position that the question refuses.
int32_t ChoiceFromText(const CString &line, const CStringVector &options);
// Splits an interval answer "FROM TO [CF]" at blanks, tabs or ";": the first
// two words are the From and To texts, the rest of the line (trimmed) the
// certainty factor's text. Missing parts are empty.
void SplitIntervalAnswer(const CString &line, CString &from, CString &to, CString &certainty);
