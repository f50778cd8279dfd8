// An option store read from the desktop's settings file, for the console.
//
// The desktop keeps its options with Qt's settings in an INI file
// (~/.config/Quorvin/quorvin.ini, or below $XDG_CONFIG_HOME); the console,
// which links no Qt, reads the same file so that both see the same database
// aliases. The layout is the one the desktop writes: a key below
// "\Software\Quorvin" is a section ("\Software\Quorvin\Aliases" is
// [Aliases]), the empty value name is "Default", names are percent-escaped
// and values that need it are quoted with backslash escapes. The file is read
// once, when the store is made; the console never writes it, so every write
// is refused.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "foundation/option_store.h"

class CIniOptionStore : public IOptionStore {
public:
    // Reads the file at `path`; a missing or unreadable file is an empty store.
    explicit CIniOptionStore(const std::string &path);

    // Where the desktop keeps the user's options on this machine.
    static std::string UserOptionFile();

    bool KeyExists(const std::string &keyPath) const override;
    bool CreateKey(const std::string &) override { return false; }
    bool ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const override;
    bool WriteBool(const std::string &, const std::string &, bool) override { return false; }
    bool ReadText(const std::string &keyPath, const std::string &valueName, std::string &value) const override;
    bool WriteText(const std::string &, const std::string &, const std::string &) override { return false; }
    std::vector<std::string> ValueNamesOf(const std::string &keyPath) const override;
    bool RemoveValue(const std::string &, const std::string &) override { return false; }

private:
    std::map<std::string, std::map<std::string, std::string>> groups;  // group, then value name
};

// The parts of one INI line as the settings file writes them; exposed for
// tests. A name loses its percent escapes ("%20" is a blank, "%E9" the
// letter U+00E9 in UTF-8); a value loses its quotes and backslash escapes and
// the comment after a ";" outside quotes.
std::string UnescapedIniName(const std::string &text);
std::string UnescapedIniValue(const std::string &text);
