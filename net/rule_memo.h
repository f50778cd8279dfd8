// CRuleMemo: the last value computed through a rule, with the exact inputs
// it was computed from.
//
// A consultation computes the same likelihood ratio and the same score of a
// rule again and again while only a few sources move. The memo answers only
// when every input has the very same bits as last time, so the value it
// gives is the one computing again would give: results stay bit for bit
// those of computing every time. It forgets on every reset of the rule.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

template <size_t Inputs, size_t Outputs>
class CRuleMemo {
public:
    using InputValues = std::array<float, Inputs>;
    using OutputValues = std::array<float, Outputs>;

    // True and the remembered values when they were computed from `inputs`.
    bool Recall(const InputValues &inputs, OutputValues &out) const {
        if (!known || Bits(inputs) != key) return false;
        out = values;
        return true;
    }
    void Remember(const InputValues &inputs, const OutputValues &computed) {
        if (frozen) return;
        key = Bits(inputs);
        values = computed;
        known = true;
    }
    // Writes only a memo that knows something, so a frozen one is only read.
    void Forget() {
        if (known) known = false;
    }

    // A memo that never remembers, for rules that have no memos of their own.
    static CRuleMemo Frozen() {
        CRuleMemo memo;
        memo.frozen = true;
        return memo;
    }

private:
    static std::array<uint32_t, Inputs> Bits(const InputValues &inputs) {
        std::array<uint32_t, Inputs> bits{};
        for (size_t i = 0; i < Inputs; ++i) bits[i] = std::bit_cast<uint32_t>(inputs[i]);
        return bits;
    }

    bool known = false;
    bool frozen = false;
    std::array<uint32_t, Inputs> key{};
    OutputValues values{};
};
