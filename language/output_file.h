// CPOutputFile: a line sink that writes a text file.
//
// The help builder writes each help page through one of these. The file is
// created (or truncated) when the sink is constructed and closed when it is
// destroyed; every line ends with a single LF.
#pragma once

#include "language/output.h"

#include <cstdio>

class CPOutputFile : public CPOutput {
public:
    explicit CPOutputFile(const char *path);
    ~CPOutputFile() override;
    CPOutputFile(const CPOutputFile &) = delete;
    CPOutputFile &operator=(const CPOutputFile &) = delete;

    // 0 when the file could be created, 2 otherwise.
    int Open() override;
    // Writes the text and a line end; does nothing when the file is not open.
    void WriteLine(const char *text) override;

private:
    std::FILE *file;  // owned; null when the file could not be created
};
