#include "foundation/ini_option_store.h"

#include <cstdlib>
#include <fstream>

namespace {

constexpr const char *kOwnRoot = "\\software\\quorvin";
constexpr const char *kDefaultValueName = "Default";
constexpr const char *kRootSection = "General";

std::string Lower(std::string text) {
    for (char &c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

// The section of a key path, as the desktop store names it.
std::string Group(const std::string &keyPath) {
    std::string path = keyPath;
    const std::string root = kOwnRoot;
    const std::string lower = Lower(path);
    if (lower == root)
        path.clear();
    else if (lower.rfind(root + "\\", 0) == 0)
        path = path.substr(root.size() + 1);
    for (char &c : path)
        if (c == '\\') c = '/';
    while (!path.empty() && path.front() == '/') path.erase(0, 1);
    return path;
}

void AppendUtf8(std::string &out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool HexDigits(const std::string &text, size_t at, size_t count, unsigned long &code) {
    if (at + count > text.size()) return false;
    const std::string digits = text.substr(at, count);
    if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    code = std::strtoul(digits.c_str(), nullptr, 16);
    return true;
}

std::string Trimmed(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char Escaped(char c) {
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    default: return c;
    }
}

}  // namespace

std::string UnescapedIniName(const std::string &text) {
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned long code = 0;
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'U' && HexDigits(text, i + 2, 4, code)) {
            AppendUtf8(name, code);
            i += 5;
        } else if (text[i] == '%' && HexDigits(text, i + 1, 2, code)) {
            AppendUtf8(name, code);
            i += 2;
        } else {
            name += text[i] == '\\' ? '/' : text[i];
        }
    }
    return name;
}

std::string UnescapedIniValue(const std::string &text) {
    std::string value;
    const std::string given = Trimmed(text);
    bool quoted = false;
    for (size_t i = 0; i < given.size(); ++i) {
        const char c = given[i];
        unsigned long code = 0;
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
            break;
        } else if (c == '\\' && i + 1 < given.size()) {
            const char next = given[++i];
            if (next == 'x' && HexDigits(given, i + 1, 4, code)) {
                AppendUtf8(value, code);
                i += 4;
            } else {
                value += Escaped(next);
            }
        } else {
            value += c;
        }
    }
    // A text that begins with "@" is written with the "@" doubled, since a
    // single one marks a typed value.
    if (value.rfind("@@", 0) == 0) value.erase(0, 1);
    return value;
}

CIniOptionStore::CIniOptionStore(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    std::string line, section;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            section = UnescapedIniName(trimmed.substr(1, trimmed.size() - 2));
            if (section == kRootSection) section.clear();
            continue;
        }
        const size_t equals = trimmed.find('=');
        if (equals == std::string::npos) continue;
        // A name may itself hold slashes (written as backslashes): the
        // part before the last one belongs to the group.
        std::string full = UnescapedIniName(Trimmed(trimmed.substr(0, equals)));
        if (!section.empty()) full = section + "/" + full;
        const size_t slash = full.rfind('/');
        const std::string group = slash == std::string::npos ? std::string() : full.substr(0, slash);
        groups[group][full.substr(slash == std::string::npos ? 0 : slash + 1)] =
            UnescapedIniValue(trimmed.substr(equals + 1));
    }
}

std::string CIniOptionStore::UserOptionFile() {
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char *home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.config";
    }
    return base + "/Quorvin/quorvin.ini";
}

bool CIniOptionStore::KeyExists(const std::string &keyPath) const {
    const std::string group = Group(keyPath);
    for (const auto &entry : groups)
        if (entry.first == group || entry.first.rfind(group + "/", 0) == 0) return true;
    return false;
}

bool CIniOptionStore::ReadText(const std::string &keyPath, const std::string &valueName, std::string &value) const {
    auto group = groups.find(Group(keyPath));
    if (group == groups.end()) return false;
    auto found = group->second.find(valueName.empty() ? kDefaultValueName : valueName);
    if (found == group->second.end()) return false;
    value = found->second;
    return true;
}

bool CIniOptionStore::ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const {
    std::string text;
    if (!ReadText(keyPath, valueName, text)) return false;
    text = Lower(Trimmed(text));
    if (text != "true" && text != "1" && text != "false" && text != "0") return false;
    value = text == "true" || text == "1";
    return true;
}

std::vector<std::string> CIniOptionStore::ValueNamesOf(const std::string &keyPath) const {
    std::vector<std::string> names;
    auto group = groups.find(Group(keyPath));
    if (group == groups.end()) return names;
    for (const auto &entry : group->second) names.push_back(entry.first == kDefaultValueName ? "" : entry.first);
    return names;
}
