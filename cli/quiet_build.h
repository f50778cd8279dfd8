// QuietBuild: a knowledge base named on the command line, built for a
// command that asks nothing on the terminal (a case stream, a merge). Its
// build lines, and the reason a file cannot be read, go to standard error,
// so that standard output carries only the command's own output. It writes
// no files (help pages, reports, output tables), and finds the database
// aliases the user defined, as consult does.
#pragma once

#include <memory>
#include <string>

#include "consult/text_consultation.h"
#include "foundation/ini_option_store.h"
#include "language/input_char.h"

class QuietBuild {
public:
    explicit QuietBuild(const std::string &path);

    // False too for a file that failed while it was read: whatever was built
    // of its first part is not the knowledge base.
    bool Built() const { return text && text->ReadProblem().empty() && consultation->Built(); }
    CTextConsultation &Consultation() { return *consultation; }
    // The folder of the knowledge base ("" for the current one).
    const std::string &Directory() const { return directory; }

private:
    std::string directory;
    std::unique_ptr<CPInputChar> text;
    CIniOptionStore aliases;
    std::unique_ptr<CTextConsultation> consultation;
};
