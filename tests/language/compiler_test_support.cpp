#include "compiler_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#include "language/compiler.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"

namespace compiler_test {

namespace {

// Reads "Number [,] Number ... )" from the current token and leaves the ")"
// current. False at any other token, the end of the source included.
bool ReadNumberList(ITokenReader *compiler, std::vector<float> &numbers) {
    while (compiler->Token() != tokRightParen) {
        if (compiler->Token() != tokNumber) return false;
        numbers.push_back(static_cast<float>(compiler->Number()));
        if (compiler->Next() == tokComma) compiler->Next();
    }
    return true;
}

// Reads "( list ) ( list )" and leaves the token after the second ")".
bool ReadPointTable(ITokenReader *compiler, NumberLists &lists) {
    for (std::vector<float> *list : {&lists.first, &lists.second}) {
        if (compiler->Token() != tokLeftParen) return false;
        compiler->Next();
        if (!ReadNumberList(compiler, *list)) return false;
        compiler->Next();
    }
    return lists.first.size() >= 2 && lists.first.size() == lists.second.size();
}

}  // namespace

int32_t FakeTranslator::GetName(CString &translatorName) {
    translatorName = name;
    return 0;
}

int32_t FakeTranslator::ReadParameters(ITokenReader *compiler, CParamRecord *&data) {
    ++readerCalls;
    if (syntax == TranslatorSyntax::none) return 0;
    auto lists = std::make_unique<NumberLists>();
    bool read = syntax == TranslatorSyntax::pointTable
                    ? ReadPointTable(compiler, *lists)
                    : ReadNumberList(compiler, lists->first) && !lists->first.empty();
    if (!read) return 2;
    data = lists.release();
    return 0;
}

int32_t FakeRetriever::GetNames(CString &retrieverName, CString &translatorName) {
    retrieverName = name;
    translatorName = translator;
    return 0;
}

int32_t FakeRetriever::ReadParameters(ITokenReader *compiler, CParamRecord *&data) {
    if (!options) return 0;
    if (compiler->Next() != tokLeftParen) return 2;
    auto list = std::make_unique<OptionList>();
    compiler->Next();
    while (compiler->Token() != tokRightParen) {
        if (compiler->Token() != tokName && compiler->Token() != tokText) return 2;
        list->options.emplace_back(compiler->Text());
        if (compiler->Next() == tokComma) compiler->Next();
    }
    if (list->options.empty()) return 2;
    data = list.release();
    return 0;
}

FakeRegistry::FakeRegistry() {
    translators = {new FakeTranslator("notknown", TranslatorSyntax::none),
                   new FakeTranslator("prob", TranslatorSyntax::none),
                   new FakeTranslator("cf", TranslatorSyntax::none),
                   new FakeTranslator("value", TranslatorSyntax::pointTable),
                   new FakeTranslator("valuex", TranslatorSyntax::pointTable),
                   new FakeTranslator("choice", TranslatorSyntax::numberList)};
    retrievers = {new FakeRetriever("notknown", "notknown", false),
                  new FakeRetriever("winprob", "prob", false),
                  new FakeRetriever("dnprob", "prob", false),
                  new FakeRetriever("wincf", "cf", false),
                  new FakeRetriever("winvalue", "value", false),
                  new FakeRetriever("dnvalue", "value", false),
                  new FakeRetriever("dbx", "valuex", false),
                  new FakeRetriever("winchoice", "choice", true),
                  new FakeRetriever("dnchoice", "choice", true)};
}

FakeRegistry &FakeRegistry::Instance() {
    // Lives for the whole test run, as the real registry lives for the program.
    static FakeRegistry *registry = new FakeRegistry();
    return *registry;
}

CDataRetriever *FakeRegistry::Retriever(const char *name) {
    for (FakeRetriever *retriever : retrievers) {
        CString own, translator;
        retriever->GetNames(own, translator);
        if (own.Equals(name)) return retriever;
    }
    return nullptr;
}

CDataTranslator *FakeRegistry::Translator(const char *name) {
    for (FakeTranslator *translator : translators) {
        CString own;
        translator->GetName(own);
        if (own.Equals(name)) return translator;
    }
    return nullptr;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qv-compiler-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
    path = pattern;
}

TempDir::~TempDir() {
    if (!owned) return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> FilesIn(const std::filesystem::path &directory) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Build::Build() : sourceDir(helpDir.Str()) { RegisterFakes(table); }

Build::Build(const TempDir &shared) : helpDir(shared.Path()), sourceDir(helpDir.Str()) { RegisterFakes(table); }

void RegisterFakes(CTable &table) {
    FakeRegistry &registry = FakeRegistry::Instance();
    for (FakeTranslator *translator : registry.translators) table.RegisterTranslator(translator);
    for (FakeRetriever *retriever : registry.retrievers) table.RegisterRetriever(retriever);
}

int Build::Compile(const std::string &source) {
    CPInputChar input(source.data(), static_cast<int32_t>(source.size()));
    LineLog log;
    CInfNetCompiler compiler(&input, &log);
    compiler.SetTargets(&net, &table, &parameters);
    compiler.SetSourceDirectory(CString(sourceDir.c_str()));
    int result = compiler.Compile();
    lines = log.lines;
    details = log.details;
    diagnostic = compiler.Diagnostic();
    errorPosition = input.Pos();
    return result;
}

std::vector<CDataRetriever *> RetrieversOf(Build &build, const char *node) {
    std::vector<CDataRetriever *> retrievers;
    CNodeRTInfo *info = build.RTInfo(node);
    for (int32_t i = 0; info != nullptr && i < info->retrievers.Count(); ++i) retrievers.push_back(info->retrievers.At(i)->retriever);
    return retrievers;
}

std::string ErrorLine(int line, const std::string &message) {
    return "[Error at line " + std::to_string(line) + "] " + message;
}

bool ParseErrorLine(const std::string &line, long &number, std::string &message) {
    const std::string head = "[Error at line ";
    if (line.compare(0, head.size(), head) != 0) return false;
    size_t digits = head.size();
    size_t end = digits;
    number = 0;
    while (end < line.size() && end - digits < 9 && line[end] >= '0' && line[end] <= '9') number = number * 10 + (line[end++] - '0');
    if (end == digits || number < 1 || line.compare(end, 2, "] ") != 0 || end + 2 >= line.size()) return false;
    message = line.substr(end + 2);
    return true;
}

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace compiler_test
