#include "tables/table_environment.h"

#include "foundation/written_file_name.h"
#include "tables/sqlite_engine.h"

CTableEnvironment::CTableEnvironment() = default;
CTableEnvironment::~CTableEnvironment() = default;

std::string CTableEnvironment::ResolvePath(const CString &path) const {
    std::string given = path.Text();
    if (given.empty() || IsAbsoluteFileName(path.Text()) || baseDirectory.IsEmpty()) return given;
    std::string resolved = baseDirectory.Text();
    if (resolved.back() != '/') resolved += '/';
    return resolved + given;
}

CDatabaseEngine &CTableEnvironment::Engine() {
    if (engine != nullptr) return *engine;
    if (!ownEngine) ownEngine = std::make_unique<CSqliteEngine>(*this);
    return *ownEngine;
}
