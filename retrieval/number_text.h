// Reading numbers that a user typed into a question.
//
// Two readings: a strict one for the probability and exact-value questions
// (the whole text must be one number; blanks around it are allowed) and a
// lenient one for the interval question (the number at the start of the
// text, after blanks; whatever follows is ignored, so "2x" reads 2). Both
// take a point or a comma as the decimal mark ("0,75" is 0.75), whatever the
// process's locale, and accept an exponent ("1e3"). Names such as "inf" or
// "nan", hexadecimal numbers, and numbers a 32-bit real cannot hold (they
// would become infinite) are not numbers. An empty text is not a number.
#pragma once

#include "foundation/cstring.h"

// The whole text as a number; false when it is not one.
bool StrictReal(const CString &text, double &number);

// The number at the start of the text; false when there is none.
bool LeadingReal(const CString &text, double &number);
