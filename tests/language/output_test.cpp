#include "language/output_file.h"
#include "language/output_memo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string ReadBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path TempPath(const char *name) {
    return std::filesystem::temp_directory_path() / (std::string("quorvin_output_test_") + name);
}

class FakePane : public IMessagePane {
public:
    void Clear() override {
        ++clears;
        lines.clear();
    }
    void AppendLine(const char *line) override { lines.emplace_back(line); }
    int clears = 0;
    std::vector<std::string> lines;
};

}  // namespace

TEST(CPOutputFile, ReplacesTheFileWithItsLinesWhenClosed) {
    std::filesystem::path path = TempPath("lines.txt");
    {
        std::ofstream old(path, std::ios::binary);
        old << "previous content that must go";
    }
    CPOutputFile out(path.parent_path().string(), path.filename().string());
    ASSERT_EQ(out.Open(), 0);
    out.WriteLine("x");
    out.WriteLine("");
    out.WriteLine("%s 100%");
    // Nothing reaches the file before it is closed.
    EXPECT_EQ(ReadBytes(path), std::string("previous content that must go"));
    ASSERT_EQ(out.Close(), 0);
    EXPECT_EQ(ReadBytes(path), std::string("x\n\n%s 100%\n"));
    std::filesystem::remove(path);
}

TEST(CPOutputFile, AFileInAMissingFolderFailsWithItsReason) {
    std::filesystem::path path = TempPath("no_such_dir") / "page.html";
    CPOutputFile out(path.parent_path().parent_path().string(), "no_such_dir/page.html");
    out.WriteLine("lost");
    EXPECT_EQ(out.Close(), 2);
    EXPECT_EQ(out.Failure(), "No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(CPOutputMemo, OpenClearsThePaneAndLinesAreAppended) {
    FakePane pane;
    pane.lines = {"old build"};
    CPOutputMemo memo(&pane);
    EXPECT_EQ(memo.Open(), 0);
    EXPECT_EQ(pane.clears, 1);
    EXPECT_TRUE(pane.lines.empty());
    memo.WriteLine("Compiled.");
    memo.WriteLine("[Error at line 3] } expected");
    EXPECT_EQ(pane.lines, (std::vector<std::string>{"Compiled.", "[Error at line 3] } expected"}));
}

TEST(CPOutputMemo, WithoutAPaneOpenStillSucceeds) {
    CPOutputMemo memo(nullptr);
    EXPECT_EQ(memo.Open(), 0);
    memo.WriteLine("nowhere");
}
