// The surroundings that every table of a consultation shares.
//
// Tables name their sources by texts taken from the knowledge base: file
// paths for the text tables, database aliases for the engine tables. A
// relative file path is resolved against the knowledge base's own directory,
// never against the process's current directory, so the front end sets
// `baseDirectory` before it consults. Aliases are defined in the option store
// (alias name to database file); `engine` is the database engine the engine
// kinds talk to. The front end owns the environment and hands it to the
// registry that makes its tables (retrieval/all_retrievers.h); tests build
// their own and hand it to the tables they create.
#pragma once

#include <memory>
#include <string>

#include "foundation/cstring.h"

class IOptionStore;
class CDatabaseEngine;

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

    // The engine of the engine kinds: `engine` when set, else an SQLite
    // engine over this environment, created on first use.
    CDatabaseEngine &Engine();

    CString baseDirectory;              // the knowledge base's directory; may be empty
    IOptionStore *aliasStore = nullptr; // where aliases are defined; null: none are
    CDatabaseEngine *engine = nullptr;  // not owned; null: the built-in SQLite engine

    // Where the aliases live in the option store: one text value per alias.
    static constexpr const char *kAliasKey = "\\Software\\Quorvin\\Aliases";

private:
    std::unique_ptr<CDatabaseEngine> ownEngine;
};
