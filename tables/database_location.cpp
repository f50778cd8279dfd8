#include "tables/database_location.h"

#include <libpq-fe.h>
#include <strings.h>

#include "foundation/option_store.h"

namespace {

struct CEngineName {
    CEngineKind kind;
    const char *name;
};

constexpr CEngineName kEngineNames[] = {
    {CEngineKind::Sqlite, "SQLite"}, {CEngineKind::Postgres, "PostgreSQL"}, {CEngineKind::Dbase, "dBASE"}};

bool StartsWith(const std::string &text, const char *prefix) {
    return strncasecmp(text.c_str(), prefix, std::char_traits<char>::length(prefix)) == 0;
}

bool IsUri(const std::string &location) {
    return StartsWith(location, "postgresql://") || StartsWith(location, "postgres://");
}

// A URI's "user:password@" loses ":password"; a "password=" parameter goes.
std::string UriWithoutPassword(std::string uri) {
    const size_t authority = uri.find("://") + 3;
    const size_t end = uri.find_first_of("/?", authority);
    const size_t at = uri.rfind('@', end == std::string::npos ? std::string::npos : end);
    if (at != std::string::npos && at >= authority) {
        const size_t colon = uri.find(':', authority);
        if (colon != std::string::npos && colon < at) uri.erase(colon, at - colon);
    }
    const size_t query = uri.find('?');
    if (query == std::string::npos) return uri;
    std::string kept;
    size_t start = query + 1;
    while (start <= uri.size()) {
        size_t next = uri.find('&', start);
        if (next == std::string::npos) next = uri.size();
        const std::string parameter = uri.substr(start, next - start);
        if (!parameter.empty() && !StartsWith(parameter, "password="))
            kept += (kept.empty() ? "" : "&") + parameter;
        start = next + 1;
    }
    return uri.substr(0, query) + (kept.empty() ? "" : "?" + kept);
}

// The end of a keyword string's value that starts at `at`: a quoted value
// runs to its closing quote (a backslash escapes), a plain one to a blank.
size_t ValueEnd(const std::string &text, size_t at) {
    if (at < text.size() && text[at] == '\'') {
        for (size_t i = at + 1; i < text.size(); ++i) {
            if (text[i] == '\\') ++i;
            else if (text[i] == '\'') return i + 1;
        }
        return text.size();
    }
    while (at < text.size() && text[at] != ' ' && text[at] != '\t') {
        if (text[at] == '\\') ++at;
        ++at;
    }
    return at < text.size() ? at : text.size();
}

std::string KeywordsWithoutPassword(const std::string &text) {
    std::string kept;
    size_t at = 0;
    while (at < text.size()) {
        const size_t keyStart = text.find_first_not_of(" \t", at);
        if (keyStart == std::string::npos) break;
        const size_t equals = text.find('=', keyStart);
        if (equals == std::string::npos) {
            kept += (kept.empty() ? "" : " ") + text.substr(keyStart);
            break;
        }
        const std::string keyword = text.substr(keyStart, text.find_first_of(" \t=", keyStart) - keyStart);
        const size_t valueStart = text.find_first_not_of(" \t", equals + 1);
        const size_t end = ValueEnd(text, valueStart == std::string::npos ? text.size() : valueStart);
        if (keyword != "password") kept += (kept.empty() ? "" : " ") + text.substr(keyStart, end - keyStart);
        at = end;
    }
    return kept;
}

}  // namespace

const char *EngineKindName(CEngineKind kind) {
    for (const CEngineName &entry : kEngineNames)
        if (entry.kind == kind) return entry.name;
    return "SQLite";
}

bool EngineKindFromName(const std::string &name, CEngineKind &kind) {
    for (const CEngineName &entry : kEngineNames) {
        if (strcasecmp(entry.name, name.c_str()) == 0) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

bool IsPostgresLocation(const std::string &location) {
    if (IsUri(location)) return true;
    if (location.find('=') == std::string::npos) return false;
    // libpq itself decides: unknown keywords or broken quoting are no
    // connection string, so "a=b.db" stays an SQLite file.
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(location.c_str(), &error);
    PQfreemem(error);
    if (options == nullptr) return false;
    PQconninfoFree(options);
    return true;
}

std::string WithoutPassword(const std::string &location) {
    if (IsUri(location)) return UriWithoutPassword(location);
    if (IsPostgresLocation(location)) return KeywordsWithoutPassword(location);
    return location;
}

std::vector<CAliasDefinition> CAliasRegistry::Aliases() const {
    std::vector<CAliasDefinition> aliases;
    if (store == nullptr) return aliases;
    for (const std::string &name : store->ValueNamesOf(kAliasKey)) {
        CAliasDefinition alias;
        bool engineGiven = false;
        if (!name.empty() && Find(name, alias, engineGiven)) aliases.push_back(alias);
    }
    return aliases;
}

bool CAliasRegistry::Find(const std::string &name, CAliasDefinition &alias, bool &engineGiven) const {
    engineGiven = false;
    if (store == nullptr || name.empty() || !store->ReadText(kAliasKey, name, alias.location)) return false;
    alias.name = name;
    std::string engine;
    engineGiven = store->ReadText(kAliasEngineKey, name, engine) && EngineKindFromName(engine, alias.kind);
    if (!engineGiven) alias.kind = IsPostgresLocation(alias.location) ? CEngineKind::Postgres : CEngineKind::Sqlite;
    return true;
}

bool CAliasRegistry::Define(const CAliasDefinition &alias) {
    return store != nullptr && !alias.name.empty() && store->WriteText(kAliasKey, alias.name, alias.location) &&
           store->WriteText(kAliasEngineKey, alias.name, EngineKindName(alias.kind));
}

bool CAliasRegistry::Remove(const std::string &name) {
    return store != nullptr && store->RemoveValue(kAliasKey, name) && store->RemoveValue(kAliasEngineKey, name);
}
