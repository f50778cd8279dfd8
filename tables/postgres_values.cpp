#include "tables/postgres_values.h"

#include <charconv>
#include <cmath>

#include "tables/sqlite_values.h"

CPgFieldKind PgFieldKind(const std::string &category, const std::string &typeName) {
    if (category != "N") return CPgFieldKind::Other;
    if (typeName == "smallint" || typeName == "integer" || typeName == "bigint") return CPgFieldKind::Integer;
    return CPgFieldKind::Number;
}

CPgFieldValue PgValueForField(CPgFieldKind kind, const std::string &text) {
    CPgFieldValue value;
    if (kind == CPgFieldKind::Other) return {true, text};
    if (text == "?") return {true, std::nullopt};
    double number = 0.0;
    if (!ParseEngineNumber(text, number)) return value;
    constexpr double kIntegerLimit = 9.2e18;
    if (kind == CPgFieldKind::Integer && (number != std::floor(number) || std::fabs(number) > kIntegerLimit))
        return value;
    char buffer[64];
    const auto written = kind == CPgFieldKind::Integer
                             ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(number))
                             : std::to_chars(buffer, buffer + sizeof buffer, number);
    return {true, std::string(buffer, written.ptr)};
}
