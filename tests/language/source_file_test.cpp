// Reading a knowledge base's file into a source: whole, or refused when it
// is larger than a source can hold, never cut short.
#include "language/source_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/language/compiler_test_support.h"

namespace {

std::string ReadAll(CPInputChar &input) {
    std::string text;
    for (int c = input.GetChar(); !input.AtEnd(); c = input.GetChar()) text += static_cast<char>(c);
    return text;
}

}  // namespace

TEST(SourceFile, TheSizeLimitIsThatOfTheSource) {
    EXPECT_FALSE(SourceSizeProblem(0).has_value());
    EXPECT_FALSE(SourceSizeProblem(CPInputChar::kMaxLength).has_value());
    EXPECT_EQ(SourceSizeProblem(CPInputChar::kMaxLength + 1), "file too large (2147483647 bytes; at most 2147483646)");
    // Sizes beyond 32 bits are named as they are, not wrapped.
    EXPECT_EQ(SourceSizeProblem(4294967296LL + 200), "file too large (4294967496 bytes; at most 2147483646)");
}

TEST(SourceFile, ReadsTheWholeFileByteForByte) {
    compiler_test::TempDir dir;
    const std::string bytes("a\0b\r\n\xff" "c", 7);
    std::ofstream(dir.Path() / "kb.qvb", std::ios::binary) << bytes;
    std::string reason;
    auto input = ReadSourceFile((dir.Path() / "kb.qvb").string(), reason);
    ASSERT_NE(input, nullptr) << reason;
    ASSERT_EQ(input->Open(), 0);
    EXPECT_EQ(ReadAll(*input), bytes);
    EXPECT_EQ(input->Pos(), 8);

    std::ofstream(dir.Path() / "empty.qvb", std::ios::binary);
    input = ReadSourceFile((dir.Path() / "empty.qvb").string(), reason);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->Open(), 0);
    EXPECT_EQ(ReadAll(*input), "");
}

TEST(SourceFile, RefusesWhatItCannotReadWhole) {
    compiler_test::TempDir dir;
    std::string reason;
    EXPECT_EQ(ReadSourceFile((dir.Path() / "missing.qvb").string(), reason), nullptr);
    EXPECT_EQ(reason, std::strerror(ENOENT));
    EXPECT_EQ(ReadSourceFile(dir.Str(), reason), nullptr);
    EXPECT_EQ(reason, std::strerror(EISDIR));

    // A sparse file of 4 GiB and 200 bytes takes no room on the disk; it is
    // refused on its size, before any of it is read.
    const auto big = dir.Path() / "big.qvb";
    std::ofstream(big, std::ios::binary) << "nodes { A { (bayesian, 0.5, goal) } }";
    std::filesystem::resize_file(big, 4294967296ULL + 200);
    EXPECT_EQ(ReadSourceFile(big.string(), reason), nullptr);
    EXPECT_EQ(reason, "file too large (4294967496 bytes; at most 2147483646)");
}
