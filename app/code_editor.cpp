#include "app/code_editor.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QCompleter>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

#include "app/background_check.h"
#include "app/line_gutter.h"
#include "app/qvb_highlighter.h"
#include "language/lexer.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/data_retriever.h"

namespace {

constexpr int kTypingPauseMs = 250;

// The bytes a character takes in UTF-8; a surrogate pair's four go to its
// first half.
int Utf8Bytes(QChar c) {
    const char16_t code = c.unicode();
    if (QChar::isLowSurrogate(code)) return 0;
    if (QChar::isHighSurrogate(code)) return 4;
    if (code < 0x80) return 1;
    return code < 0x800 ? 2 : 3;
}

QStringList RetrieverNames(CAllRetrievers *registry) {
    QStringList names;
    for (int32_t i = 0; registry != nullptr && i < registry->retrievers.Count(); ++i) {
        CString name;
        CString translator;
        registry->retrievers.At(i)->GetNames(name, translator);
        names.append(QString::fromUtf8(name.Text()));
    }
    return names;
}

}  // namespace

TCodeEditor::TCodeEditor(CAllRetrievers *registry, QWidget *parent)
    : QPlainTextEdit(parent), gutter(new TLineGutter(this, this)),
      highlighter(new TQvbHighlighter(document(), palette())), checker(new TBackgroundCheck(this)),
      typingPause(new QTimer(this)), completer(new QCompleter(this)), completions(new QStringListModel(this)),
      registryNames(RetrieverNames(registry)), index(std::make_shared<const CSymbolIndex>()) {
    typingPause->setSingleShot(true);
    typingPause->setInterval(kTypingPauseMs);
    connect(typingPause, &QTimer::timeout, this, &TCodeEditor::CheckNow);
    connect(document(), &QTextDocument::contentsChanged, typingPause, qOverload<>(&QTimer::start));
    connect(checker, &TBackgroundCheck::Finished, this, &TCodeEditor::TakeCheck);

    connect(this, &QPlainTextEdit::blockCountChanged, this, &TCodeEditor::UpdateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy != 0) {
            gutter->scroll(0, dy);
        } else {
            gutter->update(0, rect.y(), gutter->width(), rect.height());
        }
    });
    UpdateGutterWidth();

    completer->setModel(completions);
    completer->setWidget(this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    connect(completer, qOverload<const QString &>(&QCompleter::activated), this, &TCodeEditor::InsertCompletion);
}

TCodeEditor::~TCodeEditor() = default;

// ---------------------------------------------------------------- checking

void TCodeEditor::CheckNow() {
    typingPause->stop();
    checker->Check(toPlainText().toUtf8());
}

void TCodeEditor::TakeCheck(const CTextCheck &check, std::shared_ptr<const CSymbolIndex> checkedIndex) {
    index = std::move(checkedIndex);
    QSet<QString> names;
    for (const CNodeSymbol &node : index->Nodes()) names.insert(QString::fromStdString(node.name));
    highlighter->SetNodeNames(names);
    std::optional<CDiagnostic> found = check.ok ? std::nullopt : check.diagnostic;
    // A consistency problem has no place: it is marked on the first node it names.
    if (found && found->place.line == 0) {
        if (const CNodeSymbol *node = index->FirstNodeNamedIn(found->message + " " + found->detail))
            found->place = node->place;
    }
    SetError(found);
    emit Checked();
}

// ---------------------------------------------------------------- the error

void TCodeEditor::SetError(const std::optional<CDiagnostic> &found) {
    error = found;
    UpdateMarks();
    gutter->update();
}

int TCodeEditor::ErrorBlock() const {
    if (!error || error->place.line <= 0) return -1;
    return error->place.line - 1 < blockCount() ? error->place.line - 1 : -1;
}

QString TCodeEditor::ErrorTip() const {
    if (!error) return QString();
    const QString message = QString::fromStdString(error->message);
    return error->detail.empty() ? message : message + "\n" + QString::fromStdString(error->detail);
}

void TCodeEditor::UpdateMarks() {
    QList<QTextEdit::ExtraSelection> marks;
    if (ErrorBlock() >= 0) {
        int start = PositionOfPlace(error->place.line, error->place.column);
        int end = PositionOfPlace(error->place.line, error->place.endColumn);
        const QTextBlock block = document()->findBlockByNumber(ErrorBlock());
        const int blockEnd = block.position() + block.length() - 1;
        // An empty range (the end of the text) marks the character at it,
        // or the one before it at the end of a line.
        if (end <= start && start < blockEnd) {
            end = start + 1;
        } else if (end <= start && start > block.position()) {
            end = start--;
        }
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(document());
        mark.cursor.setPosition(start);
        mark.cursor.setPosition(std::max(start, end), QTextCursor::KeepAnchor);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(QColor(220, 30, 30));
        mark.format.setToolTip(ErrorTip());
        marks.append(mark);
    }
    setExtraSelections(marks);
}

void TCodeEditor::RevealError() {
    if (ErrorBlock() < 0) return;
    GoToPlace(error->place.line, error->place.column);
}

// ---------------------------------------------------------------- places

int TCodeEditor::PositionOfPlace(int line, int byteColumn) const {
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (!block.isValid()) return -1;
    const QString text = block.text();
    int bytes = 0;
    int at = 0;
    while (at < text.size() && bytes < byteColumn - 1) bytes += Utf8Bytes(text[at++]);
    return block.position() + at;
}

void TCodeEditor::GoToPlace(int line, int byteColumn) {
    const int position = PositionOfPlace(line, byteColumn);
    if (position < 0) return;
    QTextCursor caret = textCursor();
    caret.setPosition(position);
    setTextCursor(caret);
    centerCursor();
    setFocus();
}

bool TCodeEditor::GoToDefinition() {
    // The index of the text as it stands, which the last check may not know yet.
    const QByteArray text = toPlainText().toUtf8();
    const CSymbolIndex current = CSymbolIndex::Read(std::string(text.constData(), static_cast<size_t>(text.size())));
    const QTextCursor caret = textCursor();
    const QString before = caret.block().text().left(caret.positionInBlock());
    const CSymbolUse *use = current.UseAt(caret.blockNumber() + 1, static_cast<int32_t>(before.toUtf8().size()) + 1);
    if (use == nullptr) return false;
    const auto definition = current.DefinitionOf(use->kind, use->name);
    if (!definition) return false;
    backStack.append(caret.position());
    GoToPlace(definition->line, definition->column);
    return true;
}

bool TCodeEditor::GoBack() {
    if (backStack.isEmpty()) return false;
    QTextCursor caret = textCursor();
    caret.setPosition(std::min(backStack.takeLast(), document()->characterCount() - 1));
    setTextCursor(caret);
    centerCursor();
    return true;
}

// ---------------------------------------------------------------- completion

QString TCodeEditor::WordAtCaret(QTextCursor &word) const {
    word = textCursor();
    const QString line = word.block().text();
    int start = word.positionInBlock();
    while (start > 0 && (line[start - 1].isLetterOrNumber() || line[start - 1] == '_')) --start;
    word.setPosition(word.block().position() + start, QTextCursor::KeepAnchor);
    return word.selectedText();
}

void TCodeEditor::Complete() {
    QStringList names;
    for (const CNodeSymbol &node : index->Nodes()) names.append(QString::fromStdString(node.name));
    for (const CNetEntrySymbol &entry : index->NetEntries())
        if (entry.kind == TSymbolKind::retriever) names.append(QString::fromStdString(entry.name));
    names.append(registryNames);
    for (const std::string &keyword : CLexicalAnalyzer::Keywords()) names.append(QString::fromStdString(keyword));
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    completions->setStringList(names);
    QTextCursor word;
    completer->setCompletionPrefix(WordAtCaret(word));
    completer->popup()->setCurrentIndex(completer->completionModel()->index(0, 0));
    QRect where = cursorRect();
    where.setWidth(completer->popup()->sizeHintForColumn(0) + completer->popup()->verticalScrollBar()->sizeHint().width());
    completer->complete(where);
}

void TCodeEditor::InsertCompletion(const QString &completion) {
    QTextCursor word;
    WordAtCaret(word);
    word.insertText(completion);
    setTextCursor(word);
}

// ---------------------------------------------------------------- events

void TCodeEditor::keyPressEvent(QKeyEvent *event) {
    if (completer->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
            event->ignore();  // the completer takes them
            return;
        default: break;
        }
    }
    if (event->key() == Qt::Key_F12) {
        GoToDefinition();
        return;
    }
    if (event->key() == Qt::Key_Left && event->modifiers() == Qt::AltModifier) {
        GoBack();
        return;
    }
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::ControlModifier) {
        Complete();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TCodeEditor::mouseReleaseEvent(QMouseEvent *event) {
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::ControlModifier) {
        setTextCursor(cursorForPosition(event->position().toPoint()));
        GoToDefinition();
    }
}

bool TCodeEditor::viewportEvent(QEvent *event) {
    if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const int position = cursorForPosition(help->pos()).position();
    const QList<QTextEdit::ExtraSelection> marks = extraSelections();
    for (const QTextEdit::ExtraSelection &mark : marks) {
        if (position >= mark.cursor.selectionStart() && position <= mark.cursor.selectionEnd()) {
            QToolTip::showText(help->globalPos(), mark.format.toolTip(), viewport());
            return true;
        }
    }
    QToolTip::hideText();
    return true;
}

void TCodeEditor::resizeEvent(QResizeEvent *event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    gutter->setGeometry(QRect(area.left(), area.top(), GutterWidth(), area.height()));
}

void TCodeEditor::UpdateGutterWidth() { setViewportMargins(GutterWidth(), 0, 0, 0); }

int TCodeEditor::GutterWidth() const {
    const int digits = QString::number(std::max(1, blockCount())).size();
    // Room for the error's mark on the left.
    return fontMetrics().horizontalAdvance(QLatin1Char('9')) * (digits + 1) + fontMetrics().height() / 2 + 6;
}

QString TCodeEditor::GutterTip(int y) const {
    // The line at that height: the editor's block there.
    return cursorForPosition(QPoint(0, y)).blockNumber() == ErrorBlock() ? ErrorTip() : QString();
}

// ---------------------------------------------------------------- the gutter

void TCodeEditor::PaintGutter(QPaintEvent *event) {
    QPainter painter(gutter);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    const QColor numberColour = palette().color(QPalette::PlaceholderText);
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int lineHeight = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top()) {
            if (block.blockNumber() == ErrorBlock()) {
                painter.setBrush(QColor(220, 30, 30));
                painter.setPen(Qt::NoPen);
                const int size = lineHeight / 2;
                painter.drawEllipse(3, top + (lineHeight - size) / 2, size, size);
            }
            painter.setPen(numberColour);
            painter.drawText(0, top, gutter->width() - 4, lineHeight, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}
