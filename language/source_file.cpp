#include "language/source_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

std::optional<std::string> SourceSizeProblem(int64_t size) {
    if (size <= CPInputChar::kMaxLength) return std::nullopt;
    return "file too large (" + std::to_string(size) + " bytes; at most " + std::to_string(CPInputChar::kMaxLength) +
           ")";
}

namespace {

// Appends the rest of the file to `text`; false with the reason.
bool ReadRest(std::FILE *file, std::string &text, std::string &reason) {
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (auto problem = SourceSizeProblem(static_cast<int64_t>(text.size() + got))) {
            reason = *problem;
            return false;
        }
        text.append(buffer, got);
    }
    if (std::ferror(file) == 0) return true;
    reason = std::strerror(errno);
    return false;
}

// Reads a regular file of `size` bytes straight into `text`, without a
// buffer in between, then whatever it has grown by since; false with the
// reason.
bool ReadSized(std::FILE *file, int64_t size, std::string &text, std::string &reason) {
    text.resize(static_cast<size_t>(size));
    const size_t got = std::fread(text.data(), 1, text.size(), file);
    text.resize(got);
    if (got < static_cast<size_t>(size) && std::ferror(file) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return ReadRest(file, text, reason);
}

}  // namespace

std::unique_ptr<CPInputChar> ReadSourceFile(const std::string &path, std::string &reason) {
    std::optional<std::string> text = ReadSourceText(path, reason);
    if (!text) return nullptr;
    return std::make_unique<CPInputChar>(std::move(*text));
}

std::optional<std::string> ReadSourceText(const std::string &path, std::string &reason) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    struct stat info;
    std::string text;
    bool read = false;
    if (::fstat(::fileno(file), &info) != 0) {
        reason = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        reason = std::strerror(EISDIR);
    } else if (auto problem = SourceSizeProblem(S_ISREG(info.st_mode) ? info.st_size : 0)) {
        reason = *problem;
    } else if (S_ISREG(info.st_mode)) {
        read = ReadSized(file, info.st_size, text, reason);
    } else {
        read = ReadRest(file, text, reason);
    }
    std::fclose(file);
    if (!read) return std::nullopt;
    return text;
}
