// Numbers in the console's JSON files.
#pragma once

// The float as the double that its nine-digit text ("%.9g") reads back as,
// so that the JSON shows "0.300000012" rather than every digit of the
// double, and reading it back gives the same float.
double ExactJsonNumber(float value);
