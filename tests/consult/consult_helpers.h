// Helpers for the consultation tests: a message output that records its
// lines, a temporary directory, file reading, and building a control from a
// knowledge-base text.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "consult/inf_control.h"
#include "language/input_char.h"
#include "language/output.h"

class RecordingOutput : public CPOutput {
public:
    int Open() override {
        ++clears;
        lines.clear();
        return openResult;
    }
    void WriteLine(const char *text) override { lines.emplace_back(text); }

    std::vector<std::string> lines;
    int clears = 0;
    int openResult = 0;
};

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-test-XXXXXX").string();
        path = mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
        EXPECT_FALSE(path.empty());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string File(const std::string &name) const { return path + "/" + name; }

    std::string path;
};

inline std::string ReadText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline void WriteText(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    EXPECT_TRUE(out.good()) << path;
}

inline bool FileExists(const std::string &path) { return std::filesystem::exists(path); }

// A control over a knowledge-base text; the text and the sink live as long
// as the fixture.
struct BuiltControl {
    explicit BuiltControl(const std::string &text, CAllRetrievers *registry = nullptr,
                          const std::string &directory = std::string())
        : input(text.c_str()), control(registry) {
        control.SetInput(&input);
        control.SetOutput(&output);
        control.SetSourceDirectory(directory.c_str());
        result = control.BuildNet();
    }

    CPInputChar input;
    RecordingOutput output;
    CInfControl control;
    int32_t result = -1;
};
