// A source that streams its text through a small window reads exactly as the
// whole text does: every token with its place, every raw line, and a read
// that fails ends the source with the reason instead of a shorter text.
#include "language/input_char.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "language/lexer.h"
#include "language/source_file.h"
#include "tests/language/compiler_test_support.h"
#include "tests/language/lexer_helpers.h"

namespace {

// Gives a text in pieces of 1 to 13 bytes, and fails once `failAfter` bytes
// are given when that is not negative.
class PieceStream : public CPByteStream {
public:
    explicit PieceStream(std::string bytes, int64_t failAfter = -1) : text(std::move(bytes)), failAt(failAfter) {}

    int64_t Read(char *into, int64_t size) override {
        if (failAt >= 0 && given >= failAt) return -1;
        int64_t piece = std::min<int64_t>({size, 1 + (reads++ % 13), static_cast<int64_t>(text.size()) - given});
        if (failAt >= 0) piece = std::min(piece, failAt - given);
        std::memcpy(into, text.data() + given, static_cast<size_t>(piece));
        given += piece;
        return piece;
    }
    std::string Problem() const override { return "Input/output error"; }

private:
    std::string text;
    int64_t failAt;
    int64_t given = 0;
    int64_t reads = 0;
};

std::unique_ptr<CPInputChar> Streamed(const std::string &text, int32_t window, int64_t failAfter = -1) {
    return std::make_unique<CPInputChar>(std::make_unique<PieceStream>(text, failAfter), window);
}

// Everything a build learns from its lexer: each token with its text,
// number and place, and the raw lines copied after every "{" (with a short
// buffer, as a help page's lines are cut).
std::vector<std::string> Trace(CPInputChar &input) {
    std::vector<std::string> trace;
    CLexicalAnalyzer lexer(&input);
    RecordingOutput raw;
    for (int count = 0; count < 1000000; ++count) {
        trace.push_back(std::to_string(lexer.Token()) + " '" + lexer.Text() + "' " +
                        std::to_string(std::bit_cast<uint64_t>(lexer.Number())) + " " +
                        std::to_string(lexer.TokenLine()) + ":" + std::to_string(lexer.Column()) + "-" +
                        std::to_string(lexer.EndColumn()) + " at " + std::to_string(input.Pos()));
        if (lexer.Token() == tokEnd) break;
        if (lexer.Token() == tokLeftBrace && count % 3 == 0) lexer.CopyRawLines('}', &raw, 40);
        lexer.Next();
    }
    trace.insert(trace.end(), raw.lines.begin(), raw.lines.end());
    trace.push_back(input.AtEnd() ? "at the end" : "before the end");
    return trace;
}

std::vector<std::string> TraceOfWhole(const std::string &text) {
    CPInputChar input(text.data(), static_cast<int32_t>(text.size()));
    return Trace(input);
}

// Words and numbers longer than a window, line ends of both kinds, comments
// and texts that run over the window's end.
std::string AWkwardText() {
    std::string text = "\xEF\xBB\xBFnodes { /* a comment\r\n over lines */\r\n";
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        const int length = 1 + static_cast<int>(random() % 300);
        text += std::string(static_cast<size_t>(length), static_cast<char>('a' + i % 26)) + " ";
        text += std::to_string(random() % 100000) + "." + std::string(static_cast<size_t>(random() % 40), '7');
        text += i % 7 == 0 ? "\r\n" : i % 5 == 0 ? " // note\n" : " ";
        if (i % 11 == 0) text += "'a text\nover two lines' \"quoted name\" { raw line\r\n second }\n";
    }
    return text + "}";
}

std::vector<std::filesystem::path> KnowledgeBases() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path data(QUORVIN_TEST_DATA);
    for (const auto &folder : {data / "kb", data / ".." / ".." / "examples"})
        for (const auto &entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".qvb") files.push_back(entry.path());
    return files;
}

}  // namespace

TEST(StreamedSource, ReadsEveryTokenAndRawLineAsTheWholeText) {
    std::vector<std::pair<std::string, std::string>> texts{{"awkward", AWkwardText()}, {"empty", ""}, {"one", "x"}};
    for (const auto &path : KnowledgeBases()) texts.emplace_back(path.filename().string(), compiler_test::ReadFile(path));
    ASSERT_GE(texts.size(), 8u);
    for (const auto &[name, text] : texts) {
        const std::vector<std::string> whole = TraceOfWhole(text);
        for (int32_t window : {1, 129, 200, 4096}) {
            auto streamed = Streamed(text, window);
            EXPECT_EQ(Trace(*streamed), whole) << name << " through a window of " << window;
            EXPECT_EQ(streamed->ReadProblem(), "");
        }
    }
}

TEST(StreamedSource, StepsBackOverTheWindowsEnd) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += static_cast<char>('A' + i % 26);
    auto input = Streamed(text, 128);
    std::string read;
    for (int i = 0; i < 700; ++i) {
        // Two steps back after every third byte, then on again.
        read += static_cast<char>(input->GetChar());
        if (i % 3 == 2) {
            input->UngetChar(read.back());
            input->UngetChar(read[read.size() - 2]);
            EXPECT_EQ(input->GetChar(), read[read.size() - 2]);
            EXPECT_EQ(input->GetChar(), read.back());
        }
    }
    EXPECT_EQ(read, text.substr(0, 700));
    EXPECT_EQ(input->Pos(), 700);
    EXPECT_EQ(input->Unread().substr(0, 3), text.substr(700, 3));
    EXPECT_FALSE(input->AtEnd());
}

TEST(StreamedSource, AFailedReadEndsTheSourceWithItsReason) {
    auto input = Streamed(std::string(1000, 'x'), 128, 300);
    int read = 0;
    while (input->GetChar() != -1) ++read;
    EXPECT_EQ(read, 300);
    EXPECT_TRUE(input->AtEnd());
    EXPECT_EQ(input->ReadProblem(), "Input/output error");
    EXPECT_EQ(input->GetChar(), -1);

    // Failing before the first byte: an empty source that says why.
    input = Streamed("nodes { }", 128, 0);
    EXPECT_EQ(input->Open(), 0);
    EXPECT_EQ(input->GetChar(), -1);
    EXPECT_EQ(input->ReadProblem(), "Input/output error");

    // The lexer sees the end where the failure is.
    input = Streamed("net x nodes { A B C }", 128, 6);
    CLexicalAnalyzer lexer(input.get());
    EXPECT_EQ(lexer.Token(), tokNet);
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_EQ(lexer.Next(), tokEnd);
    EXPECT_EQ(input->ReadProblem(), "Input/output error");
}

TEST(StreamedSource, AFileAndAPipeLargerThanAWindowAreReadWhole) {
    compiler_test::TempDir dir;
    std::string bytes(3 * 1024 * 1024 + 17, '\0');
    std::mt19937 random(11);
    for (char &byte : bytes) byte = static_cast<char>(random() % 255);  // no 0xFF: it reads as an end
    std::ofstream(dir.Path() / "big.qvb", std::ios::binary) << bytes;
    std::string reason;
    auto input = ReadSourceFile((dir.Path() / "big.qvb").string(), reason);
    ASSERT_NE(input, nullptr) << reason;
    std::string read;
    for (int c = input->GetChar(); !input->AtEnd(); c = input->GetChar()) read += static_cast<char>(c);
    EXPECT_TRUE(read == bytes) << read.size() << " bytes read of " << bytes.size();
    EXPECT_EQ(input->ReadProblem(), "");

    // A named pipe gives its bytes in pieces of its own size.
    const auto fifo = dir.Path() / "piped.qvb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << bytes; });
    input = ReadSourceFile(fifo.string(), reason);
    ASSERT_NE(input, nullptr) << reason;
    read.clear();
    for (int c = input->GetChar(); !input->AtEnd(); c = input->GetChar()) read += static_cast<char>(c);
    writer.join();
    EXPECT_TRUE(read == bytes) << read.size() << " bytes read of " << bytes.size();
}

TEST(StreamedSource, AFileChangedWhileItIsReadFailsTheSource) {
    compiler_test::TempDir dir;
    const auto path = dir.Path() / "kb.qvb";
    const auto readAll = [](CPInputChar &input) {
        while (input.GetChar() != -1) {
        }
    };
    // The file's time is set an hour back, so that a change moves it even
    // where the clock of the file system is coarse; `putBack` sets it back
    // again after a change.
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    const auto putBack = [&] { std::filesystem::last_write_time(path, anHourAgo); };
    const auto openAnew = [&] {
        std::ofstream(path, std::ios::binary) << std::string(3 * 1024 * 1024, 'a');
        putBack();
        std::string reason;
        auto input = ReadSourceFile(path.string(), reason);
        EXPECT_NE(input, nullptr) << reason;
        return input;
    };

    // Rewritten in place, same size.
    auto input = openAnew();
    EXPECT_EQ(input->GetChar(), 'a');
    {
        std::fstream inPlace(path, std::ios::binary | std::ios::in | std::ios::out);
        inPlace.seekp(2 * 1024 * 1024);
        inPlace << "b";
    }
    readAll(*input);
    EXPECT_EQ(input->ReadProblem(), "file changed while it was read");

    // Cut short behind the reading, its time put back: the size read is not
    // the file's.
    input = openAnew();
    for (int i = 0; i < 2 * 1024 * 1024; ++i) input->GetChar();
    std::filesystem::resize_file(path, 1024 * 1024);
    putBack();
    readAll(*input);
    EXPECT_EQ(input->ReadProblem(), "file changed while it was read");

    // Appended to, its time put back: what was read is the whole file now.
    input = openAnew();
    EXPECT_EQ(input->GetChar(), 'a');
    std::ofstream(path, std::ios::binary | std::ios::app) << "more";
    putBack();
    readAll(*input);
    EXPECT_EQ(input->ReadProblem(), "");

    // Left alone, it is read to its end without a problem.
    input = openAnew();
    readAll(*input);
    EXPECT_TRUE(input->AtEnd());
    EXPECT_EQ(input->ReadProblem(), "");
}
