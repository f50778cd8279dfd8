// What the fuzz targets share: the trap that reports a broken promise, and
// the scratch directory of the process with the file each input is written
// to.
//
// The readers under test open files by name, so every input is written
// once. The directory is made once per process (not per input, which would
// cost two more system calls and a directory entry each time) and removed
// when the fuzzer exits.
#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

// Where scratch directories go: $TMPDIR when it is set, else /dev/shm when
// there is one, else the system's temporary directory. Memory beats disk
// here by far: on ext4, closing a file that was truncated and written again
// starts its write-back at once, and that cost several times more than
// reading it did.
inline std::filesystem::path ScratchRoot() {
    std::error_code ignored;
    const char *chosen = std::getenv("TMPDIR");
    if (chosen != nullptr && *chosen != '\0') return chosen;
    if (std::filesystem::is_directory("/dev/shm", ignored)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// A directory of its own for the process, removed with everything in it
// when the fuzzer exits.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (ScratchRoot() / "qv-fuzz-XXXXXX").string();
        Require(mkdtemp(pattern.data()) != nullptr);
        path = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory &) = delete;
    ScratchDirectory &operator=(const ScratchDirectory &) = delete;

    std::filesystem::path path;
};

// One file in a scratch directory, written anew for every input.
class ScratchFile {
public:
    explicit ScratchFile(const char *fileName) : path((directory.path / fileName).string()) {}

    // Replaces the file's contents by the bytes, exactly as given.
    void Write(const uint8_t *data, size_t size) const {
        std::FILE *file = std::fopen(path.c_str(), "wb");
        Require(file != nullptr);
        Require(size == 0 || std::fwrite(data, 1, size, file) == size);
        Require(std::fclose(file) == 0);
    }

    ScratchDirectory directory;  // made before `path`, which lies in it
    std::string path;
};
