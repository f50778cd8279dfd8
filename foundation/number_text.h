// Reading numbers from text.
//
// Every number the system reads from a text is read here: number tokens of a
// knowledge base, table fields, values handed to the database engine, answers
// a user typed, and the conversions of CString. The readers differ in where
// the number may stand, which blanks may surround it, whether a comma is a
// decimal mark, whether the C library's names ("inf", "nan") and hexadecimal
// numbers count, and what a number too large or too small becomes; those
// differences are the rules below, and each reader names its set. No reading
// depends on the process's locale: a point is always a decimal mark, and the
// blanks are those of the "C" locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The rules of one reader

// Which characters may stand before a number (and after it, for a whole-text
// reading).
enum class CNumberBlanks {
    None,
    SpaceOrTab,
    Any,  // the C library's white space: space, tab, \n, \v, \f, \r
};

// What a number outside the range of a double (or of a float) becomes.
enum class CNumberRange {
    Double,        // as the C library: too large is infinity, too small 0
    FiniteDouble,  // too large (or a name of infinity or nan) is no number; too small is 0
    Float,         // no number when a double cannot hold it, too large or too small, or
                   // when a 32-bit real would make it infinite (names included)
};

struct CNumberRules {
    bool wholeText;              // the whole text, or the number at its start
    CNumberBlanks blanksBefore;
    CNumberBlanks blanksAfter;   // only for a whole text
    bool decimalComma;           // a comma is a decimal mark as the point is
    bool names;                  // "inf", "infinity", "nan", "nan(...)", any case
    bool hexadecimal;            // "0x1.8p3"
    CNumberRange range;
};

// The rule sets of the system's readers

// A number token of a knowledge base: the lexer hands over its run of
// digits, points and exponent letters and takes the longest number at its
// start ("1.2.3" is 1.2, "1e" is 1).
inline constexpr CNumberRules kSourceNumber{false, CNumberBlanks::None, CNumberBlanks::None,
                                            false, false, false, CNumberRange::Double};

// The C library's reading (strtod in the "C" locale): CString::ToReal.
inline constexpr CNumberRules kCLibraryNumber{false, CNumberBlanks::Any, CNumberBlanks::None,
                                              false, true, true, CNumberRange::Double};

// A table field: the C library's reading with a decimal comma as well.
inline constexpr CNumberRules kFieldNumber{false, CNumberBlanks::Any, CNumberBlanks::None,
                                           true, true, true, CNumberRange::Double};

// A value handed to the database engine as text: one finite decimal number
// and blanks, or the engine keeps the text.
inline constexpr CNumberRules kEngineNumber{true, CNumberBlanks::Any, CNumberBlanks::SpaceOrTab,
                                            true, false, false, CNumberRange::FiniteDouble};

// A probability or exact value a user typed: the whole text is one number a
// node value can hold.
inline constexpr CNumberRules kTypedNumber{true, CNumberBlanks::SpaceOrTab, CNumberBlanks::SpaceOrTab,
                                           true, false, false, CNumberRange::Float};

// An interval's end a user typed: the number at the start ("2x" is 2).
inline constexpr CNumberRules kTypedLeadingNumber{false, CNumberBlanks::SpaceOrTab, CNumberBlanks::None,
                                                  true, false, false, CNumberRange::Float};

// Reading

// The number `text` holds under `rules`; none when it holds none.
std::optional<double> ReadReal(std::string_view text, const CNumberRules &rules);

// The integer at the start of `text` after blanks, as the C library reads it
// in base 10: an optional sign and decimal digits. One beyond 32 bits is
// clamped to the nearer end of that range. None when no digit follows.
std::optional<int32_t> LeadingInteger(std::string_view text, CNumberBlanks blanksBefore);
