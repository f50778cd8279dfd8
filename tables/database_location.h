// Where a database alias leads: the engine and the location it opens.
//
// Aliases are kept in the option store: under `kAliasKey` the value named
// after the alias holds its location, under `kAliasEngineKey` the engine's
// name ("SQLite", "PostgreSQL", "dBASE"). An alias without an engine of its
// own, and a name that is no alias at all (then the name is the location),
// get the engine their location asks for:
//   - a PostgreSQL connection URI ("postgresql://...", "postgres://...") or a
//     keyword string of libpq ("host=/run/pg dbname=claims"): PostgreSQL;
//   - a directory (relative ones inside the knowledge base's folder): its
//     dBASE files are the tables;
//   - anything else: an SQLite file, relative ones inside the knowledge
//     base's folder.
// Locations may hold a password; `WithoutPassword` is what a user is shown.
#pragma once

#include <string>
#include <vector>

class IOptionStore;

enum class CEngineKind { Sqlite, Postgres, Dbase };

// The engine's name as stored and shown; and back, false for an unknown name.
const char *EngineKindName(CEngineKind kind);
bool EngineKindFromName(const std::string &name, CEngineKind &kind);

// True for a text libpq reads as a connection URI or keyword string.
bool IsPostgresLocation(const std::string &location);
// The location with any password taken out (of a URI's user part, of its
// parameters, of a keyword string), for messages and windows.
std::string WithoutPassword(const std::string &location);

// An alias as the user defined it.
struct CAliasDefinition {
    std::string name;
    CEngineKind kind = CEngineKind::Sqlite;
    std::string location;
};

// The aliases of an option store: the one registry of tables, batch
// iterators and the browser.
class CAliasRegistry {
public:
    explicit CAliasRegistry(IOptionStore *optionStore) : store(optionStore) {}

    static constexpr const char *kAliasKey = "\\Software\\Quorvin\\Aliases";
    static constexpr const char *kAliasEngineKey = "\\Software\\Quorvin\\AliasEngines";

    // Every alias, sorted by name.
    std::vector<CAliasDefinition> Aliases() const;
    // False when `name` is not an alias. An alias stored without an engine
    // gets the one its location's form suggests (a directory is not told
    // from a file here: that takes the file system, see CTableEnvironment).
    bool Find(const std::string &name, CAliasDefinition &alias, bool &engineGiven) const;
    // Adds or replaces an alias; false when the store refuses.
    bool Define(const CAliasDefinition &alias);
    // Removes an alias; false when the store refuses.
    bool Remove(const std::string &name);

private:
    IOptionStore *store;  // null: there are no aliases
};
