#include "tables/sqlite_values.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "foundation/number_text.h"

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
    const std::optional<double> read = ReadReal(text, kEngineNumber);
    if (!read) return false;
    number = *read;
    return true;
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
