#include "app/desktop_settings.h"

#include <algorithm>
#include <thread>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "app/settings_option_store.h"

namespace {

constexpr const char *kDesktopKey = "\\Software\\Quorvin\\Desktop";

}  // namespace

TDesktopSettings::TDesktopSettings(CSettingsOptionStore *optionStore) : store(optionStore) {}

QString TDesktopSettings::Text(const char *name) const {
    std::string value;
    if (store == nullptr || !store->ReadText(kDesktopKey, name, value)) return QString();
    return QString::fromStdString(value);
}

void TDesktopSettings::SetText(const char *name, const QString &value) {
    if (store == nullptr) return;
    store->WriteText(kDesktopKey, name, value.toStdString());
}

bool TDesktopSettings::Flag(const char *name, bool missing) const {
    bool value = missing;
    if (store == nullptr || !store->ReadBool(kDesktopKey, name, value)) return missing;
    return value;
}

void TDesktopSettings::SetFlag(const char *name, bool value) {
    if (store != nullptr) store->WriteBool(kDesktopKey, name, value);
}

// Lists are kept as a JSON array of strings: any path survives, blanks,
// commas and newlines included.
QStringList TDesktopSettings::List(const char *name) const {
    QStringList values;
    for (const QJsonValue &value : QJsonDocument::fromJson(Text(name).toUtf8()).array())
        if (value.isString()) values.append(value.toString());
    return values;
}

void TDesktopSettings::SetList(const char *name, const QStringList &values) {
    SetText(name, QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact)));
}

QStringList TDesktopSettings::RecentFiles() const {
    QStringList files = List("RecentFiles");
    files.removeDuplicates();
    return files.mid(0, kMaxRecentFiles);
}

void TDesktopSettings::AddRecentFile(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    SetList("RecentFiles", files.mid(0, kMaxRecentFiles));
    if (store != nullptr) store->Sync();
}

void TDesktopSettings::RemoveRecentFile(const QString &path) {
    QStringList files = RecentFiles();
    files.removeAll(QFileInfo(path).absoluteFilePath());
    SetList("RecentFiles", files);
    if (store != nullptr) store->Sync();
}

bool TDesktopSettings::RestoreSession() const { return Flag("RestoreSession", true); }

void TDesktopSettings::SetRestoreSession(bool restore) { SetFlag("RestoreSession", restore); }

QByteArray TDesktopSettings::WindowGeometry() const {
    return QByteArray::fromBase64(Text("WindowGeometry").toLatin1());
}

void TDesktopSettings::SetWindowGeometry(const QByteArray &geometry) {
    SetText("WindowGeometry", QString::fromLatin1(geometry.toBase64()));
}

QStringList TDesktopSettings::OpenFiles() const { return List("OpenFiles"); }

void TDesktopSettings::SetOpenFiles(const QStringList &paths) { SetList("OpenFiles", paths); }

int TDesktopSettings::Decimals() const {
    bool ok = false;
    const int decimals = Text("Decimals").toInt(&ok);
    return ok && decimals >= 0 && decimals <= 9 ? decimals : kDefaultDecimals;
}

int TDesktopSettings::BatchJobs() const {
    bool ok = false;
    const int jobs = Text("BatchJobs").toInt(&ok);
    if (ok && jobs >= 1 && jobs <= kMaxBatchJobs) return jobs;
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxBatchJobs);
}

void TDesktopSettings::SetBatchJobs(int jobs) {
    SetText("BatchJobs", QString::number(std::clamp(jobs, 1, kMaxBatchJobs)));
}

void TDesktopSettings::SetDecimals(int decimals) {
    SetText("Decimals", QString::number(decimals >= 0 && decimals <= 9 ? decimals : kDefaultDecimals));
}

bool TDesktopSettings::ToolBarText() const { return Flag("ToolBarText", false); }

void TDesktopSettings::SetToolBarText(bool shown) { SetFlag("ToolBarText", shown); }
