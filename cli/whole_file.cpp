#include "whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool WriteWholeFile(const std::string &path, const std::string &content, std::string &error) {
    // A full disk shows only when the buffered text is flushed or the file
    // closed.
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size() && std::fflush(out) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(out) == 0;
    if (written && closed) return true;
    error = path + ": " + std::strerror(written ? errno : writeError);
    return false;
}
