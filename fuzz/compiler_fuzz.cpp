// Fuzz target for the knowledge-base compiler.
//
// Arbitrary bytes are compiled into a fresh net, run-time table and parameter
// set, with the test registry of retrievers and translators (whose parameter
// readers follow the compiler's reader contract) and the help pages going into
// one temporary directory. Besides the sanitizers' checks it traps when the
// compiler breaks its promise: success writes no line; failure returns 2 and
// writes exactly one "[Error at line N] message" line whose N lies within the
// source.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "language/compiler_test_support.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsErrorLine(const std::string &line, int32_t lines) {
    long number = 0;
    std::string message;
    return compiler_test::ParseErrorLine(line, number, message) && number <= lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static compiler_test::TempDir pages;
    std::string source(reinterpret_cast<const char *>(data), size);
    int32_t lines = 1;
    for (char c : source)
        if (c == '\n') ++lines;
    {
        compiler_test::Build build(pages);
        int result = build.Compile(source);
        if (result == 0) {
            Require(build.lines.empty());
        } else {
            Require(result == 2);
            Require(build.lines.size() == 1);
            Require(IsErrorLine(build.lines[0], lines));
        }
    }
    // Pages of one input must not pile up over a long run.
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(pages.Path(), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
    return 0;
}
