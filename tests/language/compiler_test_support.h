// Support for the compiler tests: a small registry of retrievers and
// translators whose parameter readers follow the reader contract of the
// compiler (so the tests do not depend on the question dialogs), a build that
// compiles a text into a fresh net, table and parameters with its help pages
// in a temporary directory, and file helpers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "net/params.h"
#include "language/diagnostic.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "retrieval/table.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/param_record.h"

namespace compiler_test {

// The numbers a fake translator read: one list for a choice table, two lists
// (points and probabilities) for a point table.
struct NumberLists : CParamRecord {
    std::vector<float> first;
    std::vector<float> second;
};

// The options a fake choice retriever read.
struct OptionList : CParamRecord {
    std::vector<std::string> options;
};

// How a fake translator reads its clause.
enum class TranslatorSyntax {
    none,        // reads nothing: the clause is "( )"
    pointTable,  // "((1, 2) (0, 1))": two lists of equal length, at least 2
    numberList   // "(0.1, 0.9)": one list up to the clause's ")", at least 1
};

class FakeTranslator : public CDataTranslator {
public:
    FakeTranslator(const char *translatorName, TranslatorSyntax translatorSyntax)
        : name(translatorName), syntax(translatorSyntax) {}
    int32_t Translate(CParamRecord *, CRetrievedData *, float &) override { return 2; }
    int32_t GetName(CString &translatorName) override;
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;

    int32_t readerCalls = 0;

private:
    const char *name;
    TranslatorSyntax syntax;
};

class FakeRetriever : public CDataRetriever {
public:
    FakeRetriever(const char *retrieverName, const char *translatorName, bool readsOptions)
        : name(retrieverName), translator(translatorName), options(readsOptions) {}
    void Cancel() override {}
    int32_t Retrieve(CNode *, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&) override { return 2; }
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
    // Option readers read "( Name-or-Text [,] ... )" like the choice questions.
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;

private:
    const char *name;
    const char *translator;
    bool options;
};

// The fake registry, shared by every build like the real one: translators
// notknown, prob, cf, value, valuex, choice and retrievers notknown, winprob,
// dnprob, wincf, winvalue, dnvalue, dbx, winchoice, dnchoice.
struct FakeRegistry {
    static FakeRegistry &Instance();
    CDataRetriever *Retriever(const char *name);
    CDataTranslator *Translator(const char *name);

    std::vector<FakeTranslator *> translators;
    std::vector<FakeRetriever *> retrievers;

private:
    FakeRegistry();
};

// A sink that keeps the lines written to it: the lines as a tool that reads
// the build sees them, and apart the detail lines (two leading spaces).
class LineLog : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *text) override {
        const std::string line(text);
        (line.rfind("  ", 0) == 0 ? details : lines).push_back(line);
    }
    std::vector<std::string> lines;
    std::vector<std::string> details;
};

// The names of the files in a directory, sorted.
std::vector<std::string> FilesIn(const std::filesystem::path &directory);

// A temporary directory, removed with everything in it at destruction; or a
// view of a directory that belongs to somebody else.
class TempDir {
public:
    TempDir();
    explicit TempDir(const std::filesystem::path &existing) : path(existing), owned(false) {}
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::filesystem::path &Path() const { return path; }
    std::string Str() const { return path.string(); }
    std::vector<std::string> Files() const { return FilesIn(path); }

private:
    std::filesystem::path path;
    bool owned = true;
};

// Enters the fake registry into a table, as the real one is copied.
void RegisterFakes(CTable &table);

// One build: fresh targets filled from the fake registry, compiled from a text
// whose knowledge-base directory is `sourceDir` (at first `helpDir`, so that
// help pages land in a fresh temporary directory).
struct Build {
    Build();
    // Pages go into a directory shared with other builds (cheaper in loops).
    explicit Build(const TempDir &shared);
    // Compiles `source` (which may hold any bytes); the result of Compile.
    int Compile(const std::string &source);

    CNode *Node(const char *name) { return net.FindNode(CString(name)); }
    CNodeRTInfo *RTInfo(const char *name) { return table.FindRTInfo(CString(name)); }
    // The one error line, or "" when no line was written.
    std::string Error() const { return lines.empty() ? std::string() : lines.front(); }

    CInfTaxNet net;
    CTable table;
    CParameters parameters;
    TempDir helpDir;
    std::string sourceDir;
    std::vector<std::string> lines;    // without the detail lines
    std::vector<std::string> details;  // the lines that begin with two spaces
    std::optional<CDiagnostic> diagnostic;
    int32_t errorPosition = 0;  // the source position where compiling stopped
};

// The retrievers attached to a node, in order; empty without a run-time record.
std::vector<CDataRetriever *> RetrieversOf(Build &build, const char *node);

// "[Error at line N] message".
std::string ErrorLine(int line, const std::string &message);

// Splits an error line into its line number and message; false when the line
// does not have that form (a positive decimal number and a non-empty message).
bool ParseErrorLine(const std::string &line, long &number, std::string &message);

// The whole content of a file, byte for byte ("" when it cannot be read).
std::string ReadFile(const std::filesystem::path &path);

}  // namespace compiler_test
