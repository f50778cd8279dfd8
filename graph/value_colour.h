// The one colour scale of the pictures of a net: a probability of 0 is
// red, 0.5 (nothing known) is a light grey, 1 is blue, with the colours in
// between interpolated, so that a reader sees at once which way the evidence
// went. Red and blue stay apart for the common kinds of colour blindness.
#pragma once

#include <cstdint>
#include <string>

namespace quorvin::graph {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// The colour of a value; values outside [0, 1] take the nearer end, NaN is
// drawn as nothing known.
Rgb ValueColour(float value);
// True when black text would be hard to read on the colour.
bool IsDark(Rgb colour);
// "#rrggbb"
std::string HexText(Rgb colour);

}  // namespace quorvin::graph
