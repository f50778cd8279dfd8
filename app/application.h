// TQuorvinApp: the program around its main window - start-up in its fixed
// order and shut-down.
//
// Start-up: the splash window; the application's title; the main window with
// the dialogs that live for the whole run, put back where it was at the last
// exit; the file type registered when the association is missing (unless
// the program was installed system-wide by its package); the user's options
// loaded (the defaults when that fails); the registry of retrievers, bound to the main window's question
// windows and to the application's table environment; the splash window gone; the
// main window shown, opening every command-line argument in an editor (or,
// without arguments, the files open at the last exit, or one new knowledge
// base when the options ask for it).
// Shut-down: the main window goes, the options are saved, and the registry is
// destroyed.
#pragma once

#include <QStringList>
#include <memory>

#include "tables/table_environment.h"
#include "ui/user_interface.h"

class CAllRetrievers;
class CSettingsOptionStore;
class TMainForm;

class TQuorvinApp {
public:
    // Owns the store the options are kept in.
    explicit TQuorvinApp(std::unique_ptr<CSettingsOptionStore> store, bool showSplash = true);
    ~TQuorvinApp();
    TQuorvinApp(const TQuorvinApp &) = delete;
    TQuorvinApp &operator=(const TQuorvinApp &) = delete;

    // Everything up to the event loop.
    void Start(const QStringList &arguments);
    // Destroys the main window, saves the options and destroys the registry;
    // false when the options could not be saved. Done once.
    bool Shutdown();

    TMainForm &MainForm() const { return *mainForm; }
    CSettingsOptionStore &Store() const { return *store; }
    CAllRetrievers *Registry() const { return registry.get(); }

private:
    std::unique_ptr<CSettingsOptionStore> store;
    // What the registry's retrievers and tables are bound to; they outlive it.
    CUserInterface windows;
    CTableEnvironment tableEnvironment;
    std::unique_ptr<CAllRetrievers> registry;
    std::unique_ptr<TMainForm> mainForm;
    bool showSplash;
    bool shutDown = false;
};
