// The editor as users of desktop editors expect it: after a search's
// message the focus is back in the find dialog, a text that does not occur
// says so, files dropped on the window open, Save All leaves unchanged files
// alone, and printing wraps long lines under a header on every page.
#include <QDateTime>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

#include "app/editor_window.h"
#include "app/find_replace_dialog.h"
#include "app/main_form.h"
#include "app_fixture.h"
#include "scripted_user.h"

namespace {

// Drags `data` over `target` and drops it there, as a user's mouse does.
bool DropOn(QWidget *target, const QMimeData &data) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QDateTime LongAgo() { return QDateTime::currentDateTime().addDays(-3); }

}  // namespace

class EditorHabitsTest : public QObject {
    Q_OBJECT

private slots:
    void FindGivesTheFocusBackToTheDialog();
    void ATextThatDoesNotOccurIsNotFound();
    void DroppedFilesOpenAndDroppedTextStaysText();
    void SaveAllWritesOnlyModifiedFiles();
    void PrintingWrapsLinesUnderAHeader();
};

void EditorHabitsTest::FindGivesTheFocusBackToTheDialog() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    main.show();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("kb.qvb", "alpha beta"), true);
    editor->actFind->trigger();
    TFindReplaceDialog *dialog = editor->FindDialog();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    dialog->eFind->setText("gamma");
    TScriptedUser user;
    // The message box, then the focus: the dialog's, never the editor's,
    // whose text a Ctrl+A and a key would replace.
    dialog->bttFindNext->click();
    QCOMPARE(user.messages, QStringList({"Find/Replace: \"gamma\" not found."}));
    QVERIFY(WaitFor([&] { return QApplication::activeWindow() == dialog; }));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(dialog->eFind));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "x");
    QCOMPARE(editor->Memo()->toPlainText(), QString("alpha beta"));
    QCOMPARE(dialog->FindText(), QString("x"));

    // The same after the end of a search that found something, and after
    // Replace All.
    dialog->eFind->setText("beta");
    dialog->bttFindNext->click();
    dialog->bttFindNext->click();
    QCOMPARE(user.messages.last(), QString("Find/Replace: End of document reached."));
    QVERIFY(WaitFor([&] { return QApplication::focusWidget() == dialog->eFind; }));
    editor->actReplace->trigger();
    dialog->eFind->setText("beta");
    dialog->eReplace->setText("delta");
    dialog->bttReplaceAll->click();
    QCOMPARE(user.messages.last(), QString("Find/Replace: 1 occurrence replaced."));
    QCOMPARE(editor->Memo()->toPlainText(), QString("alpha delta"));
    QVERIFY(WaitFor([&] { return QApplication::focusWidget() == dialog->eFind; }));
}

void EditorHabitsTest::ATextThatDoesNotOccurIsNotFound() {
    TAppFixture fixture;
    fixture.Main().NewFile();
    TmdiEditor *editor = fixture.ActiveEditor();
    editor->Memo()->setPlainText("Alpha alphabet");
    TScriptedUser user;
    QVERIFY(!editor->FindNext("alpha", {true, true}));
    QCOMPARE(user.messages, QStringList({"Find/Replace: \"alpha\" not found."}));
    QVERIFY(editor->FindNext("alpha", {true, false}));
    QVERIFY(!editor->FindNext("alpha", {true, false}));
    QCOMPARE(user.messages.last(), QString("Find/Replace: End of document reached."));
}

void EditorHabitsTest::DroppedFilesOpenAndDroppedTextStaysText() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("target.qvb", "target"), true);
    const QString dropped = fixture.WriteFile("dropped.qvb", "dropped text");

    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(dropped)});
    // A file manager offers the path as text too; the file wins.
    file.setText(QUrl::fromLocalFile(dropped).toString());
    QVERIFY(DropOn(editor->Memo()->viewport(), file));
    QCOMPARE(editor->Memo()->toPlainText(), QString("target"));
    QCOMPARE(main.Children().size(), 2);
    QCOMPARE(fixture.ActiveEditor()->FilePath(), dropped);
    QCOMPARE(fixture.ActiveEditor()->Memo()->toPlainText(), QString("dropped text"));

    // On the empty area of the main window: opened too, and an open file
    // is brought to the front rather than opened twice.
    main.CloseAll();
    QVERIFY(WaitFor([&] { return main.Children().isEmpty(); }));
    QVERIFY(DropOn(main.MdiArea()->viewport(), file));
    QCOMPARE(main.Children().size(), 1);
    QVERIFY(DropOn(main.MdiArea()->viewport(), file));
    QCOMPARE(main.Children().size(), 1);

    // Text is inserted as text; text alone is no file for the empty area.
    QMimeData text;
    text.setText("inserted ");
    TmdiEditor *open = fixture.ActiveEditor();
    DropOn(open->Memo()->viewport(), text);
    QVERIFY(open->Memo()->toPlainText().contains("inserted "));
    QCOMPARE(main.Children().size(), 1);
    QVERIFY(!DropOn(main.MdiArea()->viewport(), text));
}

void EditorHabitsTest::SaveAllWritesOnlyModifiedFiles() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    const QString kept = fixture.WriteFile("kept.qvb", "kept");
    const QString changed = fixture.WriteFile("changed.qvb", "changed");
    for (const QString &path : {kept, changed}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(LongAgo(), QFileDevice::FileModificationTime));
    }
    const QDateTime keptTime = QFileInfo(kept).lastModified();
    main.OpenEditor(kept, true);
    TmdiEditor *editor = main.OpenEditor(changed, true);
    editor->Memo()->selectAll();
    QTest::keyClicks(editor->Memo(), "new");
    main.NewFile();  // untouched and unnamed: no Save As dialog
    bool asked = false;
    main.SetFileChooser([&](TFileDialogKind, const QString &) {
        asked = true;
        return QString();
    });

    main.SaveAll();
    QVERIFY(!asked);
    QCOMPARE(QFileInfo(kept).lastModified(), keptTime);
    QCOMPARE(fixture.ReadFile(changed), QByteArray("new"));
    QVERIFY(QFileInfo(changed).lastModified() > keptTime);
    QVERIFY(!editor->IsModified());
}

void EditorHabitsTest::PrintingWrapsLinesUnderAHeader() {
    TAppFixture fixture;
    TMainForm &main = fixture.Main();
    QByteArray text;
    for (int i = 0; i < 150; ++i) text += "node n" + QByteArray::number(i) + " { prior 0.5 }\n";
    const QByteArray longLine = "// " + QByteArray(400, 'w') + " end of the long line\n";
    text += longLine;
    TmdiEditor *editor = main.OpenEditor(fixture.WriteFile("tomato.qvb", text), true);

    QPrinter printer(QPrinter::HighResolution);
    editor->PreparePrinter(printer);
    // The print dialog's PDF file is named after the knowledge base.
    QCOMPARE(printer.docName(), QString("tomato"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = fixture.Dir() + "/tomato.pdf";
    printer.setOutputFileName(pdf);

    TPrintLayout layout = editor->LayoutFor(printer);
    const int textLines = 151;
    // The long line is wrapped over several lines on paper, not cut off.
    QVERIFY2(layout.PrintedLineCount() >= textLines + 2, qPrintable(QString::number(layout.PrintedLineCount())));
    QVERIFY(layout.PageCount() >= 2);
    QCOMPARE(layout.Title(), QString("tomato.qvb"));
    QCOMPARE(layout.PageText(1), QString("Page 1 of %1").arg(layout.PageCount()));
    QCOMPARE(layout.PageText(layout.PageCount()),
             QString("Page %1 of %1").arg(layout.PageCount()));

    editor->PrintTo(printer);
    QVERIFY(QFileInfo(pdf).size() > 0);
    const QByteArray bytes = fixture.ReadFile(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    // One page object per laid-out page.
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
             layout.PageCount());
}

QTEST_MAIN(EditorHabitsTest)
#include "editor_habits_test.moc"
