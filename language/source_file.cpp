#include "language/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

// The bytes of an open file, up to the size limit of a source.
class CFileByteStream final : public CPByteStream {
public:
    explicit CFileByteStream(int descriptor) : descriptor(descriptor) {}
    ~CFileByteStream() override { ::close(descriptor); }
    CFileByteStream(const CFileByteStream &) = delete;
    CFileByteStream &operator=(const CFileByteStream &) = delete;

    // Remembers the state of a regular file as it is opened, so that a file
    // rewritten while it is read is not taken for one text.
    void Stamp(const struct stat &opened) {
        regular = true;
        modified = opened.st_mtim;
    }

    int64_t Read(char *into, int64_t size) override {
        ssize_t got = 0;
        do {
            got = ::read(descriptor, into, static_cast<size_t>(size));
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            problem = std::strerror(errno);
            return -1;
        }
        if (got == 0 && !Unchanged()) {
            problem = "file changed while it was read";
            return -1;
        }
        // A file that grew past the limit while it was read, or a pipe that
        // gives more, is refused rather than cut short.
        if (auto tooLarge = SourceSizeProblem(total + got)) {
            problem = *tooLarge;
            return -1;
        }
        total += got;
        return got;
    }
    std::string Problem() const override { return problem; }

private:
    // At the end of a regular file: whether it still has the modification
    // time it was opened with and the size that was read.
    bool Unchanged() const {
        if (!regular) return true;
        struct stat now;
        if (::fstat(descriptor, &now) != 0) return false;
        return now.st_mtim.tv_sec == modified.tv_sec && now.st_mtim.tv_nsec == modified.tv_nsec &&
               now.st_size == total;
    }

    int descriptor;
    int64_t total = 0;
    bool regular = false;
    struct timespec modified = {};
    std::string problem;
};

// A window holds a large file a megabyte at a time; a small file needs no
// more room than its size.
constexpr int64_t kLargestWindow = 1 << 20;

// Opens a knowledge base's file: its descriptor, with its state in `info`,
// or -1 with the reason when it cannot be opened, is a directory or is too
// large to be a source.
int OpenSource(const std::string &path, struct stat &info, std::string &reason) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        reason = std::strerror(errno);
        return -1;
    }
    if (::fstat(descriptor, &info) != 0) {
        reason = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        reason = std::strerror(EISDIR);
    } else if (auto problem = SourceSizeProblem(S_ISREG(info.st_mode) ? info.st_size : 0)) {
        reason = *problem;
    } else {
        return descriptor;
    }
    ::close(descriptor);
    return -1;
}

}  // namespace

std::unique_ptr<CPInputChar> ReadSourceFile(const std::string &path, std::string &reason) {
    struct stat info;
    const int descriptor = OpenSource(path, info, reason);
    if (descriptor < 0) return nullptr;
    auto stream = std::make_unique<CFileByteStream>(descriptor);
    const bool regular = S_ISREG(info.st_mode);
    if (regular) stream->Stamp(info);
    // A file of up to a window's size is read with one call.
    const int64_t window = regular ? std::min<int64_t>(info.st_size, kLargestWindow) : kLargestWindow;
    return std::make_unique<CPInputChar>(std::move(stream), static_cast<int32_t>(window));
}

std::optional<std::string> ReadSourceText(const std::string &path, std::string &reason) {
    struct stat info;
    const int descriptor = OpenSource(path, info, reason);
    if (descriptor < 0) return std::nullopt;
    std::FILE *file = ::fdopen(descriptor, "rb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        ::close(descriptor);
        return std::nullopt;
    }
    std::string text;
    const bool read = S_ISREG(info.st_mode) ? ReadSized(file, info.st_size, text, reason)
                                            : ReadRest(file, text, reason);
    std::fclose(file);
    if (!read) return std::nullopt;
    return text;
}
