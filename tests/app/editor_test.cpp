// The knowledge-base editor: building with the caret at a compile error,
// find and replace, saving and the close question, encodings, printing.
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QLineEdit>
#include <QtTest>

#include "app/editor_window.h"
#include "app/find_replace_dialog.h"
#include "app/main_form.h"
#include "app/text_search.h"
#include "app_fixture.h"
#include "consult/inf_control.h"
#include "scripted_user.h"

namespace {

const QByteArray kCompileError = "// caf\xc3\xa9 \xe2\x82\xac knowledge base\n"
                                 "nodes {\n"
                                 "  b { (bayesian, 0.5 goal) }\n"
                                 "}\n";

const QByteArray kCycle = "nodes {\n  a { (bayesian, 0.5, goal) }\n  b { (bayesian, 0.5) }\n}\n"
                          "rules {\n { a, b, 0.5, 0.6 }\n { b, a, 0.5, 0.6 }\n}\n";

const QByteArray kGood = "nodes {\n  a { (bayesian, 0.5, goal) }\n  e { (bayesian, 0.5) retriever (winprob) }\n}\n"
                         "rules {\n  { e, a, 0.9, 0.1 }\n}\n";

QStringList PaneLines(TmdiEditor *editor) { return editor->MessagePane()->toPlainText().split('\n'); }

// Replaces the text as typing does, so the text is marked modified.
void TypeText(TmdiEditor *editor, const QString &text) {
    editor->Memo()->selectAll();
    editor->Memo()->insertPlainText(text);
}

void PutCaret(TmdiEditor *editor, int position) {
    QTextCursor caret = editor->Memo()->textCursor();
    caret.setPosition(position);
    editor->Memo()->setTextCursor(caret);
}

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void CompileErrorPutsCaretAfterTheOffendingToken();
    void ConsistencyFailureLeavesTheCaretAlone();
    void SuccessfulBuildShowsItsLinesUntilClosed();
    void CaretPositionInTheStatusBar();
    void SearchRules();
    void FindReachesTheEndOnceAndStartsAgainAtTheTop();
    void ReplaceAllOfAWithBInAaa();
    void ReplaceReplacesTheSelectionFirst();
    void SaveAsAddsTheExtensionAndAsksBeforeOverwriting();
    void FailedSaveSaysSoAndKeepsTheTextModified();
    void UntitledSaveAndTheCloseQuestion();
    void NonUtf8FileKeepsItsBytes();
    void FileTooLargeForTheCompilerIsNotRead();
    void UndoFollowsTheText();
    void PrintsToPdf();
};

void EditorTest::CompileErrorPutsCaretAfterTheOffendingToken() {
    TAppFixture fixture;
    const QString path = fixture.WriteFile("error.qvb", kCompileError);
    TmdiEditor *editor = fixture.Main().OpenEditor(path, true);
    QVERIFY(!editor->MessagesShown());
    editor->DoBuildNet();
    QVERIFY(!editor->Built());
    QVERIFY(editor->MessagesShown());
    QCOMPARE(PaneLines(editor), QStringList({"Building inference net...", "[Error at line 3] ) expected",
                                              "  column 22: found the word \"goal\"", "Failed to compile."}));
    // The first line holds characters of two and three bytes; the caret is
    // placed by characters all the same, just after "goal" on line 3.
    const QTextCursor caret = editor->Memo()->textCursor();
    QCOMPARE(caret.blockNumber(), 2);
    QVERIFY(!caret.hasSelection());
    QVERIFY(caret.block().text().left(caret.positionInBlock()).endsWith("0.5 goal"));
    QVERIFY(editor->Memo()->isEnabled());
    QVERIFY(editor->Memo()->hasFocus() || !QApplication::activeWindow());
}

void EditorTest::ConsistencyFailureLeavesTheCaretAlone() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("cycle.qvb", kCycle), true);
    PutCaret(editor, 5);
    editor->DoBuildNet();
    QVERIFY(!editor->Built());
    QVERIFY(editor->Control().ConsistencyFailed());
    QCOMPARE(PaneLines(editor).last(), QString("Consistency check failed."));
    QCOMPARE(editor->Memo()->textCursor().position(), 5);
}

void EditorTest::SuccessfulBuildShowsItsLinesUntilClosed() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("good.qvb", kGood), true);
    QVERIFY(editor->TextChanged());
    fixture.Main().actBuildNet->trigger();
    QVERIFY(editor->Built());
    QVERIFY(!editor->TextChanged());
    QCOMPARE(PaneLines(editor), QStringList({"Building inference net...", "Compiled.", "Checking consistency...",
                                              "Consistency check passed.", "Done."}));
    // Typing marks the text changed, so the next Consult builds again.
    editor->Memo()->appendPlainText("// more");
    QVERIFY(editor->TextChanged());
    editor->actCloseMessages->trigger();
    QVERIFY(!editor->MessagesShown());
}

void EditorTest::CaretPositionInTheStatusBar() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("good.qvb", kGood), true);
    PutCaret(editor, 10);  // line 2, after "  a"
    QCOMPARE(editor->CaretText(), QString("       2:       3"));
    fixture.Main().SetStatusPanel(1, "x");
    QTest::keyClick(editor->Memo(), Qt::Key_Right);
    QCOMPARE(fixture.Main().StatusPanel(0), QString("       2:       4"));
    QCOMPARE(fixture.Main().StatusPanel(1), QString());
}

void EditorTest::SearchRules() {
    const QString text = "Alpha alphabet alpha_1 alpha";
    QCOMPARE(FindForward(text, "alpha", 0, {}), 0);
    QCOMPARE(FindForward(text, "alpha", 1, {}), 6);
    QCOMPARE(FindForward(text, "alpha", 0, {true, false}), 6);
    QCOMPARE(FindForward(text, "alpha", 1, {false, true}), 23);
    QCOMPARE(FindForward(text, "Alpha", 0, {true, true}), 0);
    QCOMPARE(FindForward(text, "alpha", 24, {}), -1);
    QCOMPARE(FindForward(text, "", 0, {}), -1);
    QCOMPARE(FindForward(text, "a", static_cast<qsizetype>(text.size()), {}), -1);
}

void EditorTest::FindReachesTheEndOnceAndStartsAgainAtTheTop() {
    TAppFixture fixture;
    fixture.Main().NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    editor->Memo()->setPlainText("alpha beta alpha");
    PutCaret(editor, 0);
    TScriptedUser user;
    QVERIFY(editor->FindNext("alpha", {}));
    QCOMPARE(editor->Memo()->textCursor().selectionStart(), 0);
    QCOMPARE(editor->Memo()->textCursor().selectionEnd(), 5);
    // The next search starts one character after the selection's start.
    QVERIFY(editor->FindNext("alpha", {}));
    QCOMPARE(editor->Memo()->textCursor().selectionStart(), 11);
    QVERIFY(user.messages.isEmpty());
    QVERIFY(!editor->FindNext("alpha", {}));
    QCOMPARE(user.messages, QStringList({"Find/Replace: End of document reached."}));
    QCOMPARE(editor->Memo()->textCursor().position(), 0);
    QVERIFY(!editor->Memo()->textCursor().hasSelection());
    QVERIFY(editor->FindNext("alpha", {}));
    QCOMPARE(editor->Memo()->textCursor().selectionStart(), 0);

    // The dialog opens with the selected text as the text to find.
    editor->actFind->trigger();
    QVERIFY(editor->FindDialog()->isVisible());
    QCOMPARE(editor->FindDialog()->FindText(), QString("alpha"));
}

void EditorTest::ReplaceAllOfAWithBInAaa() {
    TAppFixture fixture;
    fixture.Main().NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    editor->Memo()->setPlainText("aaa");
    PutCaret(editor, 0);
    TScriptedUser user;
    QCOMPARE(editor->ReplaceAll("a", "b", {}), 3);
    QCOMPARE(editor->Memo()->toPlainText(), QString("bbb"));
    QCOMPARE(user.messages, QStringList({"Find/Replace: 3 occurrences replaced."}));

    // A replacement that holds the text searched for does not loop.
    editor->Memo()->setPlainText("a-a");
    PutCaret(editor, 0);
    QCOMPARE(editor->ReplaceAll("a", "aa", {}), 2);
    QCOMPARE(editor->Memo()->toPlainText(), QString("aa-aa"));
    // Every match, wherever the caret stands, undone in one step.
    PutCaret(editor, 3);
    QCOMPARE(editor->ReplaceAll("aa", "c", {}), 2);
    QCOMPARE(editor->Memo()->toPlainText(), QString("c-c"));
    editor->Memo()->undo();
    QCOMPARE(editor->Memo()->toPlainText(), QString("aa-aa"));
    QCOMPARE(editor->ReplaceAll("a", "b", {true, true}), 0);
    QCOMPARE(user.messages.last(), QString("Find/Replace: \"a\" not found."));
}

void EditorTest::ReplaceReplacesTheSelectionFirst() {
    TAppFixture fixture;
    fixture.Main().NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    editor->Memo()->setPlainText("one two one");
    QTextCursor caret = editor->Memo()->textCursor();
    caret.setPosition(4);
    caret.setPosition(7, QTextCursor::KeepAnchor);
    editor->Memo()->setTextCursor(caret);
    TScriptedUser user;
    editor->ReplaceOnce("one", "1", {});
    QCOMPARE(editor->Memo()->toPlainText(), QString("one 1 one"));
    QCOMPARE(editor->Memo()->textCursor().selectedText(), QString("one"));
    QCOMPARE(editor->Memo()->textCursor().selectionStart(), 6);
    editor->actReplace->trigger();
    QCOMPARE(editor->FindDialog()->windowTitle(), QString("Replace"));
    QVERIFY(editor->FindDialog()->eReplace->isVisible());
}

void EditorTest::SaveAsAddsTheExtensionAndAsksBeforeOverwriting() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    QStringList suggested;
    main.SetFileChooser([&](TFileDialogKind kind, const QString &suggestion) {
        suggested.append(suggestion);
        return kind == TFileDialogKind::save ? fixture.Dir() + "/kb" : QString();
    });
    TypeText(editor, "first");
    editor->SaveAs();
    QCOMPARE(suggested, QStringList({"Noname1.qvb"}));
    QCOMPARE(fixture.ReadFile(fixture.Dir() + "/kb.qvb"), QByteArray("first"));
    QCOMPARE(editor->windowTitle(), QString("kb.qvb"));
    QCOMPARE(editor->FilePath(), fixture.Dir() + "/kb.qvb");
    QVERIFY(editor->Named());
    QVERIFY(!editor->IsModified());

    TScriptedUser user;
    const QString question = "File " + fixture.Dir() + "/kb.qvb already exists. Overwrite?";
    user.answers[question] = QMessageBox::No;
    TypeText(editor, "second");
    editor->SaveAs();
    QCOMPARE(user.messages, QStringList({"Confirmation: " + question}));
    QCOMPARE(fixture.ReadFile(fixture.Dir() + "/kb.qvb"), QByteArray("first"));
    QVERIFY(editor->IsModified());
    user.answers[question] = QMessageBox::Yes;
    editor->SaveAs();
    QCOMPARE(fixture.ReadFile(fixture.Dir() + "/kb.qvb"), QByteArray("second"));
    QVERIFY(!editor->IsModified());

    // Save writes over the named file without asking.
    TypeText(editor, "third");
    main.actSave->trigger();
    QCOMPARE(user.messages.size(), 2);
    QCOMPARE(fixture.ReadFile(fixture.Dir() + "/kb.qvb"), QByteArray("third"));
}

void EditorTest::FailedSaveSaysSoAndKeepsTheTextModified() {
    TAppFixture fixture;
    fixture.WriteFile("plain", "not a directory");
    const QString path = fixture.Dir() + "/plain/kb.qvb";
    TmdiEditor *editor = fixture.Main().OpenEditor(path, true);
    TypeText(editor, "text");
    TScriptedUser user;
    editor->DoSave();
    QCOMPARE(user.messages.size(), 1);
    QVERIFY(user.messages[0].startsWith("Error: Cannot save file " + path));
    QVERIFY(editor->IsModified());

    // A failed save leaves the old file as it was.
    const QString existing = fixture.WriteFile("keep.qvb", "old text");
    TmdiEditor *other = fixture.Main().OpenEditor(existing, true);
    QFile::setPermissions(fixture.Dir(), QFile::ReadOwner | QFile::ExeOwner);
    TypeText(other, "new text");
    other->DoSave();
    QFile::setPermissions(fixture.Dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // As root the directory stays writable and the save succeeds; either
    // way the file holds one whole text.
    const QByteArray kept = fixture.ReadFile(existing);
    QVERIFY(kept == "old text" || kept == "new text");
    QCOMPARE(other->IsModified(), kept == "old text");
}

void EditorTest::UntitledSaveAndTheCloseQuestion() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    int chooserCalls = 0;
    main.SetFileChooser([&](TFileDialogKind, const QString &) {
        ++chooserCalls;
        return QString();
    });
    TypeText(editor, "unsaved");
    editor->DoSave();
    QCOMPARE(chooserCalls, 1);
    QVERIFY(!editor->Named());
    QVERIFY(editor->IsModified());

    TScriptedUser user;
    const QString question = "Save changes to file Noname1.qvb?";
    user.answers[question] = QMessageBox::Yes;
    main.CloseActive();
    QApplication::processEvents();
    // Yes ran Save as, which was cancelled: the window stays open.
    QCOMPARE(main.Children().size(), 1);
    QCOMPARE(chooserCalls, 2);
    user.answers[question] = QMessageBox::Cancel;
    main.CloseActive();
    QCOMPARE(main.Children().size(), 1);
    user.answers[question] = QMessageBox::No;
    main.CloseActive();
    QTRY_COMPARE(main.Children().size(), 0);
    QCOMPARE(user.messages, QStringList({"Confirmation: " + question, "Confirmation: " + question,
                                         "Confirmation: " + question}));

    // A text that is not modified closes without a question.
    main.NewFile();
    main.CloseActive();
    QTRY_COMPARE(main.Children().size(), 0);
    QCOMPARE(user.messages.size(), 3);
}

void EditorTest::NonUtf8FileKeepsItsBytes() {
    TAppFixture fixture;
    const QByteArray bytes = "// Pr\xe9sov \xe8" "esky\nnodes {\n  a { (bayesian, 0.5 goal) }\n}\n";
    const QString path = fixture.WriteFile("latin.qvb", bytes);
    TmdiEditor *editor = fixture.Main().OpenEditor(path, true);
    QVERIFY(editor->Memo()->toPlainText().startsWith(QString::fromUtf8("// Pr\xc3\xa9sov \xc3\xa8" "esky")));
    editor->DoBuildNet();
    const QTextCursor caret = editor->Memo()->textCursor();
    QCOMPARE(caret.blockNumber(), 2);
    QVERIFY(caret.block().text().left(caret.positionInBlock()).endsWith("0.5 goal"));
    editor->Memo()->document()->setModified(true);
    editor->DoSave();
    QCOMPARE(fixture.ReadFile(path), bytes);
    // A character that Latin-1 cannot hold turns the file into UTF-8.
    editor->Memo()->appendPlainText(QString::fromUtf8("// \xe2\x82\xac"));
    editor->DoSave();
    QVERIFY(fixture.ReadFile(path).endsWith("// \xe2\x82\xac"));
    QVERIFY(fixture.ReadFile(path).startsWith("// Pr\xc3\xa9sov"));
}

void EditorTest::FileTooLargeForTheCompilerIsNotRead() {
    TAppFixture fixture;
    // A sparse file: 4 GiB and 200 bytes that take no room on the disk.
    const QString path = fixture.WriteFile("big.qvb", "nodes { A { (bayesian, 0.5, goal) } }");
    QVERIFY(QFile::resize(path, 4294967296LL + 200));
    TScriptedUser user;
    TmdiEditor *editor = fixture.Main().OpenEditor(path, true);
    const QString reason = "file too large (4294967496 bytes; at most 2147483646)";
    QCOMPARE(user.messages, QStringList({"Error: Cannot read file " + path + ": " + reason}));
    // No editor stands under the file's name, so no save can replace it.
    QVERIFY(editor == nullptr);
    QVERIFY(fixture.ActiveEditor() == nullptr);
    QCOMPARE(QFileInfo(path).size(), 4294967296LL + 200);
}

void EditorTest::UndoFollowsTheText() {
    TAppFixture fixture;
    fixture.Main().NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    QVERIFY(!editor->actUndo->isEnabled());
    QTest::keyClicks(editor->Memo(), "abc");
    QVERIFY(editor->actUndo->isEnabled());
    QCOMPARE(editor->actUndo->statusTip(), QString("Undos last change"));
    editor->actUndo->trigger();
    QCOMPARE(editor->Memo()->toPlainText(), QString());
    QVERIFY(!editor->actUndo->isEnabled());
    // Redo brings back what Undo took.
    QVERIFY(editor->actRedo->isEnabled());
    editor->actRedo->trigger();
    QCOMPARE(editor->Memo()->toPlainText(), QString("abc"));
    QVERIFY(!editor->actRedo->isEnabled());
}

void EditorTest::PrintsToPdf() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("good.qvb", kGood), true);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString output = fixture.Dir() + "/good.pdf";
    printer.setOutputFileName(output);
    editor->PrintTo(printer);
    // The document is named after the file, without its folder and suffix.
    QCOMPARE(printer.docName(), QString("good"));
    const QByteArray pdf = fixture.ReadFile(output);
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.contains("/Type /Page"));
}

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
