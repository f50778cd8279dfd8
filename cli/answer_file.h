// AnswerFile: scripted answers for a console consultation.
//
// Each line of the file is NAME<TAB>ANSWER: NAME is a node name (node
// questions), a parameter name (parameter questions) or a taxonomy name (the
// taxonomy question); ANSWER is exactly what a user would type at that
// question and may be empty. Everything after the first tab is the answer,
// including further tabs. Empty lines are skipped; a line without a tab is an
// error. A CR before the line end is dropped, so files written on Windows
// read the same. When a name appears twice, its first line counts.
#pragma once

#include <istream>
#include <map>
#include <optional>
#include <string>

class AnswerFile {
public:
    // Reads the file; false with a reason (naming the line) when it cannot be
    // read or a line is malformed.
    bool Load(const std::string &path, std::string &error);
    // Reads answers line by line from a stream, for the same rules; the
    // file is never held whole, whatever its size.
    bool Parse(std::istream &lines, std::string &error);

    std::optional<std::string> Find(const std::string &name) const;
    bool Empty() const { return answers.empty(); }

private:
    std::map<std::string, std::string> answers;
};
