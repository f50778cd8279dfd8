// Reading the text files of the tables byte by byte.
//
// A table file is read as single bytes; the pair CR LF reads as one LF, so
// files written on Windows read the same (a lone CR is an ordinary byte, and
// Ctrl-Z has no meaning). Fields are read into texts of bounded length: what
// goes beyond the limit is read and dropped, never stored. A file stamp tells
// whether a file has changed since it was last read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "foundation/cstring.h"

class CTextFile {
public:
    static constexpr int kEnd = -1;  // what Get returns at the end of the file

    CTextFile() = default;
    ~CTextFile() { Close(); }
    CTextFile(const CTextFile &) = delete;
    CTextFile &operator=(const CTextFile &) = delete;

    // Opens the file for reading; false when it cannot be opened or is not
    // a regular file (a directory, say).
    bool Open(const std::string &path);
    // Reads a file that is already open, from its start, through a copy of
    // the descriptor (the caller keeps its own).
    bool OpenDescriptor(int descriptor);
    void Close();

    // True when something other than a regular file exists at the path (a
    // directory, a pipe, a device). Table files are tested before they are
    // opened: opening a named pipe would wait for a writer, and the
    // consultation would hang where no Abort reaches it.
    static bool IsNotRegularFile(const std::string &path);

    // The next byte (0..255), or kEnd.
    int Get();
    bool AtEnd();

    // Reads bytes up to the first `stop` byte (or `otherStop`, when it is
    // not kEnd) or the end of the file, and consumes the stopping byte.
    // `text` keeps at most `limit` of the bytes read. Returns the byte that
    // stopped the text, kEnd at the end of the file.
    int ReadUntil(int stop, int otherStop, int32_t limit, CString &text);
    // The same into `bytes`, a buffer the caller reuses: reading many fields
    // this way allocates nothing once the buffer has grown.
    int ReadUntil(int stop, int otherStop, int32_t limit, std::string &bytes);

private:
    std::FILE *file = nullptr;
};

// Identity and state of a file on disk: equal stamps mean that the file has
// not been replaced or written in between.
struct CFileStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    static CFileStamp Of(const std::string &path);
    // The same of a file already open.
    static CFileStamp OfDescriptor(int descriptor);
    bool operator==(const CFileStamp &other) const = default;
};
