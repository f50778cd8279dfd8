// CSettingsOptionStore: the user's options kept in a QSettings store.
//
// Key paths are the registry's ("\Software\Quorvin\Global"); value names
// are kept as they are, and the empty value name (a key's own default value)
// is stored as "Default", which is what the native registry format calls it.
// On Windows the store is the registry below HKEY_CURRENT_USER, so the keys
// are exactly those paths. Elsewhere it is an INI file (by default
// ~/.config/Quorvin/quorvin.ini) that stands for "\Software\Quorvin": a key
// below it becomes a group ("\Software\Quorvin\Global" is [Global]), and any
// other key keeps its whole path.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "foundation/option_store.h"

class CSettingsOptionStore : public IOptionStore {
public:
    // The user's own store.
    CSettingsOptionStore();
    // An INI file at `path` (tests, portable installations).
    explicit CSettingsOptionStore(const QString &iniPath);

    bool KeyExists(const std::string &keyPath) const override;
    bool CreateKey(const std::string &keyPath) override;
    bool ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const override;
    bool WriteBool(const std::string &keyPath, const std::string &valueName, bool value) override;
    bool ReadText(const std::string &keyPath, const std::string &valueName, std::string &value) const override;
    bool WriteText(const std::string &keyPath, const std::string &valueName, const std::string &value) override;

    std::vector<std::string> ValueNamesOf(const std::string &keyPath) const override;
    bool RemoveValue(const std::string &keyPath, const std::string &valueName) override;

    // The names of the values below a key, sorted; the default value is
    // reported as the empty name.
    QStringList ValueNames(const std::string &keyPath) const;
    // Writes what is pending to the file; false when it cannot be written.
    bool Sync();
    // The file or registry path the options live in.
    QString Location() const { return settings->fileName(); }

    // The settings key of a value: the group of the key path, "/", the name.
    static QString SettingsKey(const std::string &keyPath, const std::string &valueName);

private:
    std::unique_ptr<QSettings> settings;
};
