#include "app/settings_option_store.h"

#include <QVariant>

namespace {

constexpr const char *kOwnRoot = "\\Software\\Quorvin";
constexpr const char *kDefaultValueName = "Default";

// The settings group of a key path: backslashes become slashes, and on the
// INI file the product's own root is dropped.
QString Group(const std::string &keyPath) {
    QString path = QString::fromStdString(keyPath);
#ifndef Q_OS_WIN
    const QString root = QString::fromLatin1(kOwnRoot);
    if (path.compare(root, Qt::CaseInsensitive) == 0)
        path.clear();
    else if (path.startsWith(root + "\\", Qt::CaseInsensitive))
        path = path.mid(root.length() + 1);
#endif
    path.replace('\\', '/');
    while (path.startsWith('/')) path.remove(0, 1);
    return path;
}

// A stored flag: QSettings gives INI values back as texts.
bool ToFlag(const QVariant &stored, bool &value) {
    if (stored.typeId() == QMetaType::Bool) {
        value = stored.toBool();
        return true;
    }
    const QString text = stored.toString().trimmed().toLower();
    if (text == "true" || text == "1") {
        value = true;
        return true;
    }
    if (text == "false" || text == "0") {
        value = false;
        return true;
    }
    return false;
}

}  // namespace

CSettingsOptionStore::CSettingsOptionStore() {
#ifdef Q_OS_WIN
    settings = std::make_unique<QSettings>("HKEY_CURRENT_USER", QSettings::NativeFormat);
#else
    settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Quorvin", "quorvin");
#endif
}

CSettingsOptionStore::CSettingsOptionStore(const QString &iniPath)
    : settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QString CSettingsOptionStore::SettingsKey(const std::string &keyPath, const std::string &valueName) {
    const QString group = Group(keyPath);
    const QString name = valueName.empty() ? QString::fromLatin1(kDefaultValueName) : QString::fromStdString(valueName);
    return group.isEmpty() ? name : group + "/" + name;
}

bool CSettingsOptionStore::KeyExists(const std::string &keyPath) const {
    const QString group = Group(keyPath);
    if (group.isEmpty()) return !settings->allKeys().isEmpty();
    settings->beginGroup(group);
    const bool exists = !settings->childKeys().isEmpty() || !settings->childGroups().isEmpty();
    settings->endGroup();
    return exists;
}

bool CSettingsOptionStore::CreateKey(const std::string &) {
    // A settings store holds no empty keys; a key comes to exist with its
    // first value. What can fail is writing at all.
    return settings->isWritable();
}

bool CSettingsOptionStore::ReadBool(const std::string &keyPath, const std::string &valueName, bool &value) const {
    const QString key = SettingsKey(keyPath, valueName);
    if (!settings->contains(key)) return false;
    return ToFlag(settings->value(key), value);
}

bool CSettingsOptionStore::WriteBool(const std::string &keyPath, const std::string &valueName, bool value) {
    if (!settings->isWritable()) return false;
    settings->setValue(SettingsKey(keyPath, valueName), value);
    return true;
}

bool CSettingsOptionStore::ReadText(const std::string &keyPath, const std::string &valueName,
                                    std::string &value) const {
    const QString key = SettingsKey(keyPath, valueName);
    if (!settings->contains(key)) return false;
    value = settings->value(key).toString().toStdString();
    return true;
}

bool CSettingsOptionStore::WriteText(const std::string &keyPath, const std::string &valueName,
                                     const std::string &value) {
    if (!settings->isWritable()) return false;
    settings->setValue(SettingsKey(keyPath, valueName), QString::fromStdString(value));
    return true;
}

QStringList CSettingsOptionStore::ValueNames(const std::string &keyPath) const {
    const QString group = Group(keyPath);
    if (!group.isEmpty()) settings->beginGroup(group);
    QStringList names = settings->childKeys();
    if (!group.isEmpty()) settings->endGroup();
    for (QString &name : names)
        if (name == kDefaultValueName) name.clear();
    names.sort();
    return names;
}

std::vector<std::string> CSettingsOptionStore::ValueNamesOf(const std::string &keyPath) const {
    std::vector<std::string> names;
    for (const QString &name : ValueNames(keyPath)) names.push_back(name.toStdString());
    return names;
}

bool CSettingsOptionStore::RemoveValue(const std::string &keyPath, const std::string &valueName) {
    if (!settings->isWritable()) return false;
    settings->remove(SettingsKey(keyPath, valueName));
    return true;
}

bool CSettingsOptionStore::Sync() {
    settings->sync();
    return settings->status() == QSettings::NoError;
}
