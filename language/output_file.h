// CPOutputFile: a line sink that writes a text file as a whole.
//
// The help builder writes each help page through one of these. The lines are
// collected in memory and the file is written when the sink is closed: it
// replaces the old file at once (see foundation/safe_file.h), so a failed
// write (a full disk, a refused name) leaves the old page whole and is
// reported by Close. Every line ends with a single LF.
#pragma once

#include "language/output.h"

#include <string>

class CPOutputFile : public CPOutput {
public:
    // The file `name` below `directory` ("" is the current directory); the
    // name may hold folders, none of which may be a link.
    CPOutputFile(std::string directory, std::string name);

    // Always 0: the file is written by Close.
    int Open() override;
    // Adds the text and a line end.
    void WriteLine(const char *text) override;
    // Writes the file; 0, or 2 with the reason in `failure`.
    int Close();
    const std::string &Failure() const { return failure; }

private:
    std::string directory;
    std::string name;
    std::string text;
    std::string failure;
};
