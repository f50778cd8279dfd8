#include "language/written_file.h"

#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

std::FILE *OpenWrittenFile(const char *path, const char *mode) {
    if (path == nullptr || mode == nullptr) return nullptr;
#ifdef _WIN32
    return std::fopen(path, mode);
#else
    const bool append = mode[0] == 'a';
    const int flags = O_CREAT | O_NOFOLLOW | O_CLOEXEC | (append ? O_RDWR | O_APPEND : O_WRONLY | O_TRUNC);
    const int descriptor = ::open(path, flags, 0666);
    if (descriptor < 0) return nullptr;
    std::FILE *file = ::fdopen(descriptor, append ? "a+" : "w");
    if (file == nullptr) ::close(descriptor);
    return file;
#endif
}
