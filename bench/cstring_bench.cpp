// CString next to std::string: copying names (a CString copy shares the
// characters, a std::string copy of a long name allocates), building a text
// piece by piece, and formatting a real.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/cstring.h"

namespace {

const char kName[] = "has_symptom_of_the_patient_fever";

void BM_CStringCopy(benchmark::State &state) {
    const CString name(kName);
    std::vector<CString> copies(1000);
    for (auto _ : state) {
        for (CString &copy : copies) copy = name;
        benchmark::DoNotOptimize(copies.data());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_CStringCopy);

void BM_StdStringCopy(benchmark::State &state) {
    const std::string name(kName);
    std::vector<std::string> copies(1000);
    for (auto _ : state) {
        for (std::string &copy : copies) {
            copy.clear();
            copy.shrink_to_fit();  // a fresh copy each time, as a new handle would be
            copy = name;
        }
        benchmark::DoNotOptimize(copies.data());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_StdStringCopy);

// A text of range(0) pieces of 10 characters, as a report line is built.
void BM_CStringAppend(benchmark::State &state) {
    for (auto _ : state) {
        CString text;
        for (int64_t i = 0; i < state.range(0); ++i) text.Append("0123456789");
        benchmark::DoNotOptimize(text.Length());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CStringAppend)->RangeMultiplier(4)->Range(16, 4096)->Complexity();

void BM_StdStringAppend(benchmark::State &state) {
    for (auto _ : state) {
        std::string text;
        for (int64_t i = 0; i < state.range(0); ++i) text.append("0123456789");
        benchmark::DoNotOptimize(text.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StdStringAppend)->RangeMultiplier(4)->Range(16, 4096)->Complexity();

void BM_CStringFormatReal(benchmark::State &state) {
    float value = 0.123456f;
    for (auto _ : state) {
        CString text(value);
        benchmark::DoNotOptimize(text.Length());
    }
}
BENCHMARK(BM_CStringFormatReal);

}  // namespace
