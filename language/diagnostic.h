// CDiagnostic: what a build refused, and where, for editors and scripts.
//
// The build's error line ("[Error at line N] message") stays as it always
// was; the diagnostic adds the cause and the place: the line and the first
// and one-past-last column of the offending token, counting characters
// (single bytes) from 1. Its detail is printed as the line after the error
// line, indented by two spaces ("  column 12: no node named "petrol_smel"").
#pragma once

#include <cstdint>
#include <string>

struct CSourcePlace {
    int32_t line = 0;  // 0: no place in the source (a consistency problem)
    int32_t column = 0;
    int32_t endColumn = 0;
};

struct CDiagnostic {
    CSourcePlace place;
    std::string message;  // the error line's message, as the build printed it
    std::string detail;   // the cause, without the place
};

// The detail line of the build output: two spaces, the place when there is
// one ("column C: " on the error's own line, "line L, column C: " on
// another), then the detail.
std::string DetailLine(const CDiagnostic &diagnostic, int32_t errorLine);
