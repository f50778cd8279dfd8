// The surroundings that every table of a consultation shares.
//
// Tables name their sources by texts taken from the knowledge base: file
// paths for the text tables, database aliases for the engine tables. A
// relative file path is resolved against the knowledge base's own directory,
// never against the process's current directory, so the front end sets
// `baseDirectory` before it consults. Aliases are defined in the option store
// (alias name to location, see tables/database_location.h); `engine` is the
// database engine the engine kinds talk to. The front end owns the environment and hands it to the
// registry that makes its tables (retrieval/all_retrievers.h); tests build
// their own and hand it to the tables they create.
#pragma once

#include <memory>
#include <string>

#include "foundation/cstring.h"
#include "tables/database_location.h"
#include "tables/shard.h"

class IOptionStore;
class CAppendGroups;
class CDatabaseEngine;

// Where an alias leads, files resolved: the engine, the location it opens
// (a file or directory path, or a PostgreSQL connection string), and whether
// the user defined the alias (a location the knowledge base names itself is
// written only inside its folder).
struct CDatabaseLocation {
    CEngineKind kind = CEngineKind::Sqlite;
    std::string location;
    bool definedAlias = false;
};

class CTableEnvironment {
public:
    CTableEnvironment();
    ~CTableEnvironment();
    CTableEnvironment(const CTableEnvironment &) = delete;
    CTableEnvironment &operator=(const CTableEnvironment &) = delete;

    // The path a table should open for `path`: an absolute path (one starting
    // with "/" or a drive letter) unchanged, a relative one inside
    // `baseDirectory` (or as given when no directory is set).
    std::string ResolvePath(const CString &path) const;

    // The engine and location of an alias (docs/databases.md); an empty
    // alias has an empty location.
    CDatabaseLocation Locate(const CString &alias) const;

    // The engine of the engine kinds: `engine` when set, else the engines
    // over this environment (SQLite, PostgreSQL, dBASE), each alias handed
    // to the one its location asks for.
    CDatabaseEngine &Engine();

    // Before the consultation waits for the user (a question, the taxonomy
    // list, a parameter): the engine output records grouped so far are
    // stored, so that no database stays locked while the user thinks.
    void BeforeWaitingForUser();

    CString baseDirectory;              // the knowledge base's directory; may be empty
    IOptionStore *aliasStore = nullptr; // where aliases are defined; null: none are
    CDatabaseEngine *engine = nullptr;  // not owned; null: the built-in SQLite engine
    CShard shard;                       // the part of a batch this run consults
    // Not owned; while set (during a consultation), engine output records
    // are appended in its groups.
    CAppendGroups *appendGroups = nullptr;

    // Where the aliases live in the option store: one text value per alias.
    static constexpr const char *kAliasKey = CAliasRegistry::kAliasKey;

private:
    std::unique_ptr<CDatabaseEngine> ownEngine;
};
