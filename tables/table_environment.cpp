#include "tables/table_environment.h"

#include <sys/stat.h>

#include "foundation/written_file_name.h"
#include "tables/append_groups.h"
#include "tables/engine_router.h"

CTableEnvironment::CTableEnvironment() = default;
CTableEnvironment::~CTableEnvironment() = default;

std::string CTableEnvironment::ResolvePath(const CString &path) const {
    std::string given = path.Text();
    if (given.empty() || IsAbsoluteFileName(path.Text()) || baseDirectory.IsEmpty()) return given;
    std::string resolved = baseDirectory.Text();
    if (resolved.back() != '/') resolved += '/';
    return resolved + given;
}

CDatabaseLocation CTableEnvironment::Locate(const CString &alias) const {
    CDatabaseLocation found;
    CAliasDefinition defined;
    bool engineGiven = false;
    found.definedAlias = CAliasRegistry(aliasStore).Find(alias.Text(), defined, engineGiven);
    found.location = found.definedAlias ? defined.location : alias.Text();
    if (found.location.empty()) return found;
    found.kind = found.definedAlias ? defined.kind : CEngineKind::Sqlite;
    if (IsPostgresLocation(found.location)) {
        if (!engineGiven) found.kind = CEngineKind::Postgres;
        return found;
    }
    found.location = ResolvePath(CString(found.location.c_str()));
    struct stat info;
    if (!engineGiven && ::stat(found.location.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        found.kind = CEngineKind::Dbase;
    return found;
}

CDatabaseEngine &CTableEnvironment::Engine() {
    if (engine != nullptr) return *engine;
    if (!ownEngine) ownEngine = std::make_unique<CEngineRouter>(*this);
    return *ownEngine;
}

void CTableEnvironment::BeforeWaitingForUser() {
    if (appendGroups != nullptr) appendGroups->Pause();
}
