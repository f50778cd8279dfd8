// The store in which the user's options are kept between runs.
//
// Options are booleans and texts addressed by a key path
// ("\Software\Quorvin\Global") and a value name ("AutoMaximize"); the empty
// value name is the key's own default value. Texts hold, for instance, the
// database aliases (alias name to location). The desktop application keeps
// them in a settings file (the native registry on Windows), which the console
// reads (foundation/ini_option_store.h); tests use the in-memory store.
#pragma once

#include <string>
#include <vector>

class IOptionStore {
public:
    virtual ~IOptionStore() = default;

    virtual bool KeyExists(const std::string &keyPath) const = 0;
    // Creates the key when it is missing; false when the store refuses.
    virtual bool CreateKey(const std::string &keyPath) = 0;
    // False when the key or the value is missing or cannot be read.
    virtual bool ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const = 0;
    // Writes the value, creating the key; false when the store refuses.
    virtual bool WriteBool(const std::string &keyPath, const std::string &valueName, bool value) = 0;
    // The same for texts.
    virtual bool ReadText(const std::string &keyPath, const std::string &valueName, std::string &value) const = 0;
    virtual bool WriteText(const std::string &keyPath, const std::string &valueName, const std::string &value) = 0;

    // The names of the values below a key (the aliases, say), sorted.
    virtual std::vector<std::string> ValueNamesOf(const std::string &keyPath) const = 0;
    // Removes a value; true when it is gone afterwards.
    virtual bool RemoveValue(const std::string &keyPath, const std::string &valueName) = 0;
};
