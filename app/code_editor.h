// TCodeEditor: the text of a knowledge base as a programmer's editor shows
// it, for the editor window.
//
// Besides plain editing it colours the text (qvb_highlighter.h), numbers
// its lines in a gutter (line_gutter.h), and checks the text while it is
// typed: a quarter of a second after the last change the text is compiled and
// checked on another thread, as Build does it but writing no file
// (consult/text_check.h); a check still running is let finish and the
// latest text checked after it, so typing never waits. The error of the
// last check is marked: a wavy underline from its column to its end column,
// a mark in the gutter, its message and detail as the tooltip of both. F12
// or Ctrl+click on a name goes to its definition, Alt+Left goes back;
// Ctrl+Space completes node, retriever and synonym names.
//
// Places are the compiler's: lines from 1, columns from 1 counting the
// bytes of the line in UTF-8.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

#include "app/line_gutter.h"
#include "consult/text_check.h"
#include "language/symbol_index.h"

class QCompleter;
class QStringListModel;
class QTimer;
class CAllRetrievers;
class TQvbHighlighter;
class TBackgroundCheck;

class TCodeEditor : public QPlainTextEdit, public ILineGutterOwner {
    Q_OBJECT
public:
    // The registry gives the retriever names; not owned, may be null.
    explicit TCodeEditor(CAllRetrievers *registry, QWidget *parent = nullptr);
    ~TCodeEditor() override;

    // The error
    // Marks an error at a place of the compiler's, or clears the mark.
    void SetError(const std::optional<CDiagnostic> &error);
    const std::optional<CDiagnostic> &Error() const { return error; }
    // The block (from 0) of the marked error, or -1.
    int ErrorBlock() const;
    // The text shown as the tooltip of the error: message, then detail.
    QString ErrorTip() const;
    // Scrolls the error into view and puts the caret at its start.
    void RevealError();

    // Places
    // Puts the caret at a line and byte column of the compiler's, in view.
    void GoToPlace(int line, int byteColumn);
    // The editor position of such a place; -1 beyond the text.
    int PositionOfPlace(int line, int byteColumn) const;
    // Goes to the definition of the name at the caret; false when it has none.
    bool GoToDefinition();
    // Back to where the last GoToDefinition started; false when none.
    bool GoBack();
    void Complete();

    // Checking while typing
    // Checks the text now (the timer's work); the result arrives as Checked.
    void CheckNow();
    // The index of the last checked text.
    const CSymbolIndex &Index() const { return *index; }
    TQvbHighlighter *Highlighter() const { return highlighter; }
    TLineGutter *Gutter() const { return gutter; }
    // The gutter: its width, its painting (which needs the editor's
    // geometry) and the error's tooltip on the error's line.
    int GutterWidth() const override;
    void PaintGutter(QPaintEvent *event) override;
    QString GutterTip(int y) const override;

signals:
    // A check of the text has finished; the error mark is already set.
    void Checked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void TakeCheck(const CTextCheck &check, std::shared_ptr<const CSymbolIndex> checkedIndex);
    void UpdateGutterWidth();
    void UpdateMarks();
    QString WordAtCaret(QTextCursor &word) const;
    void InsertCompletion(const QString &completion);

    TLineGutter *gutter;
    TQvbHighlighter *highlighter;
    TBackgroundCheck *checker;
    QTimer *typingPause;
    QCompleter *completer;
    QStringListModel *completions;
    QStringList registryNames;
    std::optional<CDiagnostic> error;
    std::shared_ptr<const CSymbolIndex> index;
    QVector<int> backStack;  // caret positions before each go-to
};
