// Fuzz target for the knowledge-base compiler.
//
// Arbitrary bytes are compiled into a fresh net, run-time table and parameter
// set, with a copy of the program's registry of retrievers and translators
// (so their parameter readers run too) and the help pages going into one
// scratch directory (scratch_file.h), emptied every few thousand inputs.
// Besides the sanitizers' checks it traps when the compiler breaks its
// promise: success writes no line; failure returns 2 and writes one
// "[Error at line N] message" line whose N lies within the source, followed
// at most by one line with the cause ("  column C: ...").
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "net/params.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"
#include "scratch_file.h"

namespace {

class LineLog : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

// Reads a decimal number of up to nine digits at `at`; false without one.
bool ReadNumber(const std::string &line, size_t &at, long &number) {
    const size_t start = at;
    number = 0;
    while (at < line.size() && at - start < 9 && line[at] >= '0' && line[at] <= '9')
        number = number * 10 + (line[at++] - '0');
    return at > start;
}

// "[Error at line N] message" with 1 <= N <= lines and a message.
bool IsErrorLine(const std::string &line, int32_t lines) {
    const char *head = "[Error at line ";
    const size_t headLength = std::strlen(head);
    if (line.compare(0, headLength, head) != 0) return false;
    size_t end = headLength;
    long number = 0;
    return ReadNumber(line, end, number) && number >= 1 && number <= lines && line.compare(end, 2, "] ") == 0 &&
           end + 2 < line.size();
}

// "  " and a cause, with "column C: " or "line L, column C: " before it
// when the cause has a place; L within the input, C from 1.
bool IsDetailLine(const std::string &line, int32_t lines) {
    if (line.size() <= 2 || line.compare(0, 2, "  ") != 0 || line[2] == ' ') return false;
    size_t at = 2;
    long number = 0;
    if (line.compare(at, 5, "line ") == 0) {
        at += 5;
        if (!ReadNumber(line, at, number) || number < 1 || number > lines) return false;
        if (line.compare(at, 2, ", ") != 0) return false;
        at += 2;
        if (line.compare(at, 7, "column ") != 0) return false;
    }
    if (line.compare(at, 7, "column ") == 0) {
        at += 7;
        if (!ReadNumber(line, at, number) || number < 1) return false;
        if (line.compare(at, 2, ": ") != 0) return false;
        at += 2;
    }
    return at < line.size();
}

constexpr uint32_t kInputsBetweenCleanups = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The registry asks no question (no windows) and its tables are never
    // opened while compiling.
    static CUserInterface *noWindows = new CUserInterface;
    static CTableEnvironment *environment = new CTableEnvironment;
    static CAllRetrieversWin *registry = new CAllRetrieversWin(*noWindows, *environment);
    static ScratchDirectory directory;
    const std::filesystem::path &pages = directory.path;
    std::string source(reinterpret_cast<const char *>(data), size);
    int32_t lines = 1;
    for (char c : source)
        if (c == '\n') ++lines;
    {
        CInfTaxNet net;
        CTable table;
        CParameters parameters;
        Require(registry->CopyIntoTable(&table) == 0);
        CPInputChar input(source.data(), static_cast<int32_t>(source.size()));
        LineLog log;
        CInfNetCompiler compiler(&input, &log);
        compiler.SetTargets(&net, &table, &parameters);
        compiler.SetSourceDirectory(CString(pages.string().c_str()));
        int result = compiler.Compile();
        if (result == 0) {
            Require(log.lines.empty());
        } else {
            Require(result == 2);
            // The error line, and the line with its cause when there is one.
            Require(log.lines.size() == 1 || log.lines.size() == 2);
            Require(IsErrorLine(log.lines[0], lines));
            if (log.lines.size() == 2) Require(IsDetailLine(log.lines[1], lines));
        }
    }
    // A page is written whole over any old one of its name, so the pages of
    // earlier inputs change nothing for later ones: the directory is only
    // emptied now and then, so that a long run does not fill it up.
    static uint32_t sinceEmptied = 0;
    if (++sinceEmptied < kInputsBetweenCleanups) return 0;
    sinceEmptied = 0;
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(pages, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
    return 0;
}
