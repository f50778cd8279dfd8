#include "foundation/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsBlank(char c, CNumberBlanks blanks) {
    switch (blanks) {
    case CNumberBlanks::None: return false;
    case CNumberBlanks::SpaceOrTab: return c == ' ' || c == '\t';
    case CNumberBlanks::Any: return c == ' ' || (c >= '\t' && c <= '\r');
    }
    return false;
}

size_t SkipBlanks(std::string_view text, size_t at, CNumberBlanks blanks) {
    while (at < text.size() && IsBlank(text[at], blanks)) ++at;
    return at;
}

bool IsDigit(char c, bool hexadecimal) {
    if (c >= '0' && c <= '9') return true;
    return hexadecimal && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// The parts of a number found in a text, enough to convert it and to tell
// which way it left the range of a double.
struct Digits {
    size_t begin = 0;   // the mantissa (after the sign and any "0x")
    size_t end = 0;     // the end of the number; equal to begin when there is none
    bool hexadecimal = false;
    // The place of the first non-zero digit (1 for the units, 0 for the first
    // digit after the mark, -1 for the next ...), in bits for a hexadecimal
    // number, plus the exponent. Its sign tells a number too large from one
    // too small, so the exponent may saturate.
    int64_t magnitude = 0;
};

// Reads [digits] [mark [digits]] with at least one digit, then an exponent
// when a digit follows its letter (and sign): "e" for decimal, "p" for
// hexadecimal numbers, whose exponent is one of 2 but itself decimal.
Digits ScanDigits(std::string_view text, size_t at, bool hexadecimal, bool decimalComma) {
    Digits found;
    found.begin = found.end = at;
    found.hexadecimal = hexadecimal;
    int64_t place = 0;
    bool nonZero = false;
    size_t digits = 0;
    for (; at < text.size() && IsDigit(text[at], hexadecimal); ++at, ++digits) {
        nonZero = nonZero || text[at] != '0';
        if (nonZero) ++place;
    }
    if (at < text.size() && (text[at] == '.' || (decimalComma && text[at] == ','))) {
        size_t fraction = at + 1;
        for (; fraction < text.size() && IsDigit(text[fraction], hexadecimal); ++fraction, ++digits) {
            if (nonZero) continue;
            nonZero = text[fraction] != '0';
            if (!nonZero) --place;
        }
        at = fraction;
    }
    if (digits == 0) return found;
    const int64_t digitScale = hexadecimal ? 4 : 1;
    found.magnitude = place * digitScale;
    found.end = at;
    const char letter = hexadecimal ? 'p' : 'e';
    if (at >= text.size() || (text[at] | 0x20) != letter) return found;
    size_t exponent = at + 1;
    const bool negative = exponent < text.size() && text[exponent] == '-';
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    constexpr int64_t kHuge = int64_t{1} << 40;
    int64_t power = 0;
    size_t end = exponent;
    for (; end < text.size() && IsDigit(text[end], false); ++end)
        power = std::min(kHuge, power * 10 + (text[end] - '0'));
    if (end == exponent) return found;
    found.end = end;
    found.magnitude += negative ? -power : power;
    return found;
}

// "0x" and at least one hexadecimal digit; otherwise the text is read as a
// decimal number, which is the "0" before the "x".
Digits ScanNumber(std::string_view text, size_t at, const CNumberRules &rules) {
    const bool prefix = at + 1 < text.size() && text[at] == '0' && (text[at + 1] | 0x20) == 'x';
    if (rules.hexadecimal && prefix) {
        Digits hex = ScanDigits(text, at + 2, true, rules.decimalComma);
        if (hex.end > hex.begin) return hex;
    }
    return ScanDigits(text, at, false, rules.decimalComma);
}

// Converts a number ScanNumber found, with from_chars, which knows no locale.
// It leaves a value outside the doubles unset, where the C library gives
// infinity for one too large and 0 for one too small; the magnitude says
// which it is.
double Convert(std::string_view text, const Digits &number, bool &outOfRange) {
    std::string_view mantissa = text.substr(number.begin, number.end - number.begin);
    std::string pointed;
    if (mantissa.find(',') != std::string_view::npos) {
        pointed.assign(mantissa);
        for (char &c : pointed)
            if (c == ',') c = '.';
        mantissa = pointed;
    }
    double value = 0.0;
    const auto format = number.hexadecimal ? std::chars_format::hex : std::chars_format::general;
    const auto result = std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), value, format);
    outOfRange = result.ec == std::errc::result_out_of_range;
    if (outOfRange) return number.magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

// "inf", "infinity", "nan" or "nan(...)"; from_chars reads them as strtod does.
std::optional<double> ReadName(std::string_view text, size_t at, size_t &end) {
    const char first = static_cast<char>(text[at] | 0x20);
    if (first != 'i' && first != 'n') return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (result.ec != std::errc()) return std::nullopt;
    end = static_cast<size_t>(result.ptr - text.data());
    return value;
}

bool InRange(double value, bool outOfRange, CNumberRange range) {
    switch (range) {
    case CNumberRange::Double: return true;
    case CNumberRange::FiniteDouble: return std::isfinite(value);
    case CNumberRange::Float: return !outOfRange && std::isfinite(static_cast<float>(value));
    }
    return false;
}

}  // namespace

std::optional<double> ReadReal(std::string_view text, const CNumberRules &rules) {
    size_t at = SkipBlanks(text, 0, rules.blanksBefore);
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    if (at >= text.size()) return std::nullopt;
    size_t end = at;
    bool outOfRange = false;
    std::optional<double> value;
    if (rules.names) value = ReadName(text, at, end);
    if (!value) {
        const Digits number = ScanNumber(text, at, rules);
        if (number.end == number.begin) return std::nullopt;
        end = number.end;
        value = Convert(text, number, outOfRange);
    }
    if (negative) value = -*value;
    if (!InRange(*value, outOfRange, rules.range)) return std::nullopt;
    if (rules.wholeText && SkipBlanks(text, end, rules.blanksAfter) != text.size()) return std::nullopt;
    return value;
}

std::optional<int32_t> LeadingInteger(std::string_view text, CNumberBlanks blanksBefore) {
    size_t at = SkipBlanks(text, 0, blanksBefore);
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    // from_chars would take a second minus sign.
    if (at >= text.size() || !IsDigit(text[at], false)) return std::nullopt;
    // Read into 64 bits, -2147483648 needs no case of its own.
    int64_t magnitude = 0;
    const auto result = std::from_chars(text.data() + at, text.data() + text.size(), magnitude);
    if (result.ec == std::errc::result_out_of_range) magnitude = std::numeric_limits<int64_t>::max();
    const int64_t value = negative ? -magnitude : magnitude;
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(value, kMin, kMax));
}
