// TAbstractMDIChild: the common base of the main window's child windows -
// knowledge-base editors, consultation windows and database browsers.
//
// The main window's commands act on the active child through the virtual
// operations below; a kind that has nothing to do for one keeps the default,
// which does nothing. A child brings its own menus ("&File", "&Edit",
// "&Project", "&Consultation"), which the main window shows in place of, or
// beside, its own while the child is active. `running` is set while the
// window runs a consultation; the main window's Consult command is disabled
// while any child has it set.
//
// A child does not know the main window. It asks its host (app/child_host.h)
// for what it needs and tells what happened through the signals below, which
// the host connects when it takes the child in.
#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

#include "app/child_host.h"

class QMenu;
class QMimeData;

// The kinds of child window, as ChildKind reports them.
enum TChildKind { kChildBase = 0, kChildEditor = 1, kChildConsultation = 2, kChildBrowser = 3 };

class TAbstractMDIChild : public QWidget {
    Q_OBJECT
public:
    // The host must outlive the child (the main window deletes its
    // children before anything else).
    explicit TAbstractMDIChild(IChildHost &host);
    ~TAbstractMDIChild() override;

    virtual int ChildKind() const { return kChildBase; }
    // Called when the window has agreed to close, just before it goes.
    virtual void Closing() {}
    virtual void DoSave() {}
    virtual void DoBuildNet() {}
    // Help pages are written by the build, so no kind does anything here.
    virtual void DoBuildDescription() {}
    virtual void DoConsult() {}

    // True when the window holds changes that Save would write.
    virtual bool HasUnsavedChanges() const { return false; }
    // The file the window shows, when it is one that can be opened again
    // at the next start; empty otherwise.
    virtual QString SessionFile() const { return QString(); }
    // The anchor of the manual's page on this kind of window (F1).
    virtual QString HelpTopic() const { return "main"; }

    // The child's own menus, in the order File, Edit, Project, Consultation.
    QList<QMenu *> Menus() const { return menus; }
    bool Running() const { return running; }
    // What the child last said for a panel of the status bar (0 to 2).
    QString StatusPanelText(int panel) const;
    // The local files among dropped data; empty when it carries none, so
    // that text dropped stays text.
    static QStringList DroppedFiles(const QMimeData *data);

signals:
    // A consultation started or ended in this window.
    void RunningChanged(bool running);
    // What a panel of the status bar (0 to 2) should show now.
    void StatusPanelChanged(int panel, const QString &text);
    // Asks for `child`, another window, to be brought to the front.
    void ActivationRequested(TAbstractMDIChild *child);
    // Files were dropped on the window; they are to be opened.
    void FilesDropped(const QStringList &paths);

protected:
    // Asked before the window closes; false keeps it open.
    virtual bool CanClose() { return true; }
    void closeEvent(QCloseEvent *event) override;
    void SetRunning(bool value);
    QMenu *AddMenu(const QString &title);
    // The "&File" menu: New, Open, Recent files, Save, Save as (when
    // given), Save all, Close, Close all, Print and Print preview (when
    // given) and Exit.
    QMenu *AddFileMenu(QAction *saveAs, QAction *print, QAction *printPreview = nullptr);


    IChildHost &host;

private:
    QList<QMenu *> menus;
    bool running = false;
    QString panels[3];
};
