#include "tables/table_environment.h"

#include <cctype>

#include "tables/sqlite_engine.h"

CTableEnvironment::CTableEnvironment() = default;
CTableEnvironment::~CTableEnvironment() = default;

static bool IsAbsolutePath(const char *path) {
    if (path[0] == '/' || path[0] == '\\') return true;
    return std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string CTableEnvironment::ResolvePath(const CString &path) const {
    std::string given = path.Text();
    if (given.empty() || IsAbsolutePath(path.Text()) || baseDirectory.IsEmpty()) return given;
    std::string resolved = baseDirectory.Text();
    if (resolved.back() != '/') resolved += '/';
    return resolved + given;
}

CDatabaseEngine &CTableEnvironment::Engine() {
    if (engine != nullptr) return *engine;
    if (!ownEngine) ownEngine = std::make_unique<CSqliteEngine>(*this);
    return *ownEngine;
}

CTableEnvironment &TableEnvironment() {
    static CTableEnvironment environment;
    return environment;
}
