#include "language/written_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Read(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

}  // namespace

TEST(WrittenFile, WritesAndAppendsButNeverThroughALink) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-written-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;

    std::FILE *page = OpenWrittenFile((dir / "page.html").c_str(), "w");
    ASSERT_NE(page, nullptr);
    std::fputs("first\n", page);
    std::fclose(page);
    std::FILE *report = OpenWrittenFile((dir / "page.html").c_str(), "a+");
    ASSERT_NE(report, nullptr);
    std::fputs("second\n", report);
    std::fclose(report);
    EXPECT_EQ(Read(dir / "page.html"), "first\nsecond\n");

    // A link shipped with a knowledge base, named like one of its pages.
    std::ofstream(dir / "victim") << "precious\n";
    std::filesystem::create_symlink(dir / "victim", dir / "flu.html");
    EXPECT_EQ(OpenWrittenFile((dir / "flu.html").c_str(), "w"), nullptr);
    EXPECT_EQ(OpenWrittenFile((dir / "flu.html").c_str(), "a+"), nullptr);
    EXPECT_EQ(Read(dir / "victim"), "precious\n");

    EXPECT_EQ(OpenWrittenFile((dir / "missing" / "x.html").c_str(), "w"), nullptr);
    std::filesystem::remove_all(dir);
}
