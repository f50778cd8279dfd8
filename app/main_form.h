// TMainForm: the main window - a multi-document window that holds the
// knowledge-base editors, consultation windows and database browsers.
//
// It carries the commands of the program with their captions, hints (the
// short hint as tool tip, the long one in the status bar's first panel),
// icons and shortcuts, the menus "&File", "&Database", "&Options", "&Window"
// and "&Help" (joined by the active child's own menus), the standard tool
// bar, which the user can hide, and a status bar of three panels that shows
// what the active child last said there. Commands on a child act on the
// active one and do nothing without one. Save is enabled only for an
// editor; Consult only while no child runs a consultation; Save All saves
// only the windows with changes.
//
// Beyond the commands of the product it keeps the habits of desktop
// programs: the "&Window" menu lists the open windows (the active one
// checked) and Ctrl+Tab / Ctrl+Shift+Tab go through all of them; "Recent
// &Files" in the File menu; Ctrl+Q quits; F1 opens the manual at the page of
// the active window; files dropped on the window open in editors; and the
// window's place and the open files come back at the next start (app/
// desktop_settings.h).
//
// The main window also owns the dialogs that live for the whole run: the
// question windows (installed for the retrievers), the result dialog, the
// option dialogs, the about box and the help window.
//
// It is the host of its children (app/child_host.h): it creates them, knows
// their kinds, and connects their signals as it takes them in; they know
// only the host interface.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/child_host.h"
#include "app/desktop_settings.h"
#include "app/mdi_child.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class CAllRetrievers;
class CInfControl;
class CSettingsOptionStore;
class TAboutBox;
class TmdiBrowser;
class TfrmConsResult;
class TfrmHelp;
class TfrmOptCons;
class TfrmOptGlob;
class TmdiConsult;
class TmdiEditor;
class TQuestionWindows;

// The knowledge-base filter of the file dialogs.
inline constexpr const char *kKnowledgeBaseFilter = "Quorvin Knowledge Base (*.qvb);;All files (*.*)";

class TMainForm : public QMainWindow, public IChildHost {
    Q_OBJECT
public:
    // The registry and the store are not owned and must outlive the window;
    // the registry may be given later, before the first build.
    TMainForm(CAllRetrievers *registry, CSettingsOptionStore *store);
    ~TMainForm() override;

    // Opening child windows
    // An editor captioned with the path's file name; its text is loaded from
    // the file when `load` is set and the file exists. Null when an existing
    // file cannot be read: no editor opens under its name.
    TmdiEditor *OpenEditor(const QString &path, bool load);
    // A consultation window, of the HTML kind when the options say so.
    TmdiConsult *OpenConsultationWindow(const QString &caption);
    // Takes in a child made elsewhere: listens to its signals, shows it
    // (maximised when the options say so) and makes it the active one.
    QMdiSubWindow *AddChild(TAbstractMDIChild *child);
    // What showing the main window does: opens every argument in an editor,
    // or one new knowledge base when there is none and the options say so.
    void OpenStartupFiles(const QStringList &arguments);
    // Opens files in editors, as Open does (recent files, dropped files).
    void OpenFiles(const QStringList &paths);
    // The stored place of the window, before it is first shown.
    void RestoreWindowGeometry();
    TDesktopSettings &DesktopSettings() { return desktop; }

    // The children
    TAbstractMDIChild *ActiveChild() const;
    QList<TAbstractMDIChild *> Children() const;
    bool AnyRunning() const;
    void Activate(TAbstractMDIChild *child);

    // The status bar's panels, 0 to 2.
    void SetStatusPanel(int panel, const QString &text);
    QString StatusPanel(int panel) const;

    // The file dialogs; tests replace the chooser. An empty path: cancelled.
    using TFileChooser = std::function<QString(TFileDialogKind kind, const QString &suggested)>;
    void SetFileChooser(TFileChooser chooser) { fileChooser = std::move(chooser); }

    // What the children ask of their host
    QAction *Command(THostCommand command) const override;
    CAllRetrievers *Registry() const override { return registry; }
    CSettingsOptionStore *Store() const override { return store; }
    IMessageBox &Messages() override;
    QString ChooseFile(TFileDialogKind kind, const QString &suggested) override;
    void OpenConsultation(std::unique_ptr<CInfControl> control, const QString &caption,
                          TAbstractMDIChild *source) override;
    void ShowResult(const std::vector<CGridRow> &rows, const TNodeDescriber &describe) override;
    int ListDecimals() const override { return desktop.Decimals(); }
    int BatchJobs() const override { return desktop.BatchJobs(); }
    QString JobProgram() const override;
    void ShowNextQuestions(const TNextQuestions &next) override;

    void SetRegistry(CAllRetrievers *retrievers) { registry = retrievers; }
    TQuestionWindows &Questions() const { return *questions; }
    TfrmConsResult *ResultDialog() const { return resultDialog; }
    TfrmOptCons *ConsultationOptionsDialog() const { return optionsConsultation; }
    TfrmOptGlob *GlobalOptionsDialog() const { return optionsGlobal; }
    TAboutBox *AboutBox() const { return aboutBox; }
    TfrmHelp *HelpWindow() const { return helpWindow; }
    QMdiArea *MdiArea() const { return mdiArea; }
    QToolBar *StandardToolBar() const { return toolBar; }

    // The commands
    void NewFile();
    void OpenFile();
    void SaveAll();
    void CloseActive();
    void CloseAll();
    void RegisterFiles();
    void BrowseTables();
    // The active database browser; one is opened when none is active.
    TmdiBrowser &Browser();
    void Cascade();
    void TileHorizontally();
    void TileVertically();
    void MinimizeAll();
    void ArrangeAll();
    void ShowAbout();
    // The manual at the page of the active window.
    void ShowHelpTopic();
    // The window list below the arrangements in the "&Window" menu.
    void UpdateWindowMenu();
    void UpdateRecentFilesMenu();
    QMenu *WindowMenu() const { return menuWindow; }
    QMenu *RecentFilesMenu() const { return menuRecent; }

    QAction *actNew, *actOpen, *actSave, *actSaveAll, *actClose, *actCloseAll, *actExit;
    QAction *actNextWindow, *actPreviousWindow, *actHelpTopic, *actToolBarText;
    QAction *actCut, *actCopy, *actPaste;
    QAction *actBuildNet, *actBuildDescription, *actConsult;
    QAction *actEnvironment, *actConsultation, *actToolBar, *actRegisterFiles, *actBrowseTables;
    QAction *actNewAlias, *actEditAlias, *actRemoveAlias;
    QAction *actCascade, *actTileHorizontally, *actTileVertically, *actMinimizeAll, *actArrangeAll;
    QAction *actHelpContents, *actHelpIndex, *actAbout;

    int untitledCount = 0;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    // Runs an operation of the active child, if there is one.
    void OnActiveChild(void (TAbstractMDIChild::*operation)());
    // The clipboard command of the focused text control.
    void ClipboardCommand(const char *slot);
    // Connects a child's signals. Done right after making a child, before
    // its content is loaded, so that what it tells meanwhile is shown.
    void Listen(TAbstractMDIChild *child);
    void UpdateCommands();
    void UpdateMenus();
    // Shows the active child's status panels.
    void ShowChildStatus();
    // Shows a child's status text when the child is the active one.
    void ShowStatusOf(int panel, const QString &text);
    // Remembers the window's place and the open files, when asked to.
    void SaveSession(const QStringList &openFiles);

    CAllRetrievers *registry;
    CSettingsOptionStore *store;
    QMdiArea *mdiArea;
    QToolBar *toolBar;
    QLabel *statusPanels[3];
    QMenu *menuFile, *menuDatabase, *menuOptions, *menuWindow, *menuHelp, *menuRecent;
    QList<QAction *> windowListActions;
    TDesktopSettings desktop;
    std::unique_ptr<TQuestionWindows> questions;
    TfrmConsResult *resultDialog;
    TfrmOptCons *optionsConsultation;
    TfrmOptGlob *optionsGlobal;
    TAboutBox *aboutBox;
    TfrmHelp *helpWindow;
    TFileChooser fileChooser;
    QPointer<QMdiSubWindow> activeWindow;  // the child last activated
    bool hinting = false;     // the first panel shows a command's hint
    QString textBeforeHint;   // what it showed before
};
