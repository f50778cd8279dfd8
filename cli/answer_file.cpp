#include "answer_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <cstring>
#include <fstream>

bool AnswerFile::Load(const std::string &path, std::string &error) {
    std::error_code status;
    if (std::filesystem::is_directory(path, status)) {
        error = path + ": " + std::strerror(EISDIR);
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    if (!Parse(in, error)) {
        error = path + ":" + error;
        return false;
    }
    return true;
}

bool AnswerFile::Parse(std::istream &lines, std::string &error) {
    std::string line;
    for (int64_t number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        // As on the terminal, a zero byte would end the answer there; it
        // reads as "?", which no question takes for a number.
        std::replace(line.begin(), line.end(), '\0', '?');
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) {
            error = std::to_string(number) + ": expected NAME<TAB>ANSWER";
            return false;
        }
        answers.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return true;
}

std::optional<std::string> AnswerFile::Find(const std::string &name) const {
    auto found = answers.find(name);
    if (found == answers.end()) return std::nullopt;
    return found->second;
}
