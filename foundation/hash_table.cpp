#include "foundation/hash_table.h"

namespace {

double Fraction(double x) { return x - static_cast<double>(static_cast<int64_t>(x)); }

}  // namespace

CHashProbe::CHashProbe(const CString &key, int32_t size) {
    // Every byte of the key is folded into the word (CString::HashWord): node
    // names of a large knowledge base often share long prefixes
    // ("has_symptom_fever", "has_symptom_cough"), and a word made of the
    // first bytes only would give all of them one probe sequence.
    int32_t signedWord = static_cast<int32_t>(key.HashWord());
    // The absolute value as a signed word; the most negative word stays as it is.
    uint32_t k = signedWord < 0 ? 0u - static_cast<uint32_t>(signedWord) : static_cast<uint32_t>(signedWord);
    int64_t h1 = static_cast<int64_t>(size * Fraction(k * 0.6180339887));
    int64_t h2 = static_cast<int64_t>(size * Fraction(k * 0.87380339887));
    // size is a power of two, so the remainder is the low bits of the sum.
    start = static_cast<uint64_t>(h1);
    step = static_cast<uint64_t>(2 * h2 + 1);
    mask = static_cast<uint64_t>(size - 1);
}

int32_t HashProbe(const CString &key, int32_t i, int32_t size) { return CHashProbe(key, size).Slot(i); }
