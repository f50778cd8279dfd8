#include "language/diagnostic.h"

std::string DetailLine(const CDiagnostic &diagnostic, int32_t errorLine) {
    std::string line = "  ";
    const CSourcePlace &place = diagnostic.place;
    if (place.line > 0) {
        if (place.line != errorLine) line += "line " + std::to_string(place.line) + ", ";
        line += "column " + std::to_string(place.column) + ": ";
    }
    return line + diagnostic.detail;
}
