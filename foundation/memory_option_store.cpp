#include "foundation/memory_option_store.h"

bool CMemoryOptionStore::KeyExists(const std::string &keyPath) const { return keys.count(keyPath) > 0; }

bool CMemoryOptionStore::CreateKey(const std::string &keyPath) {
    if (KeyExists(keyPath)) return true;
    if (refuseWrites) return false;
    keys.insert(keyPath);
    return true;
}

bool CMemoryOptionStore::ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const {
    auto found = flags.find({keyPath, valueName});
    if (found == flags.end()) return false;
    value = found->second;
    return true;
}

bool CMemoryOptionStore::WriteBool(const std::string &keyPath, const std::string &valueName, bool value) {
    if (refuseWrites) return false;
    keys.insert(keyPath);
    flags[{keyPath, valueName}] = value;
    return true;
}

bool CMemoryOptionStore::ReadText(const std::string &keyPath, const std::string &valueName, std::string &value) const {
    auto found = texts.find({keyPath, valueName});
    if (found == texts.end()) return false;
    value = found->second;
    return true;
}

bool CMemoryOptionStore::WriteText(const std::string &keyPath, const std::string &valueName, const std::string &value) {
    if (refuseWrites) return false;
    keys.insert(keyPath);
    texts[{keyPath, valueName}] = value;
    return true;
}

std::vector<std::string> CMemoryOptionStore::ValueNamesOf(const std::string &keyPath) const {
    std::set<std::string> names;
    for (const auto &entry : flags)
        if (entry.first.first == keyPath) names.insert(entry.first.second);
    for (const auto &entry : texts)
        if (entry.first.first == keyPath) names.insert(entry.first.second);
    return {names.begin(), names.end()};
}

bool CMemoryOptionStore::RemoveValue(const std::string &keyPath, const std::string &valueName) {
    if (refuseWrites) return false;
    flags.erase({keyPath, valueName});
    texts.erase({keyPath, valueName});
    return true;
}
