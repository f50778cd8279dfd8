// TfrmAbstractQuestion: what every question window of a consultation shares.
//
// A question window is a dialog kept above the other windows but not modal:
// the retriever that asks shows it and then waits by dispatching events in a
// local event loop until the window is hidden, so the rest of the program
// (the consultation window's lists, help pages and Abort) stays usable. The
// window carries the read-only description box `mDescr`, a prompt label and
// a row of buttons; each kind adds its inputs. Closing it by its close box or
// Esc is "closing without the accept action".
//
// All question windows share one remembered position: centring one over the
// main window sets it, every showing moves the window there, and hiding any
// of them stores its place there.
//
// Beside the inputs, a node's question window shows the next questions of
// the goal under investigation, when the consultation window hands them over
// (`ShowNextQuestions`); the panel is hidden while there are none.
//
// TQuestionWindow joins the Qt side to one of the question interfaces of
// ui/ (ui/question_window.h), whose ShowAndWait, Accept and Abort the
// retrievers and the buttons call.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QPointer>

#include "foundation/cstring.h"

class QEventLoop;
class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class TNextQuestionsList;
struct TNextQuestions;

// Texts of the system are UTF-8 bytes; these convert at the window's edge.
QString ToQString(const CString &text);
CString ToCString(const QString &text);

class TfrmAbstractQuestion : public QDialog {
    Q_OBJECT
public:
    TfrmAbstractQuestion(QWidget *mainWindow, const QString &title, const QString &prompt);
    ~TfrmAbstractQuestion() override;

    void ShowDescription(const CString &text);
    // Centres the window over the main window and remembers that place.
    void CentreOverMain();
    // Shows the window at the remembered place, shows `rejection` (when not
    // empty) in a message box, then dispatches events until it is hidden.
    void PresentAndWait(const CString &rejection);
    // Remembers the window's place, hides it and ends a running wait.
    void HideAndRemember();
    // True while PresentAndWait dispatches events for this window.
    bool Waiting() const { return waitLoop != nullptr; }
    // The panel beside the inputs; nothing to show hides it.
    void ShowNextQuestions(const TNextQuestions &next);

    // The place every question window opens at.
    static QPoint RememberedPosition();
    static void SetRememberedPosition(const QPoint &position);

    QPlainTextEdit *mDescr;
    TNextQuestionsList *nextQuestions;

    // Esc and the close box: closing without the accept action.
    void reject() override;

protected:
    virtual void CloseWithoutAnswer() = 0;
    // Puts the focus where the user types first.
    virtual void FocusInput() {}

    // A button in the button row; the first one added with `isDefault` is
    // the dialog's default button (Enter).
    QPushButton *AddButton(const QString &caption, const QString &hint, bool isDefault = false);

    QVBoxLayout *inputs;       // between the description and the buttons
    QHBoxLayout *buttons;

private:
    QPointer<QWidget> mainWindow;
    QLabel *lPrompt;
    QEventLoop *waitLoop = nullptr;
};

// Joins a Qt question window to its interface from ui/.
template <typename Interface>
class TQuestionWindow : public TfrmAbstractQuestion, public Interface {
public:
    using TfrmAbstractQuestion::TfrmAbstractQuestion;

    void SetDescription(const CString &text) override { ShowDescription(text); }
    void CentreOverMainWindow() override { CentreOverMain(); }
    void Hide() override { HideAndRemember(); }

protected:
    void Present(const CString &rejection) override {
        FocusInput();
        PresentAndWait(rejection);
    }
    void CloseWithoutAnswer() override { Hide(); }
};
