#include "app/file_type_registration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr const char *kMimePackageName = "quorvin-qvb.xml";
constexpr const char *kDesktopEntryName = "quorvin.desktop";
// Long enough for a slow disk, short enough not to hang the start-up.
constexpr int kToolTimeoutMs = 20000;

QString MimePackagePath() { return UserDataDirectory() + "/mime/packages/" + kMimePackageName; }
QString DesktopEntryPath() { return UserDataDirectory() + "/applications/" + kDesktopEntryName; }

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

// Writes the whole file or nothing.
bool WriteFileAtomically(const QString &path, const QString &text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Runs a cache tool over a directory when the tool is installed. The files
// are in place either way; a cache that is not refreshed only delays the
// desktop's noticing them, so the outcome is not the registration's.
void RefreshCache(const char *tool, const QString &directory) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, {directory});
    if (process.waitForStarted()) process.waitForFinished(kToolTimeoutMs);
}

#ifdef Q_OS_WIN
// The registry keys below one classes root ("HKEY_CLASSES_ROOT" or
// "HKEY_LOCAL_MACHINE\SOFTWARE\Classes").
bool WriteRegistryKeys(const QString &root, const QString &programPath) {
    QSettings classes(root, QSettings::NativeFormat);
    classes.setValue(".qvb/Default", "qvb_file");
    classes.setValue("qvb_file/Default", "Quorvin Knowledge Base");
    classes.setValue("qvb_file/shell/open/Default", "");
    classes.setValue("qvb_file/shell/open/command/Default",
                     QDir::toNativeSeparators(programPath) + " \"%1\"");
    classes.sync();
    return classes.status() == QSettings::NoError;
}
#endif

}  // namespace

QString UserDataDirectory() {
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return QDir::cleanPath(configured);
    return QDir::homePath() + "/.local/share";
}

QString MimePackageText() {
    return QString(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>Quorvin Knowledge Base</comment>\n"
               "    <sub-class-of type=\"text/plain\"/>\n"
               "    <glob pattern=\"*.qvb\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(kKnowledgeBaseMimeType);
}

QString DesktopExecArgument(const QString &programPath) {
    // Inside double quotes the format reserves ", `, $ and \, each escaped
    // with a backslash; "%" stands for itself only when doubled. The entry
    // file's own string escaping then doubles every backslash once more.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument = programPath;
    argument.replace("%", "%%");
    bool needsQuotes = false;
    for (const QChar c : argument) needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes) return argument;
    QString quoted;
    for (const QChar c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted.replace("\\", "\\\\");
    return "\"" + quoted + "\"";
}

QString DesktopEntryText(const QString &programPath) {
    return QString(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Quorvin\n"
               "Comment=Quorvin Knowledge Base\n"
               "Exec=%1 %F\n"
               "MimeType=%2;\n"
               "Terminal=false\n"
               "Categories=Development;\n")
        .arg(DesktopExecArgument(programPath), kKnowledgeBaseMimeType);
}

bool FileTypeRegistered(const QString &programPath) {
#ifdef Q_OS_WIN
    QSettings classes("HKEY_CLASSES_ROOT", QSettings::NativeFormat);
    return classes.contains(".qvb/Default") &&
           classes.value("qvb_file/shell/open/command/Default").toString() ==
               QDir::toNativeSeparators(programPath) + " \"%1\"";
#else
    return ReadAll(MimePackagePath()) == MimePackageText().toUtf8() &&
           ReadAll(DesktopEntryPath()) == DesktopEntryText(programPath).toUtf8();
#endif
}

bool InstalledSystemWide(const QString &programPath) {
    const QFileInfo program(programPath);
    QDir prefix = program.absoluteDir();
    if (prefix.dirName() != "bin" || !prefix.cdUp()) return false;
    return QFileInfo(prefix.filePath("share/applications/quorvin.desktop")).isFile() &&
           QFileInfo(prefix.filePath("share/mime/packages/quorvin.xml")).isFile();
}

bool RegisterFileType(const QString &programPath) {
#ifdef Q_OS_WIN
    return WriteRegistryKeys("HKEY_CLASSES_ROOT", programPath) &&
           WriteRegistryKeys("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", programPath);
#else
    if (!WriteFileAtomically(MimePackagePath(), MimePackageText())) return false;
    if (!WriteFileAtomically(DesktopEntryPath(), DesktopEntryText(programPath))) return false;
    RefreshCache("update-mime-database", UserDataDirectory() + "/mime");
    RefreshCache("update-desktop-database", UserDataDirectory() + "/applications");
    return true;
#endif
}
