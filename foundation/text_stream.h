// CTextStream: a C stream that writes into memory.
//
// Writers that format with fprintf (the consultation reports) compose a whole
// record in one of these, and the record is then written to its file with a
// single call (see foundation/safe_file.h), so that a file never receives
// half a record.
#pragma once

#include <cstdio>
#include <string>

namespace quorvin {

class CTextStream {
public:
    CTextStream();
    ~CTextStream();
    CTextStream(const CTextStream &) = delete;
    CTextStream &operator=(const CTextStream &) = delete;

    // The stream to write to; null when no memory could be had.
    std::FILE *Stream() const { return stream; }
    // Everything written so far; the stream is closed and a fresh one opened.
    std::string Take();

private:
    void OpenStream();
    void CloseStream();

    std::FILE *stream = nullptr;
    char *buffer = nullptr;
    size_t size = 0;
};

}  // namespace quorvin
