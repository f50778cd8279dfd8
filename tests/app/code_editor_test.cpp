// The knowledge-base text as a code editor: colours by token class on light
// and dark palettes, the error of the check while typing marked with its
// tooltip, a click on a build message moving the caret, the outline, go to
// definition and back, completion, and the star of a modified file.
#include <QAbstractItemView>
#include <QCompleter>
#include <QMdiSubWindow>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>
#include <QtTest>

#include "app/code_editor.h"
#include "app/editor_window.h"
#include "app/kb_outline_pane.h"
#include "app/main_form.h"
#include "app/message_pane_navigator.h"
#include "app/qvb_highlighter.h"
#include "app_fixture.h"

namespace {

// Line 9 misspells the node of line 4.
const QByteArray kMisspelled = "// the car\n"
                               "nodes {\n"
                               "  cranks { 'Does it crank?' (bayesian, 0.6) retriever (wincf) }\n"
                               "  petrol_smell { (bayesian, 0.2) retriever (wincf) }\n"
                               "  flooded { 'Flooded' (bayesian, 0.05, goal) }\n"
                               "}\n"
                               "rules {\n"
                               "  { cranks, flooded, 0.1, 0.2 }\n"
                               "  { petrol_smel, flooded, 0.6, 0.02 }\n"
                               "}\n"
                               "taxonomies { faults hypothesis (flooded) }\n";

QPalette PaletteWithBase(const QColor &base, const QColor &text) {
    QPalette palette;
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    return palette;
}

// The class of the character at a line and column (from 0) of a document
// the highlighter coloured.
TQvbToken TokenAt(const TQvbHighlighter &highlighter, const QTextDocument &document, int line, int column) {
    const QTextBlock block = document.findBlockByNumber(line);
    for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
        if (column < range.start || column >= range.start + range.length) continue;
        for (TQvbToken token : {TQvbToken::keyword, TQvbToken::section, TQvbToken::nodeName, TQvbToken::number,
                                TQvbToken::text, TQvbToken::comment})
            if (range.format == highlighter.Format(token)) return token;
    }
    return TQvbToken::plain;
}

TCodeEditor *WaitForCheck(TmdiEditor *editor) {
    QSignalSpy checked(editor->Code(), &TCodeEditor::Checked);
    if (!checked.wait(20000)) return nullptr;
    return editor->Code();
}

void PutCaret(QPlainTextEdit *text, int line, int column) {
    QTextCursor caret(text->document()->findBlockByNumber(line));
    caret.setPosition(caret.position() + column);
    text->setTextCursor(caret);
}

}  // namespace

class CodeEditorTest : public QObject {
    Q_OBJECT

private slots:
    void HighlighterGivesEachTokenItsClass();
    void ColoursStandOutOnLightAndDarkPalettes();
    void TheCheckedErrorGetsItsMarkAndTooltip();
    void AClickOnAMessageMovesTheCaret();
    void OutlineGoToDefinitionAndCompletion();
    void AModifiedFileHasAStarInItsFrame();
};

void CodeEditorTest::HighlighterGivesEachTokenItsClass() {
    QTextDocument document;
    document.setPlainText("net { setparam(prottxt, \"r.txt\") } /* two\n"
                          "lines */ nodes { fever { 'Has it\n"
                          "a fever?' (bayesian, 0.3, goal) } }\n"
                          "rules { { fever, x, .5, 1e-1 } } // done\n");
    TQvbHighlighter highlighter(&document, PaletteWithBase(Qt::white, Qt::black));
    highlighter.SetNodeNames({"fever"});
    const std::vector<std::tuple<int, int, TQvbToken>> expected = {
        {0, 0, TQvbToken::section},   {0, 6, TQvbToken::keyword},  {0, 15, TQvbToken::plain},
        {0, 24, TQvbToken::text},     {0, 35, TQvbToken::comment}, {1, 2, TQvbToken::comment},
        {1, 9, TQvbToken::section},   {1, 17, TQvbToken::nodeName}, {1, 25, TQvbToken::text},
        {2, 2, TQvbToken::text},      {2, 11, TQvbToken::keyword}, {2, 21, TQvbToken::number},
        {2, 26, TQvbToken::keyword},  {3, 10, TQvbToken::nodeName}, {3, 17, TQvbToken::plain},
        {3, 20, TQvbToken::number},   {3, 24, TQvbToken::number},  {3, 33, TQvbToken::comment},
    };
    for (const auto &[line, column, token] : expected) {
        QCOMPARE(static_cast<int>(TokenAt(highlighter, document, line, column)), static_cast<int>(token));
    }
    // A name becomes a node's when a node of that name is declared.
    highlighter.SetNodeNames({"fever", "x"});
    QCOMPARE(static_cast<int>(TokenAt(highlighter, document, 3, 17)), static_cast<int>(TQvbToken::nodeName));

    // A help page is raw text up to its "}": no keywords, numbers or
    // sections in it, over lines too; after the section all is as before.
    QTextDocument pages;
    pages.setPlainText("description { /* pages\n"
                       "  */ fever { <p>Fever and not 12.2 rules</p>\n"
                       "  net and 3 } // note\n"
                       "}\n"
                       "rules { { fever, x, 0.5, 0.5 } }\n");
    TQvbHighlighter pageHighlighter(&pages, PaletteWithBase(Qt::white, Qt::black));
    pageHighlighter.SetNodeNames({"fever", "x"});
    const std::vector<std::tuple<int, int, TQvbToken>> inPages = {
        {0, 0, TQvbToken::section},  {0, 15, TQvbToken::comment}, {1, 2, TQvbToken::comment},
        {1, 5, TQvbToken::nodeName}, {1, 22, TQvbToken::plain},   {1, 26, TQvbToken::plain},
        {1, 30, TQvbToken::plain},   {1, 35, TQvbToken::plain},   {2, 2, TQvbToken::plain},    {2, 10, TQvbToken::plain},
        {2, 14, TQvbToken::comment}, {4, 0, TQvbToken::section},  {4, 10, TQvbToken::nodeName},
        {4, 20, TQvbToken::number},
    };
    for (const auto &[line, column, token] : inPages) {
        QCOMPARE(static_cast<int>(TokenAt(pageHighlighter, pages, line, column)), static_cast<int>(token));
    }
}

void CodeEditorTest::ColoursStandOutOnLightAndDarkPalettes() {
    QTextDocument document;
    for (const QColor &base : {QColor(Qt::white), QColor("#fdf6e3"), QColor("#1e1e1e"), QColor(Qt::black)}) {
        TQvbHighlighter highlighter(&document, PaletteWithBase(base, base.lightness() < 128 ? Qt::white : Qt::black));
        for (TQvbToken token : {TQvbToken::keyword, TQvbToken::section, TQvbToken::nodeName, TQvbToken::number,
                                TQvbToken::text, TQvbToken::comment}) {
            const QColor colour = highlighter.Format(token).foreground().color();
            QVERIFY2(std::abs(colour.lightness() - base.lightness()) >= 90,
                     qPrintable(colour.name() + " on " + base.name()));
        }
    }
}

void CodeEditorTest::TheCheckedErrorGetsItsMarkAndTooltip() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("car.qvb", kMisspelled), true);
    TCodeEditor *code = WaitForCheck(editor);
    QVERIFY(code != nullptr);
    QVERIFY(code->Error().has_value());
    QCOMPARE(code->ErrorBlock(), 8);
    QCOMPARE(code->ErrorTip(), QString("cannot add rule\nno node named \"petrol_smel\""));
    const QList<QTextEdit::ExtraSelection> marks = code->extraSelections();
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    QCOMPARE(marks[0].cursor.selectedText(), QString("petrol_smel"));
    QCOMPARE(marks[0].cursor.block().blockNumber(), 8);
    // The check wrote no help page or any other file beside the text.
    QCOMPARE(QDir(fixture.Dir()).entryList({"*.html"}, QDir::Files), QStringList());

    // The tooltip over the mark is the message and its detail.
    editor->show();
    QTextCursor inside = marks[0].cursor;
    inside.setPosition(marks[0].cursor.selectionStart() + 3);
    const QPoint at = code->cursorRect(inside).center();
    QHelpEvent help(QEvent::ToolTip, at, code->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(code->viewport(), &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), code->ErrorTip());
    QToolTip::hideText();
    // The gutter gives the same tooltip on the error's line, and none on another.
    QCOMPARE(code->GutterTip(at.y()), code->ErrorTip());
    QCOMPARE(code->GutterTip(code->cursorRect(QTextCursor(code->document())).center().y()), QString());

    // Fixing the name clears the mark at the next check.
    QTextCursor fix = marks[0].cursor;
    fix.insertText("petrol_smell");
    QVERIFY(WaitForCheck(editor) != nullptr);
    QVERIFY(!code->Error().has_value());
    QVERIFY(code->extraSelections().isEmpty());
    QCOMPARE(code->ErrorBlock(), -1);

    // A cycle has no place of its own: the first node it names is marked.
    QTextCursor end(code->document());
    end.movePosition(QTextCursor::End);
    end.insertText("rules { { flooded, cranks, 0.5, 0.5 } }\n");
    QVERIFY(WaitForCheck(editor) != nullptr);
    QCOMPARE(code->ErrorTip(), QString("cycle detected in rules\nthe rules go round: \"cranks\" -> \"flooded\" -> \"cranks\""));
    QCOMPARE(code->ErrorBlock(), 2);
    QCOMPARE(code->extraSelections().value(0).cursor.selectedText(), QString("cranks"));
}

void CodeEditorTest::AClickOnAMessageMovesTheCaret() {
    // Which place each pane line points at.
    const QStringList lines = {"Building inference net...", "[Error at line 9] cannot add rule",
                               "  column 5: no node named \"x\"", "Failed to compile.", "[Error at line 3] } expected",
                               "  line 2, column 14: found \"(\"", "[Error at line 4] no detail"};
    using Place = std::optional<std::pair<int, int>>;
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 0), Place());
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 1), Place({9, 5}));
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 2), Place({9, 5}));
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 3), Place());
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 5), Place({2, 14}));
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 6), Place({4, 1}));
    QCOMPARE(TMessagePaneNavigator::PlaceOfLine(lines, 7), Place());

    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("car.qvb", kMisspelled), true);
    editor->show();
    editor->DoBuildNet();
    QPlainTextEdit *pane = editor->MessagePane();
    QCOMPARE(pane->document()->findBlockByNumber(2).text(), QString("  column 5: no node named \"petrol_smel\""));
    PutCaret(editor->Memo(), 0, 0);
    const QPoint onDetail = pane->cursorRect(QTextCursor(pane->document()->findBlockByNumber(2))).center();
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, onDetail + QPoint(20, 0));
    QTextCursor caret = editor->Memo()->textCursor();
    QCOMPARE(caret.blockNumber(), 8);
    QCOMPARE(caret.positionInBlock(), 4);
    // A line without a place leaves the caret where it is.
    const QPoint onFirst = pane->cursorRect(QTextCursor(pane->document()->findBlockByNumber(0))).center();
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, onFirst);
    QCOMPARE(editor->Memo()->textCursor().blockNumber(), 8);
}

void CodeEditorTest::OutlineGoToDefinitionAndCompletion() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("car.qvb", kMisspelled), true);
    TCodeEditor *code = WaitForCheck(editor);
    QVERIFY(code != nullptr);

    // The outline: goals, the other nodes, the taxonomies; it follows the caret.
    TKbOutlinePane *outline = editor->Outline();
    QCOMPARE(outline->topLevelItemCount(), 3);
    QCOMPARE(outline->topLevelItem(0)->child(0)->text(0), QString("flooded"));
    QCOMPARE(outline->topLevelItem(0)->child(0)->toolTip(0), QString("flooded"));  // whole, where cut
    QCOMPARE(outline->topLevelItem(1)->childCount(), 2);
    QCOMPARE(outline->topLevelItem(2)->child(0)->text(0), QString("faults"));
    PutCaret(code, 3, 5);
    QCOMPARE(outline->currentItem()->text(0), QString("petrol_smell"));
    // An edit there checks the text again and replaces the entries: the
    // outline still follows the caret, not the group that held the entry.
    QSignalSpy checkedAgain(code, &TCodeEditor::Checked);
    PutCaret(code, 3, 2);
    code->insertPlainText("x");
    QVERIFY(checkedAgain.wait(20000));
    QVERIFY(outline->currentItem() != nullptr);
    QCOMPARE(outline->currentItem()->text(0), QString("xpetrol_smell"));
    PutCaret(code, 0, 2);  // the comment: no declaration, nothing selected
    QVERIFY(outline->currentItem() == nullptr);
    code->undo();
    QVERIFY(checkedAgain.wait(20000));
    QSignalSpy goTo(outline, &TKbOutlinePane::GoToRequested);
    emit outline->itemActivated(outline->topLevelItem(0)->child(0), 0);
    QCOMPARE(code->textCursor().blockNumber(), 4);

    // F12 on "flooded" in a rule goes to its declaration; Alt+Left comes back.
    PutCaret(code, 7, 14);
    QTest::keyClick(code, Qt::Key_F12);
    QCOMPARE(code->textCursor().blockNumber(), 4);
    QCOMPARE(code->textCursor().positionInBlock(), 2);
    QTest::keyClick(code, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(code->textCursor().blockNumber(), 7);
    QCOMPARE(code->textCursor().positionInBlock(), 14);
    // A name without a definition in the text goes nowhere.
    PutCaret(code, 8, 6);
    QVERIFY(!code->GoToDefinition());
    QCOMPARE(code->textCursor().blockNumber(), 8);

    // Ctrl+Space offers the names that begin with what is typed.
    PutCaret(code, 10, 0);
    code->insertPlainText("petr");
    QTest::keyClick(code, Qt::Key_Space, Qt::ControlModifier);
    QCompleter *completer = code->findChild<QCompleter *>();
    QVERIFY(completer != nullptr);
    QCOMPARE(completer->completionCount(), 1);
    QCOMPARE(completer->currentCompletion(), QString("petrol_smell"));
    emit completer->activated(completer->currentCompletion());
    QCOMPARE(code->textCursor().block().text().left(12), QString("petrol_smell"));
    completer->setCompletionPrefix("win");
    QVERIFY(completer->completionCount() >= 5);  // the registry's retrievers
}

void CodeEditorTest::AModifiedFileHasAStarInItsFrame() {
    TAppFixture fixture;
    TmdiEditor *editor = fixture.Main().OpenEditor(fixture.WriteFile("car.qvb", kMisspelled), true);
    auto *frame = qobject_cast<QMdiSubWindow *>(editor->parentWidget());
    QVERIFY(frame != nullptr);
    QTRY_COMPARE(frame->windowTitle(), QString("car.qvb"));
    editor->Memo()->insertPlainText("// edited\n");
    QTRY_COMPARE(frame->windowTitle(), QString("car.qvb*"));
    QCOMPARE(editor->windowTitle(), QString("car.qvb"));
    editor->DoSave();
    QTRY_COMPARE(frame->windowTitle(), QString("car.qvb"));
}

QTEST_MAIN(CodeEditorTest)
#include "code_editor_test.moc"
