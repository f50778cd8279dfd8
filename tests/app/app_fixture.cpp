#include "app_fixture.h"

#include <QDir>
#include <clocale>
#include <QFile>

#include "app/consult_window.h"
#include "app/editor_window.h"
#include "app/main_form.h"
#include "app/settings_option_store.h"
#include "consult/global_params.h"

TAppFixture::TAppFixture(const QStringList &arguments, bool createNewFile) : previousDirectory(QDir::currentPath()) {
    // As the program does right after creating its application object.
    std::setlocale(LC_NUMERIC, "C");
    QDir::setCurrent(directory.path());
    qputenv("XDG_DATA_HOME", (directory.path() + "/data").toUtf8());
    GlobalParams().SetDefaults();
    if (createNewFile) {
        CSettingsOptionStore store(OptionFile());
        CGlobalParams options;
        options.CreateNewFile = true;
        options.Save(store);
        store.Sync();
    }
    app = std::make_unique<TQuorvinApp>(std::make_unique<CSettingsOptionStore>(OptionFile()), false);
    app->Start(arguments);
}

TAppFixture::~TAppFixture() {
    app.reset();
    QDir::setCurrent(previousDirectory);
}

TMainForm &TAppFixture::Main() const { return app->MainForm(); }

QString TAppFixture::WriteFile(const QString &name, const QByteArray &bytes) const {
    const QString path = Dir() + "/" + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

QByteArray TAppFixture::ReadFile(const QString &path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TmdiEditor *TAppFixture::ActiveEditor() const { return qobject_cast<TmdiEditor *>(Main().ActiveChild()); }

TmdiConsult *TAppFixture::ActiveConsultation() const { return qobject_cast<TmdiConsult *>(Main().ActiveChild()); }
