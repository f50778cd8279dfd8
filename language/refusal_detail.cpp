#include "language/refusal_detail.h"

#include <cstdio>

namespace {

const char *Symbol(TToken token) {
    switch (token) {
        case tokLeftBrace: return "{";
        case tokRightBrace: return "}";
        case tokLeftParen: return "(";
        case tokRightParen: return ")";
        case tokComma: return ",";
        default: return nullptr;
    }
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

std::string FoundText(TToken token, const char *text) {
    if (const char *symbol = Symbol(token)) return std::string("found \"") + symbol + "\"";
    switch (token) {
        case tokEnd: return "found the end of the file";
        case tokError: return "found something that cannot be read: an unclosed text or quoted name, or a stray \"/\"";
        case tokNumber: return std::string("found the number ") + text;
        case tokName: return std::string("found the name \"") + text + "\"";
        case tokText: return std::string("found the text '") + text + "'";
        default: return std::string("found the word \"") + text + "\"";
    }
}

std::string NoNodeNamed(const std::string &name) { return "no node named \"" + name + "\""; }

std::string OutsideZeroToOne(const std::string &what, double value) {
    return what + " " + Number(value) + " is outside [0, 1]";
}

std::string AlreadyDefined(const std::string &what, int line) {
    return what + " is already defined at line " + std::to_string(line);
}
