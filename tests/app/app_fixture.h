// TAppFixture: a whole desktop application for one test, living in a
// temporary directory: its option file, its file-type registration
// ($XDG_DATA_HOME) and the current directory (where untitled knowledge bases
// write their help pages) are all inside it.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "app/application.h"

class TMainForm;
class TmdiEditor;
class TmdiConsult;

class TAppFixture {
public:
    // Starts the application with these arguments; with `createNewFile` the
    // stored options ask for a new knowledge base at start-up.
    explicit TAppFixture(const QStringList &arguments = {}, bool createNewFile = false);
    ~TAppFixture();

    TMainForm &Main() const;
    TQuorvinApp &App() const { return *app; }
    QString Dir() const { return directory.path(); }
    QString OptionFile() const { return Dir() + "/quorvin.ini"; }
    // Writes a file in the directory and returns its path.
    QString WriteFile(const QString &name, const QByteArray &bytes) const;
    QByteArray ReadFile(const QString &path) const;

    TmdiEditor *ActiveEditor() const;
    TmdiConsult *ActiveConsultation() const;

private:
    QTemporaryDir directory;
    QString previousDirectory;
    std::unique_ptr<TQuorvinApp> app;
};
