#include "graph/value_colour.h"

#include <cmath>
#include <cstdio>

namespace quorvin::graph {

namespace {

constexpr Rgb kNo{202, 0, 32};
constexpr Rgb kUnknown{240, 240, 240};
constexpr Rgb kYes{5, 113, 176};

uint8_t Mix(uint8_t from, uint8_t to, float share) {
    return static_cast<uint8_t>(std::lround(from + (to - from) * share));
}

Rgb Mix(Rgb from, Rgb to, float share) {
    return {Mix(from.r, to.r, share), Mix(from.g, to.g, share), Mix(from.b, to.b, share)};
}

}  // namespace

Rgb ValueColour(float value) {
    if (std::isnan(value)) value = 0.5f;
    if (value <= 0.0f) return kNo;
    if (value >= 1.0f) return kYes;
    return value < 0.5f ? Mix(kNo, kUnknown, value * 2.0f) : Mix(kUnknown, kYes, (value - 0.5f) * 2.0f);
}

bool IsDark(Rgb colour) {
    // Relative luminance with the usual weights of the three primaries.
    const double luminance = 0.2126 * colour.r + 0.7152 * colour.g + 0.0722 * colour.b;
    return luminance < 128.0;
}

std::string HexText(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}

}  // namespace quorvin::graph
