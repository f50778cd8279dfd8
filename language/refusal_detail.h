// The causes the compiler gives, in words, when it refuses a knowledge base.
//
// They name what the user wrote, so that the fix is plain: the token found
// where something else was expected, the node name that is not defined,
// the number out of its range, the definition that came first.
#pragma once

#include <string>

#include "foundation/token.h"

// "found the name "x"", "found "}"", "found the end of the file", ...
std::string FoundText(TToken token, const char *text);
// "no node named "x""
std::string NoNodeNamed(const std::string &name);
// "P(H|E) 1.3 is outside [0, 1]"
std::string OutsideZeroToOne(const std::string &what, double value);
// ""x" is already defined at line 12"
std::string AlreadyDefined(const std::string &what, int line);
