// TmdiEditor: the child window in which the user writes a knowledge base.
//
// A plain-text editor (fixed-pitch font, tabs typed into the text, no word
// wrap) on the page "&Knowledge Base", with a read-only message pane below it
// behind a splitter; the pane is hidden until a build shows it, and hidden
// again by a consultation or its context command "&Close Messages". From here
// the user builds the net (the message pane receives the build's lines, and
// a compile error puts the caret just after the offending token) and starts
// consultations: Consult builds when the text changed or the last build
// failed, asks the host to open a consultation over the built CInfControl
// and takes a fresh one, so every consultation has a net of its own. The
// caret position goes out as the status bar's first panel.
//
// Files are read as UTF-8, or byte for byte as Latin-1 when they are not
// valid UTF-8, and written back in the same encoding, so a file that is only
// opened and saved keeps its bytes. Saving writes a temporary file and
// renames it over the old one; a save that fails says so and leaves the text
// marked modified.
#pragma once

#include <QString>
#include <memory>

#include "app/mdi_child.h"
#include "app/print_layout.h"
#include "app/text_search.h"

class QAction;
class QPlainTextEdit;
class QPagedPaintDevice;
class QPrinter;
class QSplitter;
class QTabWidget;
class CInfControl;
class TCodeEditor;
class TKbOutlinePane;
class TFindReplaceDialog;

class TmdiEditor : public TAbstractMDIChild {
    Q_OBJECT
public:
    explicit TmdiEditor(IChildHost &host);
    ~TmdiEditor() override;

    int ChildKind() const override { return kChildEditor; }
    void DoSave() override;
    void DoBuildNet() override;
    void DoConsult() override;
    bool HasUnsavedChanges() const override { return IsModified(); }
    // A named file is opened again at the next start.
    QString SessionFile() const override { return named ? filePath : QString(); }
    QString HelpTopic() const override { return "editor"; }

    // Files
    // Sets the path and caption (the path's file name); `named` tells
    // whether Save may write to the path without asking for a name.
    void SetFile(const QString &path, bool named);
    // Loads the text; false (after saying why) when the file cannot be read.
    bool LoadFile(const QString &path);
    // Writes the text; false (after saying why) when it cannot be written.
    bool SaveToFile(const QString &path);
    void SaveAs();
    void MarkUnmodified();
    bool IsModified() const;
    QString FilePath() const { return filePath; }
    bool Named() const { return named; }

    // Building state
    bool TextChanged() const { return textChanged; }
    bool Built() const { return built; }
    CInfControl &Control() const { return *control; }

    // Find and replace
    void Find();
    void Replace();
    // One search from the selection or the caret; false at the end of the
    // text (after the beep and the message: "End of document reached." when
    // the text has the string before the caret, '"WHAT" not found.' when it
    // has it nowhere). A message shown over the find dialog gives the focus
    // back to the dialog.
    bool FindNext(const QString &what, TSearchOptions options);
    void ReplaceOnce(const QString &what, const QString &with, TSearchOptions options);
    // Replaces every match in the text as one step for Undo and says how
    // many it replaced; returns that number.
    int ReplaceAll(const QString &what, const QString &with, TSearchOptions options);
    TFindReplaceDialog *FindDialog() const { return findDialog; }

    // Printing with the print dialog, in the print preview, or straight to a
    // printer: lines wrap, and each page has the file name and its number
    // (app/print_layout.h).
    void Print();
    void PrintPreview();
    void PrintTo(QPrinter &printer);
    // Names the document for the print dialog's PDF file.
    void PreparePrinter(QPrinter &printer) const;
    // The pages the text would print as on `device`.
    TPrintLayout LayoutFor(QPagedPaintDevice &device) const;

    // The window's parts
    QPlainTextEdit *Memo() const { return memo; }
    // The text as a code editor: colours, gutter, error marks, go-to.
    TCodeEditor *Code() const { return code; }
    TKbOutlinePane *Outline() const { return outline; }
    QPlainTextEdit *MessagePane() const { return messages; }
    bool MessagesShown() const;
    void ShowMessages(bool shown);
    void FocusText();
    // The caret's line and column, from 1, as the status bar shows them.
    QString CaretText() const;
    void UpdateStatus();

    QAction *actSaveAs, *actPrint, *actPrintPreview, *actFind, *actReplace, *actUndo, *actRedo, *actCloseMessages;

protected:
    bool CanClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    // The message that ends a search or a Replace All.
    void SearchMessage(const QString &text);
    static QString NotFoundText(const QString &what);
    // The text as the bytes the compiler reads and the file holds: Latin-1
    // for a Latin-1 file while every character fits, else UTF-8.
    QByteArray EncodedText(bool &asLatin1) const;
    // The editor position of a byte offset in such bytes.
    int PositionOfByte(const QByteArray &bytes, qsizetype offset, bool asLatin1) const;

    QTabWidget *pages;
    QPlainTextEdit *memo;
    TCodeEditor *code;
    TKbOutlinePane *outline;
    QPlainTextEdit *messages;
    QSplitter *splitter;
    TFindReplaceDialog *findDialog = nullptr;
    QString filePath;
    bool named = false;
    bool textChanged = true;
    bool built = false;
    bool latin1 = false;  // the file was not UTF-8
    std::unique_ptr<CInfControl> control;
};
