#include "tables/sqlite_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

std::string Upper(std::string text) {
    for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool Holds(const std::string &text, const char *part) { return text.find(part) != std::string::npos; }

// Integral reals that fit 64 bits are stored as integers, as SQLite does.
bool AsInteger(double number, int64_t &integer) {
    constexpr double kLimit = 9.2e18;
    if (number != std::floor(number) || std::fabs(number) > kLimit) return false;
    integer = static_cast<int64_t>(number);
    return true;
}

}  // namespace

CSqliteAffinity AffinityOfType(const std::string &declaredType) {
    std::string type = Upper(declaredType);
    if (Holds(type, "INT")) return CSqliteAffinity::Integer;
    if (Holds(type, "CHAR") || Holds(type, "CLOB") || Holds(type, "TEXT")) return CSqliteAffinity::Text;
    if (type.empty() || Holds(type, "BLOB")) return CSqliteAffinity::Blob;
    if (Holds(type, "REAL") || Holds(type, "FLOA") || Holds(type, "DOUB")) return CSqliteAffinity::Real;
    return CSqliteAffinity::Numeric;
}

bool ParseEngineNumber(const std::string &text, double &number) {
    std::string dotted = text;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    const char *start = dotted.c_str();
    while (std::isspace(static_cast<unsigned char>(*start))) ++start;
    if (*start == '\0') return false;
    // strtod would also take hexadecimal numbers, "inf" and "nan"; a field
    // value is a decimal number only.
    for (const char *c = start; *c != '\0'; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c)) && std::string("+-.eE \t").find(*c) == std::string::npos)
            return false;
    }
    char *end = nullptr;
    number = std::strtod(start, &end);
    if (end == start) return false;
    while (std::isspace(static_cast<unsigned char>(*end))) ++end;
    return *end == '\0' && std::isfinite(number);
}

CSqliteValue ValueForField(CSqliteAffinity affinity, const std::string &text) {
    CSqliteValue value;
    bool numeric = affinity == CSqliteAffinity::Integer || affinity == CSqliteAffinity::Real ||
                   affinity == CSqliteAffinity::Numeric;
    double number = 0.0;
    if (numeric && text == "?") return value;  // don't know: null
    if (numeric && ParseEngineNumber(text, number)) {
        if (affinity != CSqliteAffinity::Real && AsInteger(number, value.integer)) {
            value.kind = CSqliteValue::Kind::Integer;
        } else {
            value.kind = CSqliteValue::Kind::Real;
            value.real = number;
        }
        return value;
    }
    value.kind = CSqliteValue::Kind::Text;
    value.text = text;
    return value;
}
