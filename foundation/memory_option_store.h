// An option store held in memory: for tests, and for front ends that keep
// no options between runs. It can be told to refuse every write, to stand
// for a store that cannot be written.
#pragma once

#include <map>
#include <set>
#include <string>

#include "foundation/option_store.h"

class CMemoryOptionStore : public IOptionStore {
public:
    bool KeyExists(const std::string &keyPath) const override;
    bool CreateKey(const std::string &keyPath) override;
    bool ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const override;
    bool WriteBool(const std::string &keyPath, const std::string &valueName, bool value) override;
    bool ReadText(const std::string &keyPath, const std::string &valueName, std::string &value) const override;
    bool WriteText(const std::string &keyPath, const std::string &valueName, const std::string &value) override;

    std::vector<std::string> ValueNamesOf(const std::string &keyPath) const override;
    bool RemoveValue(const std::string &keyPath, const std::string &valueName) override;

    void SetReadOnly(bool readOnly) { refuseWrites = readOnly; }

private:
    std::set<std::string> keys;
    std::map<std::pair<std::string, std::string>, bool> flags;
    std::map<std::pair<std::string, std::string>, std::string> texts;
    bool refuseWrites = false;
};
