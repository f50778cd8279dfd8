#include "app/main_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/about_box.h"
#include "app/command_icons.h"
#include "app/consult_window.h"
#include "app/database_browser.h"
#include "app/editor_window.h"
#include "app/file_type_registration.h"
#include "app/help_window.h"
#include "app/message_boxes.h"
#include "app/option_dialogs.h"
#include "app/question_windows.h"
#include "app/result_dialog.h"
#include "app/settings_option_store.h"
#include "app/window_helpers.h"
#include "consult/parallel_batch.h"
#include "consult/global_params.h"
#include "consult/inf_control.h"

namespace {

constexpr int kPanelWidths[3] = {300, 65, 50};

}  // namespace

TMainForm::TMainForm(CAllRetrievers *retrievers, CSettingsOptionStore *optionStore)
    : registry(retrievers), store(optionStore), desktop(optionStore) {
    setWindowTitle("Quorvin");
    setMinimumSize(500, 400);
    resize(900, 650);
    mdiArea = new QMdiArea(this);
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Ctrl+Tab goes through every window, not back and forth between two.
    mdiArea->setActivationOrder(QMdiArea::CreationOrder);
    // Files dropped on the empty area open in editors.
    mdiArea->viewport()->setAcceptDrops(true);
    mdiArea->viewport()->installEventFilter(this);
    setCentralWidget(mdiArea);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    questions = std::make_unique<TQuestionWindows>(this);
    resultDialog = new TfrmConsResult(this);
    optionsConsultation = new TfrmOptCons(this, desktop);
    optionsGlobal = new TfrmOptGlob(this, desktop);
    connect(optionsGlobal, &TfrmOptGlob::RegisterRequested, this, &TMainForm::RegisterFiles);
    aboutBox = new TAboutBox(this);
    helpWindow = new TfrmHelp(this);

    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        // Another top-level window (a question) taking the focus leaves the
        // last child active for the commands.
        if (window != nullptr) activeWindow = window;
        if (window != nullptr || mdiArea->subWindowList().isEmpty()) ShowChildStatus();
        UpdateMenus();
        UpdateCommands();
    });
    UpdateMenus();
    UpdateCommands();
}

TMainForm::~TMainForm() {
    // Children first, while the dialogs they may use still exist.
    for (QMdiSubWindow *window : mdiArea->subWindowList()) delete window;
}

void TMainForm::CreateActions() {
    // Added to the main window, so shortcuts work whatever menus are shown.
    auto MakeAction = [this](const QString &caption, const QString &hint, const QKeySequence &shortcut = {}) {
        return ::MakeAction(this, caption, hint, shortcut);
    };
    actNew = MakeAction("&New", "New|Create a new file", QKeySequence("Ctrl+N"));
    actOpen = MakeAction("&Open", "Open|Open a file", QKeySequence("Ctrl+O"));
    actSave = MakeAction("&Save", "Save|Save current file", QKeySequence("Ctrl+S"));
    actSaveAll = MakeAction("Sa&ve All", "Save All|Save all files");
    actClose = MakeAction("&Close", "Close|Close current file");
    actCloseAll = MakeAction("C&lose All", "Close All|Close all files");
    actExit = MakeAction("E&xit", "Exit|Exit application", QKeySequence("Ctrl+Q"));
    actCut = MakeAction("Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", QKeySequence("Ctrl+X"));
    actCopy = MakeAction("&Copy", "Copy|Copies the selection and puts it on the Clipboard", QKeySequence("Ctrl+C"));
    actPaste = MakeAction("&Paste", "Paste|Inserts Clipboard contents", QKeySequence("Ctrl+V"));
    actBuildNet = MakeAction("&Build net", "Build Net|Build Net", QKeySequence("Ctrl+F9"));
    actBuildDescription = MakeAction("Build &description", QString(), QKeySequence("Shift+F9"));
    actConsult = MakeAction("&Consult", "Consult|Consult", QKeySequence("F9"));
    actEnvironment = MakeAction("&Environment...", "Environment and other global options");
    actConsultation = MakeAction("&Consultation...", "Consultation preferences");
    actToolBar = MakeAction("Standart", "Show standart tool bar");
    actToolBar->setCheckable(true);
    actRegisterFiles = MakeAction("&Register Files", "Register .qvb files in Windows registry");
    actBrowseTables = MakeAction("Browse &BDE Tables", QString());
    actNewAlias = MakeAction("&New Alias...", "New alias|Define a database alias");
    actEditAlias = MakeAction("&Edit Alias...", "Edit alias|Change the alias chosen in the browser");
    actRemoveAlias = MakeAction("&Remove Alias", "Remove alias|Remove the alias chosen in the browser");
    actCascade = MakeAction("&Cascade", "Cascade");
    actTileHorizontally = MakeAction("Tile &Horizontally", "Tile Horizontally");
    actTileVertically = MakeAction("Tile &Vertically", "Tile Vertically");
    actMinimizeAll = MakeAction("&Minimize All", "Minimize All");
    actArrangeAll = MakeAction("&Arrange All", "Arrange All");
    actNextWindow = MakeAction("&Next Window", "Next Window|Activate the next window", QKeySequence::NextChild);
    actPreviousWindow = MakeAction("&Previous Window", "Previous Window|Activate the previous window",
                                   QKeySequence::PreviousChild);
    actToolBarText = MakeAction("&Text under icons", "Show the captions of the tool bar buttons");
    actToolBarText->setCheckable(true);
    actHelpTopic = MakeAction("&Help on this window", "Help|Open the manual at the page of the active window",
                              QKeySequence::HelpContents);
    actHelpContents = MakeAction("&Contents", QString());
    actHelpIndex = MakeAction("I&ndex", QString());
    actAbout = MakeAction("&About...", "About");

    connect(actNew, &QAction::triggered, this, &TMainForm::NewFile);
    connect(actOpen, &QAction::triggered, this, &TMainForm::OpenFile);
    connect(actSave, &QAction::triggered, this, [this] { OnActiveChild(&TAbstractMDIChild::DoSave); });
    connect(actSaveAll, &QAction::triggered, this, &TMainForm::SaveAll);
    connect(actClose, &QAction::triggered, this, &TMainForm::CloseActive);
    connect(actCloseAll, &QAction::triggered, this, &TMainForm::CloseAll);
    connect(actExit, &QAction::triggered, this, &QWidget::close);
    connect(actCut, &QAction::triggered, this, [this] { ClipboardCommand("cut"); });
    connect(actCopy, &QAction::triggered, this, [this] { ClipboardCommand("copy"); });
    connect(actPaste, &QAction::triggered, this, [this] { ClipboardCommand("paste"); });
    connect(actBuildNet, &QAction::triggered, this, [this] { OnActiveChild(&TAbstractMDIChild::DoBuildNet); });
    connect(actBuildDescription, &QAction::triggered, this,
            [this] { OnActiveChild(&TAbstractMDIChild::DoBuildDescription); });
    connect(actConsult, &QAction::triggered, this, [this] {
        // The shortcut may arrive while a consultation runs.
        if (!AnyRunning()) OnActiveChild(&TAbstractMDIChild::DoConsult);
    });
    connect(actEnvironment, &QAction::triggered, this, [this] { optionsGlobal->Execute(); });
    connect(actConsultation, &QAction::triggered, this, [this] { optionsConsultation->Execute(); });
    connect(actRegisterFiles, &QAction::triggered, this, &TMainForm::RegisterFiles);
    connect(actBrowseTables, &QAction::triggered, this, &TMainForm::BrowseTables);
    connect(actNewAlias, &QAction::triggered, this, [this] { Browser().NewAlias(); });
    connect(actEditAlias, &QAction::triggered, this, [this] { Browser().EditAlias(); });
    connect(actRemoveAlias, &QAction::triggered, this, [this] { Browser().RemoveAlias(); });
    connect(actCascade, &QAction::triggered, this, &TMainForm::Cascade);
    connect(actNextWindow, &QAction::triggered, mdiArea, &QMdiArea::activateNextSubWindow);
    connect(actPreviousWindow, &QAction::triggered, mdiArea, &QMdiArea::activatePreviousSubWindow);
    connect(actHelpTopic, &QAction::triggered, this, &TMainForm::ShowHelpTopic);
    connect(actTileHorizontally, &QAction::triggered, this, &TMainForm::TileHorizontally);
    connect(actTileVertically, &QAction::triggered, this, &TMainForm::TileVertically);
    connect(actMinimizeAll, &QAction::triggered, this, &TMainForm::MinimizeAll);
    connect(actArrangeAll, &QAction::triggered, this, &TMainForm::ArrangeAll);
    connect(actHelpContents, &QAction::triggered, this, [this] { helpWindow->ShowContents(); });
    connect(actHelpIndex, &QAction::triggered, this, [this] { helpWindow->ShowIndex(); });
    connect(actAbout, &QAction::triggered, this, &TMainForm::ShowAbout);
    const std::pair<QAction *, std::pair<const char *, TCommandGlyph>> icons[] = {
        {actNew, {"document-new", TCommandGlyph::newFile}},
        {actOpen, {"document-open", TCommandGlyph::open}},
        {actSave, {"document-save", TCommandGlyph::save}},
        {actCut, {"edit-cut", TCommandGlyph::cut}},
        {actCopy, {"edit-copy", TCommandGlyph::copy}},
        {actPaste, {"edit-paste", TCommandGlyph::paste}},
        {actCascade, {"window-cascade", TCommandGlyph::cascade}},
        {actTileHorizontally, {"window-tile-horizontal", TCommandGlyph::tileHorizontally}},
        {actTileVertically, {"window-tile-vertical", TCommandGlyph::tileVertically}}};
    for (const auto &[action, icon] : icons) action->setIcon(CommandIcon(icon.first, icon.second, style()));
}

void TMainForm::CreateMenus() {
    menuRecent = new QMenu("Recent &Files", this);
    connect(menuRecent, &QMenu::aboutToShow, this, &TMainForm::UpdateRecentFilesMenu);
    UpdateRecentFilesMenu();
    menuFile = new QMenu("&File", this);
    menuFile->addAction(actNew);
    menuFile->addAction(actOpen);
    menuFile->addMenu(menuRecent);
    menuFile->addSeparator();
    menuFile->addAction(actExit);

    menuDatabase = new QMenu("&Database", this);
    menuDatabase->addAction(actBrowseTables);
    menuDatabase->addSeparator();
    menuDatabase->addAction(actNewAlias);
    menuDatabase->addAction(actEditAlias);
    menuDatabase->addAction(actRemoveAlias);

    menuOptions = new QMenu("&Options", this);
    menuOptions->addAction(actEnvironment);
    menuOptions->addAction(actConsultation);
    menuOptions->addSeparator();
    QMenu *toolBars = menuOptions->addMenu("&View Toolbars");
    toolBars->addAction(actToolBar);
    toolBars->addAction(actToolBarText);

    menuWindow = new QMenu("&Window", this);
    menuWindow->addAction(actCascade);
    menuWindow->addAction(actTileHorizontally);
    menuWindow->addAction(actTileVertically);
    menuWindow->addAction(actMinimizeAll);
    menuWindow->addAction(actArrangeAll);
    menuWindow->addSeparator();
    menuWindow->addAction(actNextWindow);
    menuWindow->addAction(actPreviousWindow);
    connect(menuWindow, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);

    menuHelp = new QMenu("&Help", this);
    menuHelp->addAction(actHelpTopic);
    menuHelp->addAction(actHelpContents);
    menuHelp->addAction(actHelpIndex);
    menuHelp->addSeparator();
    menuHelp->addAction(actAbout);
}

void TMainForm::CreateToolBar() {
    toolBar = addToolBar("Standart");
    toolBar->setObjectName("standardToolBar");
    toolBar->addAction(actNew);
    toolBar->addAction(actOpen);
    toolBar->addAction(actSave);
    toolBar->addSeparator();
    toolBar->addAction(actCut);
    toolBar->addAction(actCopy);
    toolBar->addAction(actPaste);
    toolBar->addSeparator();
    toolBar->addAction(actCascade);
    toolBar->addAction(actTileHorizontally);
    toolBar->addAction(actTileVertically);
    actToolBar->setChecked(true);
    connect(actToolBar, &QAction::toggled, toolBar, &QToolBar::setVisible);
    connect(toolBar, &QToolBar::visibilityChanged, actToolBar, &QAction::setChecked);
    actToolBarText->setChecked(desktop.ToolBarText());
    toolBar->setToolButtonStyle(desktop.ToolBarText() ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    connect(actToolBarText, &QAction::toggled, this, [this](bool shown) {
        toolBar->setToolButtonStyle(shown ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
        desktop.SetToolBarText(shown);
    });
}

void TMainForm::CreateStatusBar() {
    for (int i = 0; i < 3; ++i) {
        statusPanels[i] = new QLabel(this);
        statusPanels[i]->setFixedWidth(kPanelWidths[i]);
        statusPanels[i]->setFrameShape(QFrame::Panel);
        statusPanels[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(statusPanels[i]);
    }
    statusPanels[0]->setText("Welcome to Quorvin!");
}

void TMainForm::SetStatusPanel(int panel, const QString &text) {
    if (panel >= 0 && panel < 3) statusPanels[panel]->setText(text);
}

QString TMainForm::StatusPanel(int panel) const {
    return panel >= 0 && panel < 3 ? statusPanels[panel]->text() : QString();
}

bool TMainForm::event(QEvent *e) {
    if (e->type() != QEvent::StatusTip) return QMainWindow::event(e);
    // The long hint of the command under the pointer; when the pointer
    // leaves it, the panel shows again what it showed before.
    const QString tip = static_cast<QStatusTipEvent *>(e)->tip();
    if (!tip.isEmpty()) {
        if (!hinting) textBeforeHint = statusPanels[0]->text();
        hinting = true;
        statusPanels[0]->setText(tip);
    } else if (hinting) {
        hinting = false;
        statusPanels[0]->setText(textBeforeHint);
    }
    return true;
}

// What the children ask of their host

QAction *TMainForm::Command(THostCommand command) const {
    switch (command) {
    case THostCommand::newFile: return actNew;
    case THostCommand::open: return actOpen;
    case THostCommand::recentFiles: return menuRecent->menuAction();
    case THostCommand::save: return actSave;
    case THostCommand::saveAll: return actSaveAll;
    case THostCommand::close: return actClose;
    case THostCommand::closeAll: return actCloseAll;
    case THostCommand::exit: return actExit;
    case THostCommand::cut: return actCut;
    case THostCommand::copy: return actCopy;
    case THostCommand::paste: return actPaste;
    case THostCommand::buildNet: return actBuildNet;
    case THostCommand::consult: return actConsult;
    }
    return nullptr;
}

IMessageBox &TMainForm::Messages() { return questions->messages; }

QString TMainForm::JobProgram() const {
    // QUORVIN_CLI names it where it is not beside the desktop program.
    const QString named = qEnvironmentVariable("QUORVIN_CLI");
    if (!named.isEmpty()) return named;
    const std::optional<std::string> program = JobProgramBeside(RunningProgram());
    return program ? QFile::decodeName(program->c_str()) : QString();
}

void TMainForm::OpenConsultation(std::unique_ptr<CInfControl> control, const QString &caption,
                                 TAbstractMDIChild *source) {
    TmdiConsult *window = OpenConsultationWindow(caption);
    window->TakeControl(std::move(control), source);
    // The consultation runs from the event loop, not inside the command that
    // asked for it, so the window that asked may close while it runs.
    QTimer::singleShot(0, window, &TmdiConsult::StartConsultation);
}

void TMainForm::ShowResult(const std::vector<CGridRow> &rows, const TNodeDescriber &describe) {
    resultDialog->Execute(rows, desktop.Decimals(), describe);
}

void TMainForm::ShowNextQuestions(const TNextQuestions &next) { questions->ShowNextQuestions(next); }

QString TMainForm::ChooseFile(TFileDialogKind kind, const QString &suggested) {
    if (fileChooser) return fileChooser(kind, suggested);
    if (kind == TFileDialogKind::open) return QFileDialog::getOpenFileName(this, "Open", suggested, kKnowledgeBaseFilter);
    // The editor asks its own question before overwriting.
    return QFileDialog::getSaveFileName(this, "Save As", suggested, kKnowledgeBaseFilter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

// The children

void TMainForm::Listen(TAbstractMDIChild *child) {
    // Unique: a child made here is listened to before AddChild sees it.
    connect(child, &TAbstractMDIChild::RunningChanged, this, &TMainForm::UpdateCommands, Qt::UniqueConnection);
    // A child's status is shown while it is the active one; the others keep
    // theirs for when they are activated (ShowChildStatus).
    connect(child, &TAbstractMDIChild::StatusPanelChanged, this, &TMainForm::ShowStatusOf, Qt::UniqueConnection);
    connect(child, &TAbstractMDIChild::ActivationRequested, this, &TMainForm::Activate, Qt::UniqueConnection);
    connect(child, &TAbstractMDIChild::FilesDropped, this, &TMainForm::OpenFiles, Qt::UniqueConnection);
}

QMdiSubWindow *TMainForm::AddChild(TAbstractMDIChild *child) {
    Listen(child);
    QMdiSubWindow *window = mdiArea->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            // The panels show the child that is active now, or nothing.
            ShowChildStatus();
            UpdateMenus();
            UpdateCommands();
        });
    });
    if (GlobalParams().AutoMaximize)
        window->showMaximized();
    else
        window->show();
    mdiArea->setActiveSubWindow(window);
    activeWindow = window;
    ShowChildStatus();
    // The new window takes the focus, so that the main window, when it is
    // activated again, does not bring back the child that had it.
    child->setFocus();
    UpdateMenus();
    UpdateCommands();
    return window;
}

TAbstractMDIChild *TMainForm::ActiveChild() const {
    QMdiSubWindow *window = activeWindow != nullptr ? activeWindow.data() : mdiArea->currentSubWindow();
    return window != nullptr ? qobject_cast<TAbstractMDIChild *>(window->widget()) : nullptr;
}

QList<TAbstractMDIChild *> TMainForm::Children() const {
    QList<TAbstractMDIChild *> children;
    for (QMdiSubWindow *window : mdiArea->subWindowList())
        if (auto *child = qobject_cast<TAbstractMDIChild *>(window->widget())) children.append(child);
    return children;
}

bool TMainForm::AnyRunning() const {
    for (TAbstractMDIChild *child : Children())
        if (child->Running()) return true;
    return false;
}

void TMainForm::Activate(TAbstractMDIChild *child) {
    for (QMdiSubWindow *window : mdiArea->subWindowList())
        if (window->widget() == child) {
            if (window->isMinimized()) window->showNormal();
            mdiArea->setActiveSubWindow(window);
            activeWindow = window;
            ShowChildStatus();
            UpdateMenus();
            UpdateCommands();
        }
}

void TMainForm::OnActiveChild(void (TAbstractMDIChild::*operation)()) {
    if (TAbstractMDIChild *child = ActiveChild()) (child->*operation)();
}

void TMainForm::ClipboardCommand(const char *slot) {
    QWidget *focused = QApplication::focusWidget();
    if (focused != nullptr) QMetaObject::invokeMethod(focused, slot);
}

void TMainForm::UpdateCommands() {
    TAbstractMDIChild *active = ActiveChild();
    actSave->setEnabled(active != nullptr && active->ChildKind() == kChildEditor);
    actConsult->setEnabled(!AnyRunning());
}

void TMainForm::UpdateMenus() {
    // The active child's menus take the place of the main window's "&File"
    // and join the others in the order File, Edit, Project, Consultation,
    // Database, Options, Window, Help.
    QMenuBar *bar = menuBar();
    bar->clear();
    const QList<QMenu *> childMenus = ActiveChild() != nullptr ? ActiveChild()->Menus() : QList<QMenu *>();
    bool childHasFile = false;
    for (QMenu *menu : childMenus) childHasFile = childHasFile || menu->title() == menuFile->title();
    if (!childHasFile) bar->addMenu(menuFile);
    for (QMenu *menu : childMenus) bar->addMenu(menu);
    bar->addMenu(menuDatabase);
    bar->addMenu(menuOptions);
    bar->addMenu(menuWindow);
    bar->addMenu(menuHelp);
    UpdateWindowMenu();
}

void TMainForm::ShowStatusOf(int panel, const QString &text) {
    if (sender() == ActiveChild()) SetStatusPanel(panel, text);
}

void TMainForm::ShowChildStatus() {
    const TAbstractMDIChild *child = ActiveChild();
    for (int panel = 0; panel < 3; ++panel) {
        const QString text = child != nullptr ? child->StatusPanelText(panel) : QString();
        // A hint under the pointer stays; the child's text comes after it.
        if (panel == 0 && hinting)
            textBeforeHint = text;
        else
            SetStatusPanel(panel, text);
    }
}

void TMainForm::UpdateWindowMenu() {
    for (QAction *action : windowListActions) {
        menuWindow->removeAction(action);
        delete action;
    }
    windowListActions.clear();
    const QList<QMdiSubWindow *> windows = mdiArea->subWindowList();
    if (windows.isEmpty()) return;
    windowListActions.append(menuWindow->addSeparator());
    int number = 0;
    for (QMdiSubWindow *window : windows) {
        ++number;
        // The first nine carry their number as accelerator.
        const QString caption = window->widget()->windowTitle();
        auto *action = new QAction(number <= 9 ? QString("&%1 %2").arg(number).arg(caption)
                                                : QString("%1 %2").arg(number).arg(caption),
                                   menuWindow);
        action->setCheckable(true);
        action->setChecked(window == activeWindow);
        connect(action, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window == nullptr) return;
            if (auto *child = qobject_cast<TAbstractMDIChild *>(window->widget())) Activate(child);
        });
        menuWindow->addAction(action);
        windowListActions.append(action);
    }
}

// Opening windows

TmdiEditor *TMainForm::OpenEditor(const QString &path, bool load) {
    auto *editor = new TmdiEditor(*this);
    Listen(editor);
    editor->SetFile(path, true);
    // A file that exists but cannot be read is not opened: an empty editor
    // under its name would replace it at the first save.
    const bool existing = load && QFileInfo(path).isFile();
    if (existing && !editor->LoadFile(path)) {
        delete editor;
        return nullptr;
    }
    if (existing) desktop.AddRecentFile(path);
    editor->MarkUnmodified();
    AddChild(editor);
    editor->FocusText();
    return editor;
}

TmdiConsult *TMainForm::OpenConsultationWindow(const QString &caption) {
    const bool html = GlobalParams().UseHTML;
    auto *window = new TmdiConsult(*this, html);
    Listen(window);
    // Shown until the consultation reports its own status.
    emit window->StatusPanelChanged(0, "Consultation...");
    if (html && !window->HasHtmlViewer()) {
        GlobalParams().UseHTML = false;
        TMessageBoxes::Show(this, "HTML component not available. Using form without it instead.", QString(),
                            TMessageIcon::warning);
    }
    window->setWindowTitle(caption);
    AddChild(window);
    return window;
}

void TMainForm::OpenStartupFiles(const QStringList &arguments) {
    for (const QString &argument : arguments) OpenEditor(argument, true);
    if (!arguments.isEmpty()) return;
    // Without files named, the files open at the last exit come back.
    QStringList previous;
    if (desktop.RestoreSession())
        for (const QString &path : desktop.OpenFiles())
            if (QFileInfo(path).isFile()) previous.append(path);
    if (!previous.isEmpty())
        OpenFiles(previous);
    else if (GlobalParams().CreateNewFile)
        NewFile();
}

void TMainForm::OpenFiles(const QStringList &paths) {
    for (const QString &path : paths) {
        // A file already open is brought to the front rather than opened twice.
        const QString canonical = QFileInfo(path).canonicalFilePath();
        TAbstractMDIChild *open = nullptr;
        for (TAbstractMDIChild *child : Children())
            if (!canonical.isEmpty() && QFileInfo(child->SessionFile()).canonicalFilePath() == canonical)
                open = child;
        if (open != nullptr)
            Activate(open);
        else
            OpenEditor(path, true);
    }
}

void TMainForm::UpdateRecentFilesMenu() {
    menuRecent->clear();
    const QStringList files = desktop.RecentFiles();
    int number = 0;
    for (const QString &path : files) {
        ++number;
        QAction *entry = menuRecent->addAction(number < 10 ? QString("&%1 %2").arg(number).arg(path)
                                                           : QString("1&0 %1").arg(path));
        connect(entry, &QAction::triggered, this, [this, path] {
            if (QFileInfo(path).isFile()) {
                OpenFiles({path});
                return;
            }
            desktop.RemoveRecentFile(path);
            TMessageBoxes::Show(this, QString("File %1 no longer exists.").arg(path), "Error", TMessageIcon::error);
        });
    }
    if (!files.isEmpty()) menuRecent->addSeparator();
    QAction *clear = menuRecent->addAction("&Clear List");
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        for (const QString &path : desktop.RecentFiles()) desktop.RemoveRecentFile(path);
    });
}

void TMainForm::RestoreWindowGeometry() {
    if (!desktop.RestoreSession()) return;
    const QByteArray geometry = desktop.WindowGeometry();
    if (!geometry.isEmpty()) restoreGeometry(geometry);
}

void TMainForm::SaveSession(const QStringList &openFiles) {
    if (!desktop.RestoreSession()) return;
    desktop.SetWindowGeometry(saveGeometry());
    desktop.SetOpenFiles(openFiles);
    if (store != nullptr) store->Sync();
}

// Commands

void TMainForm::NewFile() {
    ++untitledCount;
    TmdiEditor *editor = OpenEditor(QString("Noname%1.qvb").arg(untitledCount), false);
    editor->SetFile(editor->FilePath(), false);
    editor->MarkUnmodified();
}

void TMainForm::OpenFile() {
    const QString path = ChooseFile(TFileDialogKind::open, QString());
    if (!path.isEmpty()) OpenFiles({path});
}

void TMainForm::SaveAll() {
    // An unchanged file is left alone: its time stays what it was.
    for (TAbstractMDIChild *child : Children())
        if (child->HasUnsavedChanges()) child->DoSave();
}

void TMainForm::CloseActive() {
    if (TAbstractMDIChild *child = ActiveChild()) child->parentWidget()->close();
}

void TMainForm::CloseAll() {
    for (QMdiSubWindow *window : mdiArea->subWindowList()) window->close();
}

void TMainForm::closeEvent(QCloseEvent *e) {
    // What was open, in the order of the windows, before they go.
    QStringList openFiles;
    for (TAbstractMDIChild *child : Children())
        if (!child->SessionFile().isEmpty()) openFiles.append(child->SessionFile());
    CloseAll();
    // A closed child is hidden at once and deleted later; one that refused
    // to close is still shown.
    for (QMdiSubWindow *window : mdiArea->subWindowList())
        if (window->isVisible()) {
            e->ignore();
            return;
        }
    helpWindow->close();
    SaveSession(openFiles);
    e->accept();
}

bool TMainForm::eventFilter(QObject *watched, QEvent *e) {
    if (watched != mdiArea->viewport()) return QMainWindow::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(e);
        if (TAbstractMDIChild::DroppedFiles(drag->mimeData()).isEmpty()) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(e);
        const QStringList files = TAbstractMDIChild::DroppedFiles(drop->mimeData());
        if (files.isEmpty()) return false;
        drop->acceptProposedAction();
        OpenFiles(files);
        return true;
    }
    default: return QMainWindow::eventFilter(watched, e);
    }
}

void TMainForm::RegisterFiles() {
    if (RegisterFileType(QCoreApplication::applicationFilePath()))
        TMessageBoxes::Show(this, "File .qvb successfuly registered.", "Information", TMessageIcon::information);
    else
        TMessageBoxes::Show(this, "Cannot open registry - insufficient privilegies?", "Error", TMessageIcon::error);
}

void TMainForm::BrowseTables() { AddChild(new TmdiBrowser(*this)); }

TmdiBrowser &TMainForm::Browser() {
    // The alias commands act in the active browser, or in a new one.
    TAbstractMDIChild *active = ActiveChild();
    if (active != nullptr && active->ChildKind() == kChildBrowser) return *static_cast<TmdiBrowser *>(active);
    auto *browser = new TmdiBrowser(*this);
    AddChild(browser);
    return *browser;
}

void TMainForm::ShowAbout() { aboutBox->Execute(); }

void TMainForm::ShowHelpTopic() {
    const TAbstractMDIChild *child = ActiveChild();
    helpWindow->ShowTopic(child != nullptr ? child->HelpTopic() : QString("main"));
}

// Window arrangements

namespace {

QList<QMdiSubWindow *> ShownWindows(QMdiArea *area) {
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *window : area->subWindowList())
        if (window->isVisible() && !window->isMinimized()) shown.append(window);
    return shown;
}

// Places the windows in equal bands, one above the other or side by side.
void Tile(QMdiArea *area, bool bandsAreRows) {
    const QList<QMdiSubWindow *> windows = ShownWindows(area);
    if (windows.isEmpty()) return;
    const QRect space = area->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized()) window->showNormal();
        if (bandsAreRows) {
            const int height = space.height() / count;
            window->setGeometry(0, i * height, space.width(), height);
        } else {
            const int width = space.width() / count;
            window->setGeometry(i * width, 0, width, space.height());
        }
    }
}

}  // namespace

void TMainForm::Cascade() {
    // Every window the same size, each one a title bar lower and further
    // right than the one before, starting again at the top when the next
    // would not fit.
    const QList<QMdiSubWindow *> windows = ShownWindows(mdiArea);
    if (windows.isEmpty()) return;
    const QRect space = mdiArea->viewport()->rect();
    const int step = std::max(20, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QSize size(std::max(space.width() * 2 / 3, std::min(space.width(), 300)),
                     std::max(space.height() * 2 / 3, std::min(space.height(), 200)));
    int offset = 0;
    for (QMdiSubWindow *window : windows) {
        if (window->isMaximized()) window->showNormal();
        if (offset + size.width() > space.width() || offset + size.height() > space.height()) offset = 0;
        window->setGeometry(QRect(QPoint(offset, offset), size));
        window->raise();
        offset += step;
    }
    if (activeWindow != nullptr) mdiArea->setActiveSubWindow(activeWindow);
}

void TMainForm::TileHorizontally() { Tile(mdiArea, true); }

void TMainForm::TileVertically() { Tile(mdiArea, false); }

void TMainForm::MinimizeAll() {
    for (QMdiSubWindow *window : mdiArea->subWindowList()) window->showMinimized();
}

void TMainForm::ArrangeAll() {
    // Minimized windows line up along the bottom, left to right, in rows.
    const QRect space = mdiArea->viewport()->rect();
    int x = 0;
    int bottom = space.height();
    for (QMdiSubWindow *window : mdiArea->subWindowList()) {
        if (!window->isMinimized()) continue;
        if (x > 0 && x + window->width() > space.width()) {
            x = 0;
            bottom -= window->height();
        }
        window->move(x, bottom - window->height());
        x += window->width();
    }
}
