// TDesktopSettings: what the desktop program remembers beyond the options of
// the consultation - the recent files, the main window's place and the files
// that were open, the decimals shown in the value lists and the tool bar's
// look. They live in the user's option store under
// "\Software\Quorvin\Desktop" ([Desktop] in the INI file), beside the
// options the core keeps, and are read and written through this class only.
//
// Recent files are written at once when the list changes, so that a second
// program started meanwhile sees them; the session (place and open files) is
// written when the main window closes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class CSettingsOptionStore;

class TDesktopSettings {
public:
    // How many recent files the File menu offers.
    static constexpr int kMaxRecentFiles = 10;
    // The decimals value that means "as the consultation formats them".
    static constexpr int kDefaultDecimals = -1;

    // `store` may be null (nothing is remembered); it must outlive this.
    explicit TDesktopSettings(CSettingsOptionStore *store);

    // Most recent first, without duplicates, at most kMaxRecentFiles.
    QStringList RecentFiles() const;
    // Puts `path` (made absolute) first.
    void AddRecentFile(const QString &path);
    void RemoveRecentFile(const QString &path);

    // Restore the main window's place and the open files at the next start
    // (on unless the user turned it off).
    bool RestoreSession() const;
    void SetRestoreSession(bool restore);
    // The main window's geometry as QWidget::saveGeometry gives it, with its
    // maximised state; empty when none was saved.
    QByteArray WindowGeometry() const;
    void SetWindowGeometry(const QByteArray &geometry);
    QStringList OpenFiles() const;
    void SetOpenFiles(const QStringList &paths);

    // Decimals in the value lists, 0 to 9, or kDefaultDecimals.
    int Decimals() const;
    void SetDecimals(int decimals);
    // How many processes consult a batch together (1: the window alone);
    // by default the processor's cores.
    int BatchJobs() const;
    void SetBatchJobs(int jobs);
    static constexpr int kMaxBatchJobs = 64;
    // Tool bar buttons show their caption under the icon.
    bool ToolBarText() const;
    void SetToolBarText(bool shown);

private:
    QString Text(const char *name) const;
    void SetText(const char *name, const QString &value);
    bool Flag(const char *name, bool missing) const;
    void SetFlag(const char *name, bool value);
    QStringList List(const char *name) const;
    void SetList(const char *name, const QStringList &values);

    CSettingsOptionStore *store;
};
