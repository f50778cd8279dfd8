#include "retrieval/number_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view text, size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// The length of the number at the start of `text`: [sign] digits [mark
// digits] [exponent], with at least one digit before the exponent; 0 when
// there is none. The exponent counts only when digits follow its letter.
size_t NumberLength(std::string_view text) {
    size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    const size_t integerStart = at;
    at = SkipDigits(text, at);
    size_t digits = at - integerStart;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        const size_t fractionStart = at + 1;
        const size_t fractionEnd = SkipDigits(text, fractionStart);
        digits += fractionEnd - fractionStart;
        if (digits > 0) at = fractionEnd;
    }
    if (digits == 0) return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        const size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) at = exponentEnd;
    }
    return at;
}

// Converts a text that NumberLength accepted in full.
bool Convert(std::string_view text, double &number) {
    std::string plain(text);
    for (char &c : plain)
        if (c == ',') c = '.';
    const char *first = plain.c_str();
    if (*first == '+') ++first;  // from_chars takes no plus sign
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, plain.c_str() + plain.size(), value);
    if (error != std::errc() || end != plain.c_str() + plain.size()) return false;
    if (!std::isfinite(static_cast<float>(value))) return false;
    number = value;
    return true;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

}  // namespace

bool StrictReal(const CString &text, double &number) {
    std::string_view body = WithoutLeadingBlanks(text.Text());
    while (!body.empty() && IsBlank(body.back())) body.remove_suffix(1);
    if (body.empty() || NumberLength(body) != body.size()) return false;
    return Convert(body, number);
}

bool LeadingReal(const CString &text, double &number) {
    const std::string_view body = WithoutLeadingBlanks(text.Text());
    const size_t length = NumberLength(body);
    if (length == 0) return false;
    return Convert(body.substr(0, length), number);
}
