// Case streams: `quorvin-cli run KB.qvb --cases FILE|-`.
//
// The knowledge base is built once; then every line of the input is one
// case, a JSON object
//
//   {"id": ANY, "answers": {NAME: ANSWER, ...}}
//
// and gives one result line, in input order, written and flushed before
// the next case is read:
//
//   {"id", "status", "statusText", "error", "goals": [{"name", "prior",
//    "current"[, "explanation"]}, ...]}
//
// NAME is a node, parameter or taxonomy name, ANSWER the text a user would
// type (a JSON number stands for its text); a question whose name has no
// answer is answered "Don't know". "status" is "ok", "error" or "aborted"
// for a consulted case, and "invalid" for a line that was not consulted (not
// JSON, not such an object, a name the knowledge base does not know); the
// stream goes on after every one of them. An answer the question refuses
// ends that case's consultation with "error". Memory does not grow with the
// stream; a line longer than kMaxCaseLine is dropped as invalid. The
// consultations write no files: no help pages, reports or output tables.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>

class CTextConsultation;

constexpr size_t kMaxCaseLine = 1024 * 1024;

struct CaseStreamOptions {
    bool explain = false;  // each goal with its explanation
};

// Consults every case of `cases`, writing the result lines to `results`;
// true when every case consulted ok.
bool RunCaseStream(CTextConsultation &consultation, std::istream &cases, std::ostream &results,
                   const CaseStreamOptions &options);

// The `run` command: builds the knowledge base (its build lines go to
// standard error), then runs the stream of `casesPath` ("-" for standard
// input) to standard output. The exit status: 0 when every case consulted
// ok, 1 when the build failed, 2 when a case did not, 64 when the cases
// cannot be read.
int RunCases(const std::string &knowledgeBase, const std::string &casesPath, const CaseStreamOptions &options);
