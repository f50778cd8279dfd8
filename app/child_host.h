// IChildHost: what a child window of the desktop may ask of the window that
// holds it. The main window is the host; a child knows only this interface
// and its own signals (app/mdi_child.h), never the main window, so the
// windows can be built, read and tested one at a time.
//
// The split: a child *asks* through this interface when it needs an answer
// or a service the host owns (a file name, the retrievers, a modal dialog, a
// new consultation window); it *tells* through its signals what the host may
// react to (a status text, a consultation starting or ending, another child
// to bring to the front).
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "app/next_question_rows.h"
#include "app/node_grid.h"
#include "ui/consultation_view.h"

class QAction;
class CAllRetrievers;
class CInfControl;
class CSettingsOptionStore;
class IMessageBox;
class TAbstractMDIChild;

enum class TFileDialogKind { open, save };

// The host's commands that children show in their own menus.
// `recentFiles` is the action of the host's "Recent &Files" submenu.
enum class THostCommand {
    newFile, open, recentFiles, save, saveAll, close, closeAll, exit, cut, copy, paste, buildNet, consult
};

class IChildHost {
public:
    virtual ~IChildHost() = default;

    // The host's action for a command. Children add it to their menus rather
    // than making their own, so its caption, shortcut and enabling are the
    // same wherever it is shown.
    virtual QAction *Command(THostCommand command) const = 0;

    // The retrievers a build gives the net; may be null until the program has
    // made them, but is set before the first build.
    virtual CAllRetrievers *Registry() const = 0;
    // The user's option store (the database aliases); null when there is none.
    virtual CSettingsOptionStore *Store() const = 0;
    // The message boxes through which a consultation talks to the user.
    virtual IMessageBox &Messages() = 0;

    // A file name from the file dialog; empty when the user cancelled.
    virtual QString ChooseFile(TFileDialogKind kind, const QString &suggested) = 0;
    // Opens a consultation window captioned `caption` over a built net and
    // starts its consultation from the event loop. `source` is the child that
    // the window's "Show Code" brings back.
    virtual void OpenConsultation(std::unique_ptr<CInfControl> control, const QString &caption,
                                  TAbstractMDIChild *source) = 0;
    // Shows the result of a consultation, with the goals' descriptions;
    // returns when the user closes it.
    virtual void ShowResult(const std::vector<CGridRow> &rows, const TNodeDescriber &describe) = 0;
    // How many decimals the lists of values show (TGridLook::kAsWritten:
    // as the consultation writes them).
    virtual int ListDecimals() const = 0;
    // How many processes consult a batch together, and the console program
    // that runs them (consult/parallel_batch.h); empty when there is none,
    // and the window consults alone.
    virtual int BatchJobs() const { return 1; }
    virtual QString JobProgram() const { return QString(); }
    // Shows the next questions of the goal under investigation beside the
    // question windows; an empty goal takes them away.
    virtual void ShowNextQuestions(const TNextQuestions &next) = 0;
};
