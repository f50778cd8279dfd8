#include "tables/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

bool CTextFile::IsNotRegularFile(const std::string &path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool CTextFile::Open(const std::string &path) {
    Close();
    if (path.empty() || IsNotRegularFile(path)) return false;
    file = std::fopen(path.c_str(), "rb");
    // The file may have been replaced since the test: test what was opened.
    struct stat info;
    if (file != nullptr && (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode))) Close();
    return file != nullptr;
}

bool CTextFile::OpenDescriptor(int descriptor) {
    Close();
    const int copy = ::dup(descriptor);
    if (copy < 0) return false;
    file = ::fdopen(copy, "rb");
    if (file == nullptr) {
        ::close(copy);
        return false;
    }
    // The copy shares the file position: read from the start.
    if (std::fseek(file, 0, SEEK_SET) != 0) Close();
    return file != nullptr;
}

void CTextFile::Close() {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
}

int CTextFile::Get() {
    if (file == nullptr) return kEnd;
    // The stream belongs to this object and one thread: the byte-wise reads
    // need not take its lock.
    int c = getc_unlocked(file);
    if (c == EOF) return kEnd;
    if (c != '\r') return c;
    int next = getc_unlocked(file);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, file);
    return c;
}

bool CTextFile::AtEnd() {
    if (file == nullptr) return true;
    int c = std::getc(file);
    if (c == EOF) return true;
    std::ungetc(c, file);
    return false;
}

int CTextFile::ReadUntil(int stop, int otherStop, int32_t limit, CString &text) {
    std::string bytes;
    const int c = ReadUntil(stop, otherStop, limit, bytes);
    text = bytes.c_str();
    return c;
}

int CTextFile::ReadUntil(int stop, int otherStop, int32_t limit, std::string &bytes) {
    bytes.clear();
    int c = Get();
    while (c != kEnd && c != stop && (otherStop == kEnd || c != otherStop)) {
        if (static_cast<int32_t>(bytes.size()) < limit) bytes += static_cast<char>(c);
        c = Get();
    }
    return c;
}

namespace {

CFileStamp StampOf(const struct stat &info) {
    CFileStamp stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace

CFileStamp CFileStamp::Of(const std::string &path) {
    struct stat info;
    if (path.empty() || ::stat(path.c_str(), &info) != 0) return CFileStamp();
    return StampOf(info);
}

CFileStamp CFileStamp::OfDescriptor(int descriptor) {
    struct stat info;
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0) return CFileStamp();
    return StampOf(info);
}
