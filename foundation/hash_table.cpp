#include "foundation/hash_table.h"

#include <cstring>

namespace {

// The text's first twelve bytes folded into one little-endian word.
uint32_t KeyWord(const CString &key) {
    const unsigned char *text = reinterpret_cast<const unsigned char *>(key.Text());
    int32_t length = key.Length();
    auto word = [text](int32_t from) {
        return static_cast<uint32_t>(text[from]) | static_cast<uint32_t>(text[from + 1]) << 8 |
               static_cast<uint32_t>(text[from + 2]) << 16 | static_cast<uint32_t>(text[from + 3]) << 24;
    };
    if (length < 4) {
        uint32_t k = 0;  // the bytes with their terminator, the rest zero
        for (int32_t b = 0; b < length; ++b) k |= static_cast<uint32_t>(text[b]) << (8 * b);
        return k;
    }
    uint32_t k = word(0);
    if (length >= 8) k ^= word(4);
    if (length >= 12) k ^= word(8);
    return k;
}

double Fraction(double x) { return x - static_cast<double>(static_cast<int64_t>(x)); }

}  // namespace

int32_t HashProbe(const CString &key, int32_t i, int32_t size) {
    int32_t signedWord = static_cast<int32_t>(KeyWord(key));
    // The absolute value as a signed word; the most negative word stays as it is.
    uint32_t k = signedWord < 0 ? 0u - static_cast<uint32_t>(signedWord) : static_cast<uint32_t>(signedWord);
    int64_t h1 = static_cast<int64_t>(size * Fraction(k * 0.6180339887));
    int64_t h2 = static_cast<int64_t>(size * Fraction(k * 0.87380339887));
    // size is a power of two, so the remainder is the low bits of the sum.
    uint64_t slot = static_cast<uint64_t>(h1) + static_cast<uint64_t>(i) * static_cast<uint64_t>(2 * h2 + 1);
    return static_cast<int32_t>(slot & static_cast<uint64_t>(size - 1));
}
