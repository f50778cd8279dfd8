// Reading numbers: every rule of the readers on the texts that tell them
// apart, and the C library's readings it must agree with.
#include "foundation/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Number {
    const char *text;
    double value;
};

// The value, bit for bit (so -0 is not 0); a NaN matches a NaN of its sign.
::testing::AssertionResult Reads(const CNumberRules &rules, const char *text, double value) {
    const std::optional<double> read = ReadReal(text, rules);
    if (!read) return ::testing::AssertionFailure() << "\"" << text << "\" is no number";
    const bool same = std::isnan(value) ? std::isnan(*read) && std::signbit(*read) == std::signbit(value)
                                        : std::memcmp(&*read, &value, sizeof value) == 0;
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" reads " << *read << ", not " << value;
}

::testing::AssertionResult Refuses(const CNumberRules &rules, const char *text) {
    const std::optional<double> read = ReadReal(text, rules);
    if (!read) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" reads " << *read;
}

}  // namespace

TEST(NumberText, TypedNumbersAreWholeTextsWithAPointOrAComma) {
    const Number numbers[] = {{"0.5", 0.5},      {" 0.5\t", 0.5}, {"0,75", 0.75}, {"-12.5e1", -125},
                              {"+3", 3},         {".5", 0.5},     {"5.", 5},      {"1E-2", 0.01},
                              {"007", 7},        {"-0", -0.0},    {",5", 0.5},    {"3.4e38", 3.4e38},
                              {"1e-50", 1e-50}};
    for (const Number &number : numbers) EXPECT_TRUE(Reads(kTypedNumber, number.text, number.value));
    for (const char *text : {"", "  ", "abc", "12 kg", "1e", "1e+", "0x10", "inf", "nan", "-", ".", "1.2.3", "1,5,0",
                             "1 2", "1e39", "-1e39", "--1", "+-1", "\xd9\xa3", "\n5", "5\n", "1e-400"})
        EXPECT_TRUE(Refuses(kTypedNumber, text));
}

TEST(NumberText, TypedLeadingNumbersIgnoreWhatFollows) {
    const Number numbers[] = {{"2x", 2},         {"  7 cm", 7},   {"1e", 1},  {"1.5.3", 1.5}, {"2,5 kg", 2.5},
                              {"-3e2x", -300},   {"4e+", 4},      {"0x10", 0}, {"1,5,3", 1.5}, {"5\n", 5}};
    for (const Number &number : numbers) EXPECT_TRUE(Reads(kTypedLeadingNumber, number.text, number.value));
    for (const char *text : {"", "   ", "x2", ". 5", "-x", "inf", "1e39", "\n5", "1e-400x"})
        EXPECT_TRUE(Refuses(kTypedLeadingNumber, text));
}

TEST(NumberText, SourceNumbersAreTheLongestNumberAtTheStart) {
    const Number numbers[] = {{"0.5", 0.5}, {".5", 0.5},  {"1e3", 1000},   {"1E2", 100},        {"1.2.3", 1.2},
                              {"1e", 1},    {"1.", 1},    {"1.e2", 100},   {"5ee3", 5},         {"1e2.5", 100},
                              {"007", 7},   {"1e999", kInfinity},           {"1e-999", 0.0},
                              {"1e99999999999999999999999", kInfinity},    {"0e99999999", 0.0}};
    for (const Number &number : numbers) EXPECT_TRUE(Reads(kSourceNumber, number.text, number.value));
    // The lexer never hands over a sign; blanks and commas end the number.
    EXPECT_TRUE(Reads(kSourceNumber, "1,5", 1));
    for (const char *text : {"", ".", "..5", ".e5", "e5", " 5", "inf"}) EXPECT_TRUE(Refuses(kSourceNumber, text));
    // A long run of digits keeps its magnitude: 400 digits are beyond a double.
    EXPECT_TRUE(Reads(kSourceNumber, ("1" + std::string(299, '0')).c_str(), 1e299));
    EXPECT_TRUE(Reads(kSourceNumber, ("1" + std::string(399, '0')).c_str(), kInfinity));
    EXPECT_TRUE(Reads(kSourceNumber, ("0." + std::string(399, '0') + "1").c_str(), 0.0));
    // Digits and exponent together decide which end of the range is left.
    EXPECT_TRUE(Reads(kSourceNumber, ("0." + std::string(400, '0') + "1e50").c_str(), 0.0));
    EXPECT_TRUE(Reads(kSourceNumber, ("1" + std::string(400, '0') + "e-50").c_str(), kInfinity));
    EXPECT_TRUE(Reads(kSourceNumber, ("1" + std::string(400, '0') + "e-800").c_str(), 0.0));
    EXPECT_TRUE(Reads(kSourceNumber, (std::string(400, '0') + "1e-330").c_str(), 0.0));
    // An exponent beyond 64 bits is still huge.
    EXPECT_TRUE(Reads(kSourceNumber, "1e10000000000000000000", kInfinity));
}

TEST(NumberText, TheCLibraryReadingTakesNamesAndHexadecimalNumbers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Number numbers[] = {{"inf", kInfinity},     {"-Infinity", -kInfinity}, {"infinit", kInfinity},
                              {"+INF", kInfinity},    {"nan", nan},              {"-nan", -nan},
                              {"nan(12)x", nan},      {"nan(", nan},             {"0x10", 16},
                              {"0X1.8p1", 3},         {"-0x.8", -0.5},           {"0x1p", 1},
                              {"0x", 0},              {"0xg", 0},                {"0x1e5", 485},
                              {"0x1p99999", kInfinity}, {"0x1p-1074", 4.9406564584124654e-324},
                              {"-0x1p-1080", -0.0},   {" \t\n\v\f\r12abc", 12},  {"1.5xyz", 1.5},
                              {"-1e-400", -0.0},      {"1,5", 1}};
    for (const Number &number : numbers) EXPECT_TRUE(Reads(kCLibraryNumber, number.text, number.value));
    // A hexadecimal digit counts four bits against the exponent of 2.
    EXPECT_TRUE(Reads(kCLibraryNumber, ("0x1" + std::string(399, '0') + "p-500").c_str(), kInfinity));
    EXPECT_TRUE(Reads(kCLibraryNumber, ("0x0." + std::string(399, '0') + "1p500").c_str(), 0.0));
    for (const char *text : {"", "  ", "abc", "in", "na", "+-1", "- 1", "\xa0" "1", ".", "-."})
        EXPECT_TRUE(Refuses(kCLibraryNumber, text));
}

TEST(NumberText, FieldsTakeACommaEvenInHexadecimalNumbers) {
    const Number numbers[] = {{"0,75", 0.75}, {"1,5,3", 1.5}, {"1,5.3", 1.5}, {"0x1,8p1", 3}, {" ,5", 0.5}};
    for (const Number &number : numbers) EXPECT_TRUE(Reads(kFieldNumber, number.text, number.value));
    for (const char *text : {"-e5", ",", "-,"}) EXPECT_TRUE(Refuses(kFieldNumber, text));
}

TEST(NumberText, EngineNumbersAreWholeFiniteDecimalNumbers) {
    const Number numbers[] = {{"0,500000", 0.5}, {" -1.25e3 ", -1250}, {"+7", 7},     {"\n\r5\t", 5},
                              {"1e-400", 0.0},   {"-1e-400", -0.0},    {"1e300", 1e300}};
    for (const Number &number : numbers) EXPECT_TRUE(Reads(kEngineNumber, number.text, number.value));
    // Any blank before the number, only spaces and tabs after it.
    for (const char *text : {"", " ", "?", "1,000,5", "0x10", "inf", "nan", "1e999", "-1e999", "12 kg", "p17", "1e",
                             "5\n", "5\r", "1 2"})
        EXPECT_TRUE(Refuses(kEngineNumber, text));
}

TEST(NumberText, RulesCombineIndependently) {
    // Hexadecimal numbers without names, names without hexadecimal numbers.
    CNumberRules rules = kSourceNumber;
    rules.hexadecimal = true;
    EXPECT_TRUE(Reads(rules, "0x1A", 26));
    EXPECT_TRUE(Refuses(rules, "inf"));
    rules = kSourceNumber;
    rules.names = true;
    EXPECT_TRUE(Reads(rules, "0x1A", 0));
    EXPECT_TRUE(Reads(rules, "inf", kInfinity));
    // The range is tested on the name too.
    rules.range = CNumberRange::FiniteDouble;
    EXPECT_TRUE(Refuses(rules, "inf"));
    EXPECT_TRUE(Refuses(rules, "nan"));
    rules.range = CNumberRange::Float;
    EXPECT_TRUE(Refuses(rules, "nan"));
    // A whole text without blanks after it.
    rules = kTypedNumber;
    rules.blanksAfter = CNumberBlanks::None;
    EXPECT_TRUE(Reads(rules, " 1", 1));
    EXPECT_TRUE(Refuses(rules, "1 "));
    // Floats: the largest holds, the next double that rounds up to infinity does not.
    EXPECT_TRUE(Reads(kTypedNumber, "3.4028235e38", 3.4028235e38));
    EXPECT_TRUE(Refuses(kTypedNumber, "3.4028236e38"));
}

TEST(NumberText, IntegersAreClampedTo32Bits) {
    const struct {
        const char *text;
        int32_t value;
    } integers[] = {{"12abc", 12},
                    {"  -7", -7},
                    {"\n+5", 5},
                    {"2.7", 2},
                    {"1e5", 1},
                    {"0x10", 0},
                    {"007", 7},
                    {"-0", 0},
                    {"2147483647", INT32_MAX},
                    {"2147483648", INT32_MAX},
                    {"-2147483648", INT32_MIN},
                    {"-2147483649", INT32_MIN},
                    {"99999999999", INT32_MAX},
                    {"-99999999999", INT32_MIN},
                    {"123456789012345678901234567890", INT32_MAX},
                    {"-123456789012345678901234567890", INT32_MIN}};
    for (const auto &integer : integers) {
        const std::optional<int32_t> read = LeadingInteger(integer.text, CNumberBlanks::Any);
        ASSERT_TRUE(read.has_value()) << integer.text;
        EXPECT_EQ(*read, integer.value) << integer.text;
    }
    for (const char *text : {"", " ", "abc", "--5", "-+5", "- 5", "+", ".5"})
        EXPECT_FALSE(LeadingInteger(text, CNumberBlanks::Any).has_value()) << text;
    EXPECT_FALSE(LeadingInteger(" 5", CNumberBlanks::None).has_value());
    EXPECT_FALSE(LeadingInteger("\n5", CNumberBlanks::SpaceOrTab).has_value());
}

// The C library in the "C" locale is what the lenient readers promise to be;
// random texts from the characters that matter, and numbers near the ends of
// the doubles, must read the same.
TEST(NumberText, LenientReadingsAgreeWithTheCLibrary) {
    locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    ASSERT_NE(cLocale, static_cast<locale_t>(nullptr));
    int differences = 0;
    // The rules' reading of `text` against strtod's of `asRead`.
    auto compareReal = [&](const CNumberRules &rules, const std::string &text, const std::string &asRead) {
        char *end = nullptr;
        const double real = strtod_l(asRead.c_str(), &end, cLocale);
        const bool none = end == asRead.c_str();
        if (none ? Refuses(rules, text.c_str()) : Reads(rules, text.c_str(), real)) return;
        ADD_FAILURE() << "strtod reads \"" << asRead << "\" as " << (none ? "nothing" : std::to_string(real));
        ++differences;
    };
    auto compareInteger = [&](const std::string &text) {
        char *end = nullptr;
        const long integer = std::clamp<long>(strtol_l(text.c_str(), &end, 10, cLocale), INT32_MIN, INT32_MAX);
        const std::optional<int32_t> read = LeadingInteger(text, CNumberBlanks::Any);
        if (end == text.c_str() ? !read : read && *read == integer) return;
        ADD_FAILURE() << "strtol reads \"" << text << "\" as " << integer;
        ++differences;
    };

    std::mt19937 random(20240611);
    auto pick = [&](const char *from) { return from[random() % std::strlen(from)]; };
    auto append = [&](std::string &text, unsigned most, const char *from) {
        for (unsigned count = random() % most; count > 0; --count) text += pick(from);
    };
    for (int round = 0; round < 200000 && differences < 10; ++round) {
        std::string text;
        if (round % 2 == 0) {
            append(text, 12, "0123456789000.,eE+-  \t\nxXpPabfinINFty()_");
        } else {
            // [-][0x] mantissa [mark mantissa] [exponent], often out of range.
            const bool hexadecimal = random() % 3 == 0;
            const char *mantissa = hexadecimal ? "0123456789abcdefABCDEF" : "0123456789";
            if (random() % 3 == 0) text += '-';
            if (hexadecimal) text += "0x";
            append(text, 25, mantissa);
            if (random() % 2) {
                text += pick(".,");
                append(text, 30, "0");
                append(text, 25, mantissa);
            }
            if (random() % 4) {
                text += hexadecimal ? 'p' : 'e';
                if (random() % 2) text += pick("+-");
                text += std::to_string(random() % (hexadecimal ? 2400 : 700));
            }
        }
        compareReal(kCLibraryNumber, text, text);
        std::string pointed = text;
        std::replace(pointed.begin(), pointed.end(), ',', '.');
        compareReal(kFieldNumber, text, pointed);
        compareInteger(text);
    }
    freelocale(cLocale);
}

// A front end may set the user's locale; a German one has a decimal comma.
TEST(NumberText, TheProcessLocaleChangesNoReading) {
    const char *previous = std::setlocale(LC_ALL, nullptr);
    const std::string restore = previous ? previous : "C";
    bool set = false;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_ALL, name) != nullptr) {
            set = true;
            break;
        }
    if (!set) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_TRUE(Reads(kSourceNumber, "0.25", 0.25));
    EXPECT_TRUE(Reads(kCLibraryNumber, "0.25", 0.25));
    EXPECT_TRUE(Reads(kCLibraryNumber, "0,25", 0));
    EXPECT_TRUE(Reads(kFieldNumber, "0,25", 0.25));
    EXPECT_TRUE(Reads(kTypedNumber, "0.25", 0.25));
    EXPECT_TRUE(Refuses(kCLibraryNumber, "\xa0" "1"));
    std::setlocale(LC_ALL, restore.c_str());
}
