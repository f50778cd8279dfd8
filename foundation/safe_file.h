// Writing the files of a knowledge base without harm: help pages, reports,
// output tables.
//
// A knowledge base names the files it writes, and it may come from someone
// else together with its folder. Every such file is therefore written below a
// directory that the user chose (the knowledge base's own directory, or the
// help directory), by a relative name none of whose parts may be a symbolic
// link: the walk opens one part after another without following links, so a
// folder link shipped with the knowledge base ("sub -> $HOME") cannot lead a
// write elsewhere. Only regular files are written; a named pipe, a device or
// a directory at the name is refused at once instead of blocking.
//
// Files are never left half written:
// - a replaced file (a help page, a name-value output) is written to a
//   temporary file in the same folder and renamed over the old one (or
//   exchanged with it, see TReplacing), so a reader sees the old or the
//   new content and two writers never mix;
// - an appended record (a report, an output row) is written with one call
//   under an exclusive advisory lock, and cut back off when the write fails
//   (a full disk, say), so the file ends with whole records.
//
// Failures come back as false with a short reason for the user, such as
// "No space left on device" or "a part of the name is a symbolic link".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvin {

// How a replaced file takes its place.
enum class TReplacing {
    // Renamed over the old file. Some file systems (ext4) then write the new
    // file's data out before the rename, so that a power failure soon after
    // leaves the old or the new content, not an empty file; that costs a
    // wait of about half a millisecond here.
    once,
    // For a file replaced again at every case of a batch: the new file and
    // the old one exchange their names, where the file system can, and the
    // old one is removed. Nothing waits for the disk; a power failure within
    // the next seconds may leave the file empty. A killed program leaves a
    // whole file as with `once` (and, at worst, the old file under a
    // temporary name).
    repeatedly,
};

// Replaces (or creates) `name` below `directory` with `bytes`. The old
// content stays whole when anything fails; the old file's permissions are
// kept.
bool ReplaceFile(const std::string &directory, const std::string &name, std::string_view bytes,
                 std::string &reason, TReplacing how = TReplacing::once);

// Removes the temporary files that the process `pid` left in `folder` while
// replacing files there, when it was killed in the middle (a job of a
// parallel batch that its run stopped at once).
void RemoveTemporariesOf(const std::string &folder, long pid);

// Appends `bytes` to `name` below `directory` as one record; the file is
// created when missing.
bool AppendRecord(const std::string &directory, const std::string &name, std::string_view bytes,
                  std::string &reason);

// Checks that `name` below `directory` is an existing regular file reached
// without a link, for writers that must open it by path (a database). Gives
// the file's device and inode, to compare with what they opened.
bool CheckExistingFile(const std::string &directory, const std::string &name, uint64_t &device,
                       uint64_t &inode, std::string &reason);

// An existing file held open for appending under an exclusive lock, for
// writers that read the file before they append (a relational table reads
// its header). The lock is released when the object is destroyed.
class CLockedAppend {
public:
    CLockedAppend() = default;
    ~CLockedAppend();
    CLockedAppend(const CLockedAppend &) = delete;
    CLockedAppend &operator=(const CLockedAppend &) = delete;

    // Opens and locks `name` below `directory`; the file must exist unless
    // `create` is set.
    bool Open(const std::string &directory, const std::string &name, bool create, std::string &reason);

    // The open file, for reading it; -1 when not open.
    int Descriptor() const { return descriptor; }
    // The file's size now.
    int64_t Size() const;
    // Reads up to `length` bytes from `offset`; fewer at the end of the file.
    std::string ReadAt(int64_t offset, int64_t length) const;
    // Cuts the file to `size` bytes.
    bool TruncateTo(int64_t size, std::string &reason);
    // Writes `bytes` at the end; on failure the file is cut back to where it
    // ended before.
    bool Append(std::string_view bytes, std::string &reason);
    // The same for a caller that knows where the file ends (`size`), having
    // read it under the lock.
    bool AppendAt(int64_t size, std::string_view bytes, std::string &reason);
    // Releases the lock and closes; false when closing reported an error.
    bool Close(std::string &reason);

private:
    int descriptor = -1;
};

}  // namespace quorvin
