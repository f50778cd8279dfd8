#include "foundation/safe_file.h"

#include <atomic>
#include <filesystem>
#include <utility>
#include <cerrno>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quorvin {

namespace {

const char *const kLinkReason = "a part of the name is a symbolic link";
const char *const kNotRegularReason = "not a regular file";
const char *const kBadNameReason = "not a file name below the folder";

std::string ErrorText(int error) { return std::system_category().message(error); }

#ifndef _WIN32

// Owns one open descriptor.
class CDescriptor {
public:
    explicit CDescriptor(int fd = -1) : fd(fd) {}
    ~CDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    CDescriptor(const CDescriptor &) = delete;
    CDescriptor &operator=(const CDescriptor &) = delete;
    int Get() const { return fd; }
    int Release() { return std::exchange(fd, -1); }
    void Reset(int other) {
        if (fd >= 0) ::close(fd);
        fd = other;
    }

private:
    int fd;
};

// Why opening a part failed, in the user's words.
std::string OpenFailure(int error) {
    // O_NOFOLLOW reports a link as ELOOP; O_DIRECTORY a link to a folder
    // may also report as ENOTDIR.
    return error == ELOOP ? std::string(kLinkReason) : ErrorText(error);
}

// Opens the folder that holds the last part of `name`, walking from
// `directory` one part at a time without following a link. `leaf` receives
// the last part. -1 with a reason when the walk fails.
int OpenParent(const std::string &directory, const std::string &name, std::string &leaf, std::string &reason) {
    CDescriptor folder(::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) {
        reason = ErrorText(errno);
        return -1;
    }
    size_t start = 0;
    for (size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', start)) {
        const std::string part = name.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            reason = kBadNameReason;
            return -1;
        }
        const int next = ::openat(folder.Get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            struct stat info;
            const int error = errno;
            const bool link = ::fstatat(folder.Get(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                              S_ISLNK(info.st_mode);
            reason = link ? std::string(kLinkReason) : OpenFailure(error);
            return -1;
        }
        folder.Reset(next);
    }
    leaf = name.substr(start);
    if (leaf.empty() || leaf == "." || leaf == "..") {
        reason = kBadNameReason;
        return -1;
    }
    return folder.Release();
}

// Opens the last part for writing; only a regular file is kept. O_NONBLOCK
// makes a named pipe without a reader fail at once instead of waiting.
int OpenRegular(int folder, const std::string &leaf, int flags, std::string &reason) {
    CDescriptor file(::openat(folder, leaf.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (file.Get() < 0) {
        reason = errno == ENXIO ? std::string(kNotRegularReason) : OpenFailure(errno);
        return -1;
    }
    struct stat info;
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = kNotRegularReason;
        return -1;
    }
    return file.Release();
}

// Writes every byte, going on after a short write.
bool WriteAll(int fd, std::string_view bytes, std::string &reason) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            reason = ErrorText(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The start of the names of the temporary files of the process `pid`.
std::string TemporaryPrefix(long pid) { return ".quorvin-" + std::to_string(pid) + "-"; }
constexpr std::string_view kTemporarySuffix = ".tmp";

// A name for a temporary file that no other writer uses at the same time.
std::string TemporaryName() {
    static std::atomic<unsigned> counter{0};
    return TemporaryPrefix(::getpid()) + std::to_string(counter++) + std::string(kTemporarySuffix);
}

// Creates the temporary file beside the target.
int CreateTemporary(int folder, std::string &temporary, std::string &reason) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName();
        const int fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    reason = ErrorText(errno);
    return -1;
}

// Renames the written temporary file over `leaf`.
bool MoveIn(int folder, const std::string &temporary, const std::string &leaf, std::string &reason) {
    if (::renameat(folder, temporary.c_str(), folder, leaf.c_str()) == 0) return true;
    reason = ErrorText(errno);
    return false;
}

// Exchanges the names of the written temporary file and of `leaf`, then
// removes the old file from the temporary name. False, with everything as
// it was, when the file system cannot exchange names or what stood at `leaf`
// cannot be removed (a folder put there meanwhile) and goes back.
bool SwapIn(int folder, const std::string &temporary, const std::string &leaf) {
#ifdef RENAME_EXCHANGE
    if (::renameat2(folder, temporary.c_str(), folder, leaf.c_str(), RENAME_EXCHANGE) != 0) return false;
    if (::unlinkat(folder, temporary.c_str(), 0) == 0) return true;
    // Should going back fail, the new file is in place all the same, and
    // what stood there stays under the temporary name.
    return ::renameat2(folder, temporary.c_str(), folder, leaf.c_str(), RENAME_EXCHANGE) != 0;
#else
    (void)folder, (void)temporary, (void)leaf;
    return false;
#endif
}

#endif  // !_WIN32

}  // namespace

#ifndef _WIN32

bool ReplaceFile(const std::string &directory, const std::string &name, std::string_view bytes,
                 std::string &reason, TReplacing how) {
    std::string leaf;
    CDescriptor folder(OpenParent(directory, name, leaf, reason));
    if (folder.Get() < 0) return false;
    struct stat old;
    const bool existed = ::fstatat(folder.Get(), leaf.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (existed && !S_ISREG(old.st_mode)) {
        reason = S_ISLNK(old.st_mode) ? kLinkReason : kNotRegularReason;
        return false;
    }
    std::string temporary;
    CDescriptor file(CreateTemporary(folder.Get(), temporary, reason));
    if (file.Get() < 0) return false;
    bool ok = WriteAll(file.Get(), bytes, reason);
    if (ok && existed) ::fchmod(file.Get(), old.st_mode & 07777);
    if (::close(file.Release()) != 0 && ok) {
        reason = ErrorText(errno);
        ok = false;
    }
    if (ok) ok = (existed && how == TReplacing::repeatedly && SwapIn(folder.Get(), temporary, leaf)) ||
                 MoveIn(folder.Get(), temporary, leaf, reason);
    if (!ok) ::unlinkat(folder.Get(), temporary.c_str(), 0);
    return ok;
}

void RemoveTemporariesOf(const std::string &folder, long pid) {
    const std::string prefix = TemporaryPrefix(pid);
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(kTemporarySuffix)) std::filesystem::remove(entry.path(), ignored);
    }
}

bool AppendRecord(const std::string &directory, const std::string &name, std::string_view bytes,
                  std::string &reason) {
    CLockedAppend file;
    if (!file.Open(directory, name, true, reason)) return false;
    const bool appended = file.Append(bytes, reason);
    std::string closeReason;
    if (!file.Close(closeReason) && appended) {
        reason = closeReason;
        return false;
    }
    return appended;
}

bool CheckExistingFile(const std::string &directory, const std::string &name, uint64_t &device,
                       uint64_t &inode, std::string &reason) {
    std::string leaf;
    CDescriptor folder(OpenParent(directory, name, leaf, reason));
    if (folder.Get() < 0) return false;
    CDescriptor file(OpenRegular(folder.Get(), leaf, O_RDONLY, reason));
    if (file.Get() < 0) return false;
    struct stat info;
    if (::fstat(file.Get(), &info) != 0) {
        reason = ErrorText(errno);
        return false;
    }
    device = info.st_dev;
    inode = info.st_ino;
    return true;
}

CLockedAppend::~CLockedAppend() {
    std::string ignored;
    Close(ignored);
}

bool CLockedAppend::Open(const std::string &directory, const std::string &name, bool create, std::string &reason) {
    std::string ignored;
    Close(ignored);
    std::string leaf;
    CDescriptor folder(OpenParent(directory, name, leaf, reason));
    if (folder.Get() < 0) return false;
    CDescriptor file(OpenRegular(folder.Get(), leaf, O_RDWR | O_APPEND | (create ? O_CREAT : 0), reason));
    if (file.Get() < 0) return false;
    while (::flock(file.Get(), LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        reason = ErrorText(errno);
        return false;
    }
    descriptor = file.Release();
    return true;
}

int64_t CLockedAppend::Size() const {
    struct stat info;
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0) return 0;
    return info.st_size;
}

std::string CLockedAppend::ReadAt(int64_t offset, int64_t length) const {
    std::string bytes;
    if (descriptor < 0 || length <= 0) return bytes;
    bytes.resize(static_cast<size_t>(length));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t read = ::pread(descriptor, bytes.data() + got, bytes.size() - got, offset + got);
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) break;
        got += static_cast<size_t>(read);
    }
    bytes.resize(got);
    return bytes;
}

bool CLockedAppend::TruncateTo(int64_t size, std::string &reason) {
    if (::ftruncate(descriptor, size) == 0) return true;
    reason = ErrorText(errno);
    return false;
}

bool CLockedAppend::Append(std::string_view bytes, std::string &reason) { return AppendAt(Size(), bytes, reason); }

bool CLockedAppend::AppendAt(int64_t start, std::string_view bytes, std::string &reason) {
    if (WriteAll(descriptor, bytes, reason)) return true;
    // Whatever part of the record reached the file is taken back, so the
    // next writer does not extend a broken record.
    std::string ignored;
    TruncateTo(start, ignored);
    return false;
}

bool CLockedAppend::Close(std::string &reason) {
    if (descriptor < 0) return true;
    // Closing the descriptor releases the lock.
    if (::close(std::exchange(descriptor, -1)) == 0) return true;
    reason = ErrorText(errno);
    return false;
}

#endif  // !_WIN32

}  // namespace quorvin
