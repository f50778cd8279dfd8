// The user's options kept in a settings file, and the registration of the
// knowledge-base file type with the desktop.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/file_type_registration.h"
#include "app/settings_option_store.h"
#include "consult/global_params.h"

class OptionsTest : public QObject {
    Q_OBJECT

private slots:
    void OptionsRoundTripThroughASettingsFile();
    void MissingOrSwitchedOffOptionsGiveTheDefaults();
    void StoreKeepsTextsAndListsValueNames();
    void RegistrationWritesMimePackageAndDesktopEntry();
    void ExecLineQuotesProgramPaths();
};

void OptionsTest::OptionsRoundTripThroughASettingsFile() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/quorvin.ini";
    CGlobalParams written;
    written.ShowHypotheses = false;
    written.ShowCallStack = true;
    written.ShowNodes = false;
    written.CreateNewFile = true;
    written.AutoMaximize = false;
    written.UseHTML = false;
    {
        CSettingsOptionStore store(path);
        QVERIFY(written.Save(store));
        QVERIFY(store.Sync());
    }

    // A fresh store reads what the file holds, not what a cache kept.
    CSettingsOptionStore store(path);
    CGlobalParams read;
    QVERIFY(read.Load(store));
    QCOMPARE(read.ShowHypotheses, false);
    QCOMPARE(read.ShowCallStack, true);
    QCOMPARE(read.ShowNodes, false);
    QCOMPARE(read.SaveOnExit, true);
    QCOMPARE(read.CreateNewFile, true);
    QCOMPARE(read.AutoMaximize, false);
    QCOMPARE(read.UseHTML, false);

    // The file uses the keys and value names of the options, below the
    // product's own root.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("[Consultation]"));
    QVERIFY(text.contains("ShowHypotheses=false"));
    QVERIFY(text.contains("[Global]"));
    QVERIFY(text.contains("AutoMaximize=false"));
    QVERIFY(text.contains("[SaveOnExit]"));
    QVERIFY(text.contains("Default=true"));
}

void OptionsTest::MissingOrSwitchedOffOptionsGiveTheDefaults() {
    QTemporaryDir dir;
    CSettingsOptionStore empty(dir.path() + "/none.ini");
    CGlobalParams options;
    options.UseHTML = false;
    QVERIFY(!options.Load(empty));

    // A value that is not a flag fails the load as a missing one does.
    {
        CSettingsOptionStore store(dir.path() + "/bad.ini");
        QVERIFY(CGlobalParams().Save(store));
        QVERIFY(store.WriteText("\\Software\\Quorvin\\Global", "UseHTML", "perhaps"));
        QVERIFY(store.Sync());
    }
    CSettingsOptionStore bad(dir.path() + "/bad.ini");
    QVERIFY(!CGlobalParams().Load(bad));

    // Options saved with "save on exit" off are not used, and the next save
    // writes every option again with it on.
    const QString path = dir.path() + "/off.ini";
    {
        CSettingsOptionStore store(path);
        CGlobalParams off;
        off.SaveOnExit = false;
        off.AutoMaximize = false;
        QVERIFY(off.Save(store));
        QVERIFY(store.Sync());
    }
    CSettingsOptionStore store(path);
    CGlobalParams loaded;
    loaded.AutoMaximize = false;
    QVERIFY(loaded.Load(store));
    QCOMPARE(loaded.SaveOnExit, true);
    QCOMPARE(loaded.AutoMaximize, true);
    QVERIFY(loaded.Save(store));
    QVERIFY(store.Sync());
    bool flag = false;
    QVERIFY(CSettingsOptionStore(path).ReadBool("\\Software\\Quorvin\\Global", "AutoMaximize", flag));
    QCOMPARE(flag, true);
}

void OptionsTest::StoreKeepsTextsAndListsValueNames() {
    QTemporaryDir dir;
    const QString path = dir.path() + "/aliases.ini";
    const std::string key = "\\Software\\Quorvin\\Aliases";
    {
        CSettingsOptionStore store(path);
        QVERIFY(!store.KeyExists(key));
        QVERIFY(store.WriteText(key, "patients", "/data/patients.sqlite"));
        QVERIFY(store.WriteText(key, "cars and vans", "/data/garage db.sqlite"));
        QVERIFY(store.KeyExists(key));
        QVERIFY(store.Sync());
    }
    CSettingsOptionStore store(path);
    QCOMPARE(store.ValueNames(key), QStringList({"cars and vans", "patients"}));
    std::string value;
    QVERIFY(store.ReadText(key, "cars and vans", value));
    QCOMPARE(QString::fromStdString(value), QString("/data/garage db.sqlite"));
    QVERIFY(!store.ReadText(key, "trucks", value));
    // A key outside the product's root keeps its whole path.
    QCOMPARE(CSettingsOptionStore::SettingsKey("\\Software\\Other", "x"), QString("Software/Other/x"));
    QCOMPARE(CSettingsOptionStore::SettingsKey("\\Software\\Quorvin\\SaveOnExit", ""), QString("SaveOnExit/Default"));
}

void OptionsTest::RegistrationWritesMimePackageAndDesktopEntry() {
    QTemporaryDir dir;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    const QString program = "/opt/quorvin/bin/quorvin";

    QVERIFY(!FileTypeRegistered(program));
    QVERIFY(RegisterFileType(program));
    QVERIFY(FileTypeRegistered(program));
    // Moving the program makes the association stale.
    QVERIFY(!FileTypeRegistered("/usr/local/bin/quorvin"));

    QFile mime(dir.path() + "/mime/packages/quorvin-qvb.xml");
    QVERIFY(mime.open(QIODevice::ReadOnly));
    const QByteArray package = mime.readAll();
    QVERIFY(package.contains("<glob pattern=\"*.qvb\"/>"));
    QVERIFY(package.contains("type=\"application/x-quorvin-knowledge-base\""));
    QFile desktop(dir.path() + "/applications/quorvin.desktop");
    QVERIFY(desktop.open(QIODevice::ReadOnly));
    const QByteArray entry = desktop.readAll();
    QVERIFY(entry.contains("Exec=/opt/quorvin/bin/quorvin %F\n"));
    QVERIFY(entry.contains("MimeType=application/x-quorvin-knowledge-base;\n"));

    // A data directory that cannot be created fails the registration.
    QFile blocker(dir.path() + "/file");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", (dir.path() + "/file").toUtf8());
    QVERIFY(!RegisterFileType(program));
    // A relative XDG_DATA_HOME is ignored, as the freedesktop rules say.
    qputenv("XDG_DATA_HOME", "relative/data");
    QVERIFY(UserDataDirectory().endsWith("/.local/share"));
    qputenv("XDG_DATA_HOME", previous);
}

void OptionsTest::ExecLineQuotesProgramPaths() {
    QCOMPARE(DesktopExecArgument("/usr/bin/quorvin"), QString("/usr/bin/quorvin"));
    QCOMPARE(DesktopExecArgument("/home/ann/my apps/quorvin"), QString("\"/home/ann/my apps/quorvin\""));
    // Inside quotes ", `, $ and \ are escaped, and the entry's string
    // escaping doubles the backslashes once more; % is doubled.
    QCOMPARE(DesktopExecArgument("/a b/$x\"q"), QString("\"/a b/\\\\$x\\\\\"q\""));
    QCOMPARE(DesktopExecArgument("/a/100%/q"), QString("/a/100%%/q"));
    QVERIFY(DesktopEntryText("/a b/q").contains("Exec=\"/a b/q\" %F\n"));
}

QTEST_MAIN(OptionsTest)
#include "options_test.moc"
