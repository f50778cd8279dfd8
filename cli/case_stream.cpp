#include "case_stream.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "consult/answer_map.h"
#include "consult/text_consultation.h"
#include "json_result.h"
#include "net/inf_tax_net.h"
#include "quiet_build.h"

namespace {

using nlohmann::ordered_json;

// One line of at most kMaxCaseLine bytes, without its line end (LF or
// CR LF); `tooLong` when more was read and dropped. False at the end.
bool ReadCaseLine(std::istream &in, std::string &line, bool &tooLong) {
    line.clear();
    tooLong = false;
    std::streambuf &buffer = *in.rdbuf();
    bool any = false;
    for (int c = buffer.sbumpc(); c != std::char_traits<char>::eof(); c = buffer.sbumpc()) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kMaxCaseLine)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

bool IsBlank(const std::string &line) { return line.find_first_not_of(" \t") == std::string::npos; }

// The answers of a case, or why they cannot be taken.
std::string ReadAnswers(const ordered_json &object, const CTextConsultation &consultation,
                        std::map<std::string, std::string> &answers) {
    const auto found = object.find("answers");
    if (found == object.end() || found->is_null()) return {};
    if (!found->is_object()) return "\"answers\" must be an object";
    for (const auto &[name, value] : found->items()) {
        if (value.is_string())
            answers[name] = value.get<std::string>();
        else if (value.is_number())
            answers[name] = value.dump();
        else
            return "the answer for " + name + " must be a string or a number";
        if (!consultation.Answerable(name)) return "no node, parameter or taxonomy is named " + name;
    }
    return {};
}

// The parser's message without its exception's tag.
std::string ParseMessage(const std::exception &error) {
    const std::string text = error.what();
    const size_t tag = text.find("] ");
    return tag == std::string::npos ? text : text.substr(tag + 2);
}

ordered_json Invalid(ordered_json id, size_t lineNumber, const std::string &error) {
    return {{"id", std::move(id)}, {"line", lineNumber}, {"status", "invalid"}, {"error", error}};
}

ordered_json Consulted(CTextConsultation &consultation, ordered_json id,
                       const std::map<std::string, std::string> &answers, const CaseStreamOptions &options) {
    CAnswerMap answerer(answers);
    const int32_t result = consultation.Run(answerer);
    const std::string error = answerer.Refusal().empty() ? consultation.LastError() : answerer.Refusal();
    const char *status = result == 0                                            ? "ok"
                         : answerer.Refusal().empty() && consultation.Aborted() ? "aborted"
                                                                                : "error";
    ordered_json json = {{"id", std::move(id)},
                         {"status", status},
                         {"statusText", consultation.LastStatus()},
                         {"error", error.empty() ? ordered_json() : ordered_json(error)}};
    ordered_json goals = ordered_json::array();
    const CInfTaxNet &net = consultation.Net();
    for (int32_t i = 0; i < net.goals.Count(); ++i)
        goals.push_back(GoalJson(*net.goals.At(i), consultation.Table(), options.explain));
    json["goals"] = std::move(goals);
    return json;
}

// The result of one line.
ordered_json CaseResult(CTextConsultation &consultation, const std::string &line, size_t lineNumber,
                        const CaseStreamOptions &options) {
    ordered_json object;
    try {
        object = ordered_json::parse(line);
    } catch (const ordered_json::parse_error &error) {
        return Invalid(nullptr, lineNumber, ParseMessage(error));
    }
    if (!object.is_object()) return Invalid(nullptr, lineNumber, "a case must be a JSON object");
    ordered_json id = object.contains("id") ? object["id"] : ordered_json();
    std::map<std::string, std::string> answers;
    if (std::string problem = ReadAnswers(object, consultation, answers); !problem.empty())
        return Invalid(std::move(id), lineNumber, problem);
    return Consulted(consultation, std::move(id), answers, options);
}

}  // namespace

bool RunCaseStream(CTextConsultation &consultation, std::istream &cases, std::ostream &results,
                   const CaseStreamOptions &options) {
    bool allOk = true;
    std::string line;
    bool tooLong = false;
    for (size_t lineNumber = 1; ReadCaseLine(cases, line, tooLong); ++lineNumber) {
        if (IsBlank(line) && !tooLong) continue;
        const ordered_json result =
            tooLong ? Invalid(nullptr, lineNumber, "the line is longer than " + std::to_string(kMaxCaseLine) + " bytes")
                    : CaseResult(consultation, line, lineNumber, options);
        allOk = allOk && result["status"] == "ok";
        // Names are bytes of any code page; bytes that are not UTF-8 are
        // replaced rather than failing the line.
        results << result.dump(-1, ' ', false, ordered_json::error_handler_t::replace) << '\n';
        results.flush();
    }
    return allOk;
}

int RunCases(const std::string &knowledgeBase, const std::string &casesPath, const CaseStreamOptions &options) {
    std::ifstream file;
    if (casesPath != "-") {
        file.open(casesPath, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "quorvin-cli: cannot read %s\n", casesPath.c_str());
            return 64;
        }
    }
    QuietBuild build(knowledgeBase);
    if (!build.Built()) return 1;
    std::ios::sync_with_stdio(false);
    std::istream &cases = casesPath == "-" ? std::cin : file;
    return RunCaseStream(build.Consultation(), cases, std::cout, options) ? 0 : 2;
}
