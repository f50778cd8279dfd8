#include "json_number.h"

#include <charconv>
#include <string_view>

#include "foundation/number_text.h"

// Neither step follows the process's locale, so a locale with a decimal
// comma cannot make the text read back as another number.
double ExactJsonNumber(float value) {
    char text[32];
    const double wide = value;
    const auto written = std::to_chars(text, text + sizeof text, wide, std::chars_format::general, 9);
    const std::string_view nineDigits(text, static_cast<size_t>(written.ptr - text));
    return ReadReal(nineDigits, kCLibraryNumber).value_or(0.0);
}
