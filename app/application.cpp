#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <QMainWindow>

#include "app/file_type_registration.h"
#include "app/main_form.h"
#include "app/question_windows.h"
#include "app/settings_option_store.h"
#include "app/splash_window.h"
#include "consult/global_params.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"

TQuorvinApp::TQuorvinApp(std::unique_ptr<CSettingsOptionStore> optionStore, bool splash)
    : store(std::move(optionStore)), showSplash(splash) {}

TQuorvinApp::~TQuorvinApp() { Shutdown(); }

void TQuorvinApp::Start(const QStringList &arguments) {
    std::unique_ptr<TSplashWindow> splash;
    if (showSplash) {
        splash = std::make_unique<TSplashWindow>();
        splash->ShowNow();
    }
    // No display name: the platform would append it to every title, and the
    // main window's title already begins with it ("Quorvin - [car.qvb]").
    QApplication::setApplicationName("Quorvin");
    // The desktop entry and icon the package installs.
    QGuiApplication::setDesktopFileName("quorvin");
    QApplication::setWindowIcon(QIcon::fromTheme("quorvin"));

    mainForm = std::make_unique<TMainForm>(nullptr, store.get());
    mainForm->RestoreWindowGeometry();

    const QString program = QCoreApplication::applicationFilePath();
    // An installed package has registered the file type for every user.
    if (!InstalledSystemWide(program) && !FileTypeRegistered(program)) RegisterFileType(program);
    CGlobalParams &options = GlobalParams();
    if (!options.Load(*store)) options.SetDefaults();

    // Engine tables find the database aliases the user defined; questions
    // are asked in the main window's question windows.
    tableEnvironment.aliasStore = store.get();
    windows = mainForm->Questions().Record();
    registry = std::make_unique<CAllRetrieversWin>(windows, tableEnvironment);
    mainForm->SetRegistry(registry.get());

    if (splash) splash->finish(mainForm.get());
    splash.reset();
    mainForm->show();
    mainForm->OpenStartupFiles(arguments);
}

bool TQuorvinApp::Shutdown() {
    if (shutDown) return true;
    shutDown = true;
    mainForm.reset();
    const bool saved = GlobalParams().Save(*store) && store->Sync();
    registry.reset();
    windows = CUserInterface{};  // the windows went with the main window
    return saved;
}
