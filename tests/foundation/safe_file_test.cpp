#include "foundation/safe_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "child_process.h"
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using quorvin::AppendRecord;
using quorvin::CLockedAppend;
using quorvin::ReplaceFile;

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvin-safe-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directory(root / "kb");
        fs::create_directory(root / "outside");
        kb = (root / "kb").string();
    }
    void TearDown() override { fs::remove_all(root); }

    static std::string Read(const fs::path &path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }
    static void Write(const fs::path &path, const std::string &text) { std::ofstream(path, std::ios::binary) << text; }

    fs::path root;
    std::string kb;
    std::string reason;
};

TEST_F(SafeFileTest, ReplacingWritesWholeFilesAndKeepsTheirPermissions) {
    // Both ways of putting the new file in place give the same files.
    for (const quorvin::TReplacing how : {quorvin::TReplacing::once, quorvin::TReplacing::repeatedly}) {
        SCOPED_TRACE(how == quorvin::TReplacing::once ? "once" : "repeatedly");
        fs::remove_all(root / "kb");
        fs::create_directory(root / "kb");
        ASSERT_TRUE(ReplaceFile(kb, "page.html", "first\n", reason, how)) << reason;
        EXPECT_EQ(Read(root / "kb/page.html"), "first\n");
        fs::permissions(root / "kb/page.html", fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_TRUE(ReplaceFile(kb, "page.html", "second\n", reason, how)) << reason;
        ASSERT_TRUE(ReplaceFile(kb, "page.html", "third\n", reason, how)) << reason;
        EXPECT_EQ(Read(root / "kb/page.html"), "third\n");
        EXPECT_EQ(fs::status(root / "kb/page.html").permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        // Folders below the directory are fine; no temporary file is left.
        fs::create_directory(root / "kb/out");
        ASSERT_TRUE(ReplaceFile(kb, "out/./goals.txt", "g\t1\n", reason, how)) << reason;
        ASSERT_TRUE(ReplaceFile(kb, "out/goals.txt", "g\t2\n", reason, how)) << reason;
        EXPECT_EQ(Read(root / "kb/out/goals.txt"), "g\t2\n");
        // A folder at the name stays as it is.
        fs::create_directory(root / "kb/folder.txt");
        EXPECT_FALSE(ReplaceFile(kb, "folder.txt", "x", reason, how));
        EXPECT_TRUE(fs::is_directory(root / "kb/folder.txt"));
        int entries = 0;
        for (const auto &entry : fs::recursive_directory_iterator(root / "kb")) {
            EXPECT_EQ(entry.path().filename().string().find(".quorvin-"), std::string::npos) << entry.path();
            ++entries;
        }
        EXPECT_EQ(entries, 4);
    }
}

TEST_F(SafeFileTest, TheTemporariesOfAKilledProcessAreRemovedAndNothingElse) {
    for (const char *name : {".quorvin-123-0.tmp", ".quorvin-123-17.tmp", ".quorvin-1234-0.tmp", ".quorvin-12-0.tmp",
                             ".quorvin-123-0.tmp.keep", "quorvin-123-0.tmp", "goals.txt"})
        Write(root / "kb" / name, "x");
    quorvin::RemoveTemporariesOf(kb, 123);
    std::vector<std::string> left;
    for (const auto &entry : fs::directory_iterator(root / "kb")) left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".quorvin-12-0.tmp", ".quorvin-123-0.tmp.keep", ".quorvin-1234-0.tmp",
                                              "goals.txt", "quorvin-123-0.tmp"}));
    quorvin::RemoveTemporariesOf((root / "missing").string(), 123);  // no folder: nothing happens
}

TEST_F(SafeFileTest, NoPartOfTheNameMayBeALink) {
    Write(root / "outside/.bashrc", "precious\n");
    fs::create_directory_symlink(root / "outside", root / "kb/sub");
    fs::create_symlink(root / "outside/.bashrc", root / "kb/page.html");
    fs::create_directory(root / "kb/real");
    fs::create_directory_symlink(root / "outside", root / "kb/real/deeper");

    for (const std::string name : {"sub/.bashrc", "real/deeper/.bashrc", "page.html"}) {
        EXPECT_FALSE(ReplaceFile(kb, name, "echo pwned\n", reason)) << name;
        EXPECT_EQ(reason, "a part of the name is a symbolic link") << name;
        EXPECT_FALSE(AppendRecord(kb, name, "echo pwned\n", reason)) << name;
        EXPECT_EQ(reason, "a part of the name is a symbolic link") << name;
    }
    uint64_t device = 0, inode = 0;
    EXPECT_FALSE(quorvin::CheckExistingFile(kb, "sub/.bashrc", device, inode, reason));
    EXPECT_FALSE(AppendRecord(kb, "../outside/.bashrc", "x", reason));
    EXPECT_FALSE(ReplaceFile(kb, "..", "x", reason));
    EXPECT_EQ(Read(root / "outside/.bashrc"), "precious\n");
    EXPECT_EQ(fs::directory_iterator(root / "outside")->path().filename(), ".bashrc");

    // The directory itself is the user's choice and may be reached through a link.
    fs::create_directory_symlink(root / "kb", root / "kb-link");
    EXPECT_TRUE(AppendRecord((root / "kb-link").string(), "report.txt", "ok\n", reason)) << reason;
    EXPECT_TRUE(quorvin::CheckExistingFile((root / "kb-link").string(), "report.txt", device, inode, reason));
    struct stat info;
    ASSERT_EQ(stat((root / "kb/report.txt").c_str(), &info), 0);
    EXPECT_EQ(inode, static_cast<uint64_t>(info.st_ino));
}

TEST_F(SafeFileTest, PipesDirectoriesAndDevicesAreRefusedAtOnce) {
    ASSERT_EQ(mkfifo((root / "kb/flu.html").c_str(), 0600), 0);
    fs::create_directory(root / "kb/folder.txt");
    // No reader waits on the pipe: opening it for writing would block forever.
    EXPECT_FALSE(ReplaceFile(kb, "flu.html", "page", reason));
    EXPECT_EQ(reason, "not a regular file");
    EXPECT_FALSE(AppendRecord(kb, "flu.html", "line\n", reason));
    EXPECT_EQ(reason, "not a regular file");
    CLockedAppend file;
    EXPECT_FALSE(file.Open(kb, "flu.html", false, reason));
    EXPECT_FALSE(ReplaceFile(kb, "folder.txt", "x", reason));
    EXPECT_FALSE(AppendRecord(kb, "folder.txt", "x", reason));
    EXPECT_FALSE(AppendRecord("/dev", "null", "x", reason));
    EXPECT_EQ(reason, "not a regular file");
}

TEST_F(SafeFileTest, ConcurrentAppendersNeverMixTheirRecords) {
    const int kRows = 300;
    auto writer = [&](char tag) {
        return [&, tag] {
            for (int i = 0; i < kRows; ++i) {
                std::string row(std::string(40 + i % 50, tag) + "\t" + std::to_string(i) + "\n");
                std::string why;
                if (!AppendRecord(kb, "rows.txt", row, why)) return 1;
            }
            return 0;
        };
    };
    const pid_t first = fork();
    if (first == 0) _exit(writer('a')());
    const int second = InChild(writer('b'));
    int status = 0;
    waitpid(first, &status, 0);
    ASSERT_EQ(second, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    std::istringstream lines(Read(root / "kb/rows.txt"));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        const size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        EXPECT_EQ(line.find_first_not_of(line[0]), tab) << line;
    }
    EXPECT_EQ(count, 2 * kRows);
}

TEST_F(SafeFileTest, AFullDiskLeavesWholeRecordsAndTheOldContent) {
    Write(root / "kb/rows.txt", "header\n");
    Write(root / "kb/page.html", "old page\n");
    // A file-size limit stands in for a full disk: writes past it fail.
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
        std::string why;
        if (!AppendRecord(kb, "rows.txt", std::string(50, 'r') + "\n", why)) return 11;
        if (AppendRecord(kb, "rows.txt", std::string(80, 'x') + "\n", why)) return 12;
        if (why != "File too large") return 13;
        if (ReplaceFile(kb, "page.html", std::string(500, 'p'), why)) return 14;
        return 0;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Read(root / "kb/rows.txt"), "header\n" + std::string(50, 'r') + "\n");
    EXPECT_EQ(Read(root / "kb/page.html"), "old page\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "kb"), fs::directory_iterator()), 2);
}

TEST_F(SafeFileTest, ALockedFileIsReadAndCutWhileNoOneElseAppends) {
    CLockedAppend file;
    EXPECT_FALSE(file.Open(kb, "missing.txt", false, reason));
    EXPECT_EQ(reason, "No such file or directory");
    Write(root / "kb/rows.txt", "head\nrow 1\npartial");
    ASSERT_TRUE(file.Open(kb, "rows.txt", false, reason)) << reason;
    EXPECT_EQ(file.Size(), 18);
    EXPECT_EQ(file.ReadAt(5, 5), "row 1");
    EXPECT_EQ(file.ReadAt(16, 100), "al");
    // Another appender waits for the lock.
    const int blocked = InChild([&] {
        const int fd = open((root / "kb/rows.txt").c_str(), O_RDWR);
        return flock(fd, LOCK_EX | LOCK_NB) == 0 ? 1 : 0;
    });
    EXPECT_EQ(blocked, 0);
    ASSERT_TRUE(file.TruncateTo(11, reason));
    ASSERT_TRUE(file.Append("row 2\n", reason));
    ASSERT_TRUE(file.Close(reason));
    EXPECT_EQ(Read(root / "kb/rows.txt"), "head\nrow 1\nrow 2\n");
}

}  // namespace

namespace {

TEST_F(SafeFileTest, ReadersSeeOneWholeVersionWhileTwoWritersReplaceAFile) {
    // Two knowledge bases replacing one output file: every reader, at any
    // moment, finds one writer's whole text, never a mixture.
    const std::string first(20000, 'a'), second(30000, 'b');
    ASSERT_TRUE(ReplaceFile(kb, "goals.txt", first, reason));
    auto writer = [&](const std::string *text) {
        return [&, text] {
            std::string why;
            for (int i = 0; i < 200; ++i)
                if (!ReplaceFile(kb, "goals.txt", *text, why)) return 1;
            return 0;
        };
    };
    const pid_t one = fork();
    if (one == 0) _exit(writer(&first)());
    const pid_t two = fork();
    if (two == 0) _exit(writer(&second)());
    int mixed = 0;
    for (int i = 0; i < 300; ++i) {
        const std::string seen = Read(root / "kb/goals.txt");
        if (seen != first && seen != second) ++mixed;
    }
    int status = 0;
    waitpid(one, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    waitpid(two, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(mixed, 0);
    const std::string last = Read(root / "kb/goals.txt");
    EXPECT_TRUE(last == first || last == second);
}

}  // namespace
