// Registration of the knowledge-base file type (*.qvb) with the desktop, so
// that opening such a file starts this program with the file.
//
// On Windows the association lives in the registry: the keys ".qvb",
// "qvb_file", "qvb_file\shell\open\command" (the program's path, a blank and
// "%1" in double quotes), below HKEY_CLASSES_ROOT and again below
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes. Elsewhere it is a per-user
// freedesktop registration below the user's data directory ($XDG_DATA_HOME,
// by default ~/.local/share): a shared-mime-info package
// mime/packages/quorvin-qvb.xml that gives *.qvb the type
// application/x-quorvin-knowledge-base, and a desktop entry
// applications/quorvin.desktop that opens files of that type with the
// program; then the desktop's caches are refreshed with update-mime-database
// and update-desktop-database where those tools are installed.
#pragma once

#include <QString>

// The media type given to knowledge bases.
inline constexpr const char *kKnowledgeBaseMimeType = "application/x-quorvin-knowledge-base";

// True when the association exists and opens files with `programPath`.
bool FileTypeRegistered(const QString &programPath);
// True when `programPath` was installed system-wide by the package, which
// brought its own desktop entry and media type (PREFIX/bin/quorvin beside
// PREFIX/share/applications/quorvin.desktop and
// PREFIX/share/mime/packages/quorvin.xml): then nothing is registered per
// user at start-up.
bool InstalledSystemWide(const QString &programPath);
// Writes the association for `programPath`; false when it cannot be written.
bool RegisterFileType(const QString &programPath);

// The pieces of the freedesktop registration, for the curious and for tests
// The user's data directory: $XDG_DATA_HOME when it is an absolute path,
// otherwise ~/.local/share.
QString UserDataDirectory();
// The text of the shared-mime-info package.
QString MimePackageText();
// The text of the desktop entry that starts `programPath` with files.
QString DesktopEntryText(const QString &programPath);
// `programPath` as one argument of a desktop entry's Exec line: quoted when
// it holds a blank or a reserved character, with the characters that the
// format reserves escaped.
QString DesktopExecArgument(const QString &programPath);
