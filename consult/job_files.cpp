#include "consult/job_files.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

template <typename Number = int32_t>
std::optional<Number> WholeNumber(std::string_view text) {
    Number value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A result line's value on one line: line ends become spaces.
std::string OneLine(std::string text) {
    for (char &c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

std::optional<CShard> ParseJobPart(const std::string &text) {
    std::vector<std::optional<int32_t>> numbers;
    std::stringstream in(text);
    for (std::string piece; std::getline(in, piece, '/');) numbers.push_back(WholeNumber(piece));
    if (numbers.size() != 4) return std::nullopt;
    for (const auto &number : numbers)
        if (!number) return std::nullopt;
    const int32_t k = *numbers[0], n = *numbers[1], first = *numbers[2], length = *numbers[3];
    if (k < 1 || k > n || first < 0 || length < 1) return std::nullopt;
    return CShard{k - 1, n, true, first, length};
}

std::string JobPartText(const CShard &part) {
    return std::to_string(part.index + 1) + "/" + std::to_string(part.count) + "/" + std::to_string(part.first) + "/" +
           std::to_string(part.length);
}

std::string JobSpoolPath(const std::string &directory, int32_t index) {
    return directory + "/spool-" + std::to_string(index + 1);
}

std::string JobResultPath(const std::string &directory, int32_t index) {
    return directory + "/result-" + std::to_string(index + 1);
}

std::string JobOutputPath(const std::string &directory, int32_t index) {
    return directory + "/stdout-" + std::to_string(index + 1);
}

std::string JobErrorsPath(const std::string &directory, int32_t index) {
    return directory + "/stderr-" + std::to_string(index + 1);
}

bool WriteJobResult(const std::string &path, const JobResult &result) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "result " << result.result << "\naborted " << result.aborted << "\ndone " << result.casesDone
        << "\nfaults " << result.faultCount << "\nfirst " << OneLine(result.firstFault) << "\nerror "
        << OneLine(result.errorText) << "\ngoals " << result.anyGoalEnabled << "\nend\n";
    out.close();
    return static_cast<bool>(out);
}

std::optional<JobResult> ReadJobResult(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    JobResult result;
    bool complete = false;
    for (std::string line; std::getline(in, line);) {
        const size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (key == "end") complete = true;
        else if (key == "first") result.firstFault = value;
        else if (key == "error") result.errorText = value;
        else if (key == "faults") result.faultCount = WholeNumber<int64_t>(value).value_or(0);
        else if (auto number = WholeNumber(value)) {
            if (key == "result") result.result = *number;
            else if (key == "aborted") result.aborted = *number != 0;
            else if (key == "done") result.casesDone = *number;
            else if (key == "goals") result.anyGoalEnabled = *number != 0;
        }
    }
    if (!complete) return std::nullopt;
    return result;
}

