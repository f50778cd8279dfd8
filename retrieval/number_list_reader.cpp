#include "retrieval/number_list_reader.h"

#include <cmath>

#include "foundation/token_reader.h"

int32_t ReadNumbersUpToParen(ITokenReader *compiler, CFloatVector &numbers) {
    TToken token = compiler->Token();
    while (token != tokRightParen) {
        if (token != tokNumber) return 2;
        const float number = static_cast<float>(compiler->Number());
        if (!std::isfinite(number)) return 2;
        numbers.Add(number);
        token = compiler->Next();
        if (token == tokComma) token = compiler->Next();
    }
    return 0;
}

int32_t ReadParenthesisedNumbers(ITokenReader *compiler, CFloatVector &numbers) {
    if (compiler->Token() != tokLeftParen) return 2;
    compiler->Next();
    return ReadNumbersUpToParen(compiler, numbers);
}

bool AllProbabilities(const CFloatVector &numbers) {
    for (int32_t i = 0; i < numbers.Count(); ++i)
        if (numbers.At(i) < 0.0f || numbers.At(i) > 1.0f) return false;
    return true;
}

std::vector<float> CopyOfNumbers(const CFloatVector &numbers) {
    std::vector<float> copy;
    copy.reserve(static_cast<size_t>(numbers.Count()));
    for (int32_t i = 0; i < numbers.Count(); ++i) copy.push_back(numbers.At(i));
    return copy;
}
