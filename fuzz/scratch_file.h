// What the fuzz targets over files share: the trap that reports a broken
// promise, and one scratch file that each input is written to.
//
// The readers under test open files by name, so every input goes to disk
// once. The directory is made once per process (not per input, which would
// cost two more system calls and a directory entry each time) and removed
// when the fuzzer exits.
#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

class ScratchFile {
public:
    explicit ScratchFile(const char *fileName) {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr);
        directory = pattern;
        path = (directory / fileName).string();
    }
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(directory, ignored);
    }
    ScratchFile(const ScratchFile &) = delete;
    ScratchFile &operator=(const ScratchFile &) = delete;

    // Replaces the file's contents by the bytes, exactly as given.
    void Write(const uint8_t *data, size_t size) const {
        std::FILE *file = std::fopen(path.c_str(), "wb");
        Require(file != nullptr);
        Require(size == 0 || std::fwrite(data, 1, size, file) == size);
        Require(std::fclose(file) == 0);
    }

    std::filesystem::path directory;
    std::string path;
};
