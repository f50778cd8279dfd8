// Fuzz target for the console's answers file.
//
// The input is the file; it is written once and loaded as `--answers FILE`
// loads it. Besides the sanitizers' checks it traps when a file is refused
// with a reason other than "PATH:N: expected NAME<TAB>ANSWER" for its first
// malformed line N, when a file without such a line is refused, or when an
// accepted file does not answer every name with the text after the tab of
// the name's first line (CR before the line end dropped, a zero byte read as
// "?").
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "answer_file.h"
#include "scratch_file.h"

namespace {

struct Expected {
    int malformedLine = 0;  // the first malformed line, 0 when there is none
    std::map<std::string, std::string> answers;
};

// The lines of the file as a user reads them.
Expected Read(const std::string &text) {
    Expected expected;
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        for (char &c : line)
            if (c == '\0') c = '?';
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) {
            expected.malformedLine = number;
            return expected;
        }
        expected.answers.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static ScratchFile file("answers.txt");
    file.Write(data, size);
    const Expected expected = Read(std::string(reinterpret_cast<const char *>(data), size));
    AnswerFile answers;
    std::string error;
    const bool loaded = answers.Load(file.path, error);
    if (expected.malformedLine != 0) {
        Require(!loaded);
        Require(error == file.path + ":" + std::to_string(expected.malformedLine) + ": expected NAME<TAB>ANSWER");
        return 0;
    }
    Require(loaded && error.empty());
    Require(answers.Empty() == expected.answers.empty());
    for (const auto &[name, answer] : expected.answers) {
        const auto found = answers.Find(name);
        Require(found.has_value() && *found == answer);
    }
    return 0;
}
