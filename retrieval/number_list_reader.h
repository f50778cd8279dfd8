// Reading lists of numbers from a knowledge base, for the translators whose
// clauses hold point tables and option probabilities.
//
// A list is a run of Number tokens with optional commas between them: after
// each number one "," is skipped if present, so "1 2 3", "1, 2, 3" and
// "1, 2, 3," read alike. Anything else before the closing ")" (another
// token, a second comma, the end of the source, a lexical fault) fails the
// list. Numbers are stored as 32-bit reals; one that does not fit a 32-bit
// real (it would become infinite) fails the list too.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/string_collections.h"

class ITokenReader;

// Reads numbers from the current token up to the next ")", which is left
// current. 0, or 2 on a token that is not a number.
int32_t ReadNumbersUpToParen(ITokenReader *compiler, CFloatVector &numbers);

// Reads "( numbers )": the current token must be "("; the closing ")" is
// left current. 0, or 2.
int32_t ReadParenthesisedNumbers(ITokenReader *compiler, CFloatVector &numbers);

// True when every number lies in [0, 1].
bool AllProbabilities(const CFloatVector &numbers);

// An exact-sized copy of the numbers.
std::vector<float> CopyOfNumbers(const CFloatVector &numbers);
