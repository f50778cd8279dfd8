#include "app/editor_window.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSplitter>
#include <QStringDecoder>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/code_editor.h"
#include "app/find_replace_dialog.h"
#include "app/kb_outline_pane.h"
#include "app/message_pane_navigator.h"
#include "app/modified_title.h"
#include "app/message_boxes.h"
#include "app/print_layout.h"
#include "app/window_helpers.h"
#include "consult/inf_control.h"
#include "language/input_char.h"
#include "language/output_memo.h"
#include "language/source_file.h"
#include "ui/message_pane.h"

namespace {

// The editor's message pane as the build's line sink sees it.
class TMessagePaneView : public IMessagePane {
public:
    explicit TMessagePaneView(QPlainTextEdit *pane) : pane(pane) {}
    void Clear() override {
        pane->clear();
        pane->repaint();
    }
    void AppendLine(const char *line) override {
        pane->appendPlainText(QString::fromUtf8(line));
        // Shown at once, while a long build still runs.
        pane->repaint();
    }

private:
    QPlainTextEdit *pane;
};

QFont EditorFont() {
    QFont font("Courier New");
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

// The editor's face in a size for paper.
QFont PrintFont() {
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

TmdiEditor::TmdiEditor(IChildHost &childHost)
    : TAbstractMDIChild(childHost), control(std::make_unique<CInfControl>(childHost.Registry())) {
    memo = code = new TCodeEditor(childHost.Registry());
    memo->setObjectName("memo");
    memo->setFont(EditorFont());
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setTabChangesFocus(false);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outline = new TKbOutlinePane;
    auto *page = new QSplitter(Qt::Horizontal);
    page->addWidget(memo);
    page->addWidget(outline);
    page->setStretchFactor(0, 4);
    page->setStretchFactor(1, 1);
    pages = new QTabWidget;
    pages->addTab(page, "&Knowledge Base");

    messages = new QPlainTextEdit;
    messages->setObjectName("messagePane");
    messages->setReadOnly(true);
    messages->setFont(EditorFont());
    messages->setLineWrapMode(QPlainTextEdit::NoWrap);
    messages->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    messages->setMinimumSize(200, 30);
    messages->setContextMenuPolicy(Qt::CustomContextMenu);

    splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(pages);
    splitter->addWidget(messages);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    messages->hide();

    CreateActions();
    CreateMenus();

    connect(memo, &QPlainTextEdit::textChanged, this, [this] { textChanged = true; });
    connect(memo, &QPlainTextEdit::cursorPositionChanged, this, &TmdiEditor::UpdateStatus);
    connect(pages, &QTabWidget::currentChanged, this, &TmdiEditor::UpdateStatus);
    connect(messages, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu;
        menu.addAction(actCloseMessages);
        menu.exec(messages->mapToGlobal(at));
    });
    new TMessagePaneNavigator(messages, code);
    new TModifiedTitle(this, memo->document());
    // A new index replaces the entries, the followed one too: follow the caret again.
    connect(code, &TCodeEditor::Checked, outline, [this] {
        outline->SetIndex(code->Index());
        outline->FollowLine(memo->textCursor().blockNumber() + 1);
    });
    connect(outline, &TKbOutlinePane::GoToRequested, code, &TCodeEditor::GoToPlace);
    connect(memo, &QPlainTextEdit::cursorPositionChanged, outline,
            [this] { outline->FollowLine(memo->textCursor().blockNumber() + 1); });
    memo->installEventFilter(this);
    memo->viewport()->installEventFilter(this);
    memo->viewport()->setMouseTracking(true);
}

TmdiEditor::~TmdiEditor() = default;

void TmdiEditor::CreateActions() {
    auto make = [this](const QString &caption, const QString &hint, const QKeySequence &shortcut) {
        QAction *action = MakeAction(this, caption, hint, shortcut);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        return action;
    };
    actSaveAs = make("Save &As...", "Save As|Save current file with different name", QKeySequence("Ctrl+Shift+S"));
    actPrint = make("&Print...", "Print|Print current file", QKeySequence());
    actPrintPreview = make("Print Pre&view...", "Print Preview|Show the pages as they will be printed",
                           QKeySequence());
    actFind = make("&Find", QString(), QKeySequence("Ctrl+F"));
    actReplace = make("&Replace", QString(), QKeySequence("Ctrl+R"));
    actUndo = make("Undo", "Undos last change", QKeySequence());
    actUndo->setEnabled(false);
    actRedo = make("Redo", "Redoes the last change undone", QKeySequence("Ctrl+Shift+Z"));
    actRedo->setEnabled(false);
    actCloseMessages = new QAction("&Close Messages", this);

    connect(actSaveAs, &QAction::triggered, this, &TmdiEditor::SaveAs);
    connect(actPrint, &QAction::triggered, this, &TmdiEditor::Print);
    connect(actPrintPreview, &QAction::triggered, this, &TmdiEditor::PrintPreview);
    connect(actFind, &QAction::triggered, this, &TmdiEditor::Find);
    connect(actReplace, &QAction::triggered, this, &TmdiEditor::Replace);
    connect(actUndo, &QAction::triggered, memo, &QPlainTextEdit::undo);
    connect(memo, &QPlainTextEdit::undoAvailable, actUndo, &QAction::setEnabled);
    connect(actRedo, &QAction::triggered, memo, &QPlainTextEdit::redo);
    connect(memo, &QPlainTextEdit::redoAvailable, actRedo, &QAction::setEnabled);
    connect(actCloseMessages, &QAction::triggered, this, [this] { ShowMessages(false); });
}

void TmdiEditor::CreateMenus() {
    AddFileMenu(actSaveAs, actPrint, actPrintPreview);

    QMenu *edit = AddMenu("&Edit");
    edit->addAction(actUndo);
    edit->addAction(actRedo);
    edit->addSeparator();
    edit->addAction(host.Command(THostCommand::cut));
    edit->addAction(host.Command(THostCommand::copy));
    edit->addAction(host.Command(THostCommand::paste));
    edit->addSeparator();
    edit->addAction(actFind);
    edit->addAction(actReplace);

    AddMenu("&Project")->addAction(host.Command(THostCommand::buildNet));
    AddMenu("&Consultation")->addAction(host.Command(THostCommand::consult));
}

// Files

void TmdiEditor::SetFile(const QString &path, bool isNamed) {
    filePath = path;
    named = isNamed;
    setWindowTitle(QFileInfo(path).fileName());
}

bool TmdiEditor::LoadFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TMessageBoxes::Show(this, QString("Cannot read file %1: %2").arg(path, file.errorString()), "Error",
                            TMessageIcon::error);
        return false;
    }
    // A text the compiler could not take whole is not opened at all.
    if (const auto problem = SourceSizeProblem(file.size())) {
        TMessageBoxes::Show(this, QString("Cannot read file %1: %2").arg(path, QString::fromStdString(*problem)),
                            "Error", TMessageIcon::error);
        return false;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    latin1 = utf8.hasError();
    if (latin1) text = QString::fromLatin1(bytes);
    // Files written on Windows read the same as ours.
    text.replace("\r\n", "\n");
    memo->setPlainText(text);
    textChanged = true;
    built = false;
    return true;
}

QByteArray TmdiEditor::EncodedText(bool &asLatin1) const {
    const QString text = memo->toPlainText();
    asLatin1 = latin1;
    for (const QChar c : text) asLatin1 = asLatin1 && c.unicode() <= 0xFF;
    return asLatin1 ? text.toLatin1() : text.toUtf8();
}

bool TmdiEditor::SaveToFile(const QString &path) {
    bool asLatin1 = false;
    const QByteArray bytes = EncodedText(asLatin1);
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    if (written)
        written = file.commit();
    else
        file.cancelWriting();
    if (!written) {
        TMessageBoxes::Show(this, QString("Cannot save file %1: %2").arg(path, file.errorString()), "Error",
                            TMessageIcon::error);
        return false;
    }
    // A text with characters beyond Latin-1 was written as UTF-8.
    latin1 = asLatin1;
    MarkUnmodified();
    return true;
}

void TmdiEditor::DoSave() {
    if (!named) {
        SaveAs();
        return;
    }
    SaveToFile(filePath);
    UpdateStatus();
}

void TmdiEditor::SaveAs() {
    QString path = host.ChooseFile(TFileDialogKind::save, filePath);
    if (path.isEmpty()) {
        UpdateStatus();
        return;
    }
    if (!QFileInfo(path).fileName().contains('.')) path += ".qvb";
    if (QFileInfo::exists(path)) {
        const TYesNoCancel answer =
            TMessageBoxes::Ask(this, "File " + path + " already exists. Overwrite?", "Confirmation");
        if (answer != TYesNoCancel::yes) return;
    }
    if (SaveToFile(path)) SetFile(path, true);
    UpdateStatus();
}

void TmdiEditor::MarkUnmodified() { memo->document()->setModified(false); }

bool TmdiEditor::IsModified() const { return memo->document()->isModified(); }

bool TmdiEditor::CanClose() {
    if (!IsModified()) return true;
    switch (TMessageBoxes::Ask(this, "Save changes to file " + filePath + "?", "Confirmation")) {
    case TYesNoCancel::yes: DoSave(); return !IsModified();
    case TYesNoCancel::no: return true;
    case TYesNoCancel::cancel: break;
    }
    return false;
}

// Building and consulting

int TmdiEditor::PositionOfByte(const QByteArray &bytes, qsizetype offset, bool asLatin1) const {
    const QByteArray before = bytes.left(offset);
    const QString text = asLatin1 ? QString::fromLatin1(before) : QString::fromUtf8(before);
    return static_cast<int>(std::min<qsizetype>(text.size(), memo->document()->characterCount() - 1));
}

void TmdiEditor::DoBuildNet() {
    textChanged = false;
    pages->setCurrentIndex(0);
    ShowMessages(true);
    memo->setEnabled(false);

    bool asLatin1 = false;
    const QByteArray source = EncodedText(asLatin1);
    // A text grown past what a source holds builds as an unreadable source
    // rather than as its first bytes.
    const bool tooLarge = SourceSizeProblem(source.size()).has_value();
    CPInputChar input(tooLarge ? nullptr : source.constData(), tooLarge ? 0 : static_cast<int32_t>(source.size()));
    TMessagePaneView pane(messages);
    CPOutputMemo output(&pane);
    control->SetInput(&input);
    control->SetOutput(&output);
    control->SetRegistry(host.Registry());
    // Help pages and report files live beside the knowledge base.
    control->SetSourceDirectory(QFileInfo(filePath).absolutePath().toUtf8().constData());
    built = control->BuildNet() == 0;
    control->SetInput(nullptr);
    control->SetOutput(nullptr);

    memo->setEnabled(true);
    if (tooLarge) {
        TMessageBoxes::Show(this,
                            QString("Cannot build: the text is too large (%1 bytes; at most %2)")
                                .arg(source.size())
                                .arg(CPInputChar::kMaxLength),
                            "Error", TMessageIcon::error);
    } else if (!built && !control->ConsistencyFailed()) {
        QTextCursor caret = memo->textCursor();
        caret.setPosition(PositionOfByte(source, control->ErrorPosition(), asLatin1));
        memo->setTextCursor(caret);
        memo->ensureCursorVisible();
    }
    memo->setFocus();
    UpdateStatus();
}

void TmdiEditor::DoConsult() {
    if (textChanged || !built) DoBuildNet();
    if (!built) return;
    ShowMessages(false);
    const QDateTime now = QDateTime::currentDateTime();
    const QString caption = windowTitle() + " " + QLocale().toString(now.time(), QLocale::ShortFormat) + " " +
                            QLocale().toString(now.date(), QLocale::ShortFormat);
    control->SetConsultationName(caption.toUtf8().constData());
    host.OpenConsultation(std::move(control), caption, this);
    control = std::make_unique<CInfControl>(host.Registry());
    textChanged = true;
    built = false;
}

// Find and replace

void TmdiEditor::Find() {
    if (findDialog == nullptr) {
        findDialog = new TFindReplaceDialog(this);
        connect(findDialog, &TFindReplaceDialog::FindNextRequested, this,
                [this] { FindNext(findDialog->FindText(), findDialog->Options()); });
        connect(findDialog, &TFindReplaceDialog::ReplaceRequested, this, [this] {
            ReplaceOnce(findDialog->FindText(), findDialog->ReplaceText(), findDialog->Options());
        });
        connect(findDialog, &TFindReplaceDialog::ReplaceAllRequested, this, [this] {
            ReplaceAll(findDialog->FindText(), findDialog->ReplaceText(), findDialog->Options());
        });
    }
    findDialog->Open(false, memo->textCursor().selectedText());
}

void TmdiEditor::Replace() {
    Find();
    findDialog->Open(true, memo->textCursor().selectedText());
}

void TmdiEditor::SearchMessage(const QString &text) {
    // Over the find dialog when it is open, and the focus back in it after:
    // keys typed next belong to the dialog, not to the knowledge base.
    const bool fromDialog = findDialog != nullptr && findDialog->isVisible();
    QMessageBox box(QMessageBox::NoIcon, "Find/Replace", text, QMessageBox::Ok,
                    fromDialog ? static_cast<QWidget *>(findDialog) : this);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    if (fromDialog) findDialog->TakeFocus();
}

QString TmdiEditor::NotFoundText(const QString &what) { return QString("\"%1\" not found.").arg(what); }

bool TmdiEditor::FindNext(const QString &what, TSearchOptions options) {
    QTextCursor caret = memo->textCursor();
    const qsizetype from = caret.hasSelection() ? caret.selectionStart() + 1 : caret.position();
    const QString text = memo->toPlainText();
    const qsizetype at = FindForward(text, what, from, options);
    if (at < 0) {
        QApplication::beep();
        // "End of document reached." ends a search through a text that has
        // the string; a text without it says so instead.
        SearchMessage(FindForward(text, what, 0, options) < 0 ? NotFoundText(what) : "End of document reached.");
        // The next search begins at the top.
        caret.setPosition(0);
        memo->setTextCursor(caret);
        return false;
    }
    caret.setPosition(static_cast<int>(at));
    caret.setPosition(static_cast<int>(at + what.size()), QTextCursor::KeepAnchor);
    memo->setTextCursor(caret);
    return true;
}

void TmdiEditor::ReplaceOnce(const QString &what, const QString &with, TSearchOptions options) {
    QTextCursor caret = memo->textCursor();
    if (caret.hasSelection()) {
        caret.insertText(with);
        memo->setTextCursor(caret);
    }
    FindNext(what, options);
}

int TmdiEditor::ReplaceAll(const QString &what, const QString &with, TSearchOptions options) {
    // Every match in the whole text, found in the text as it was (so a
    // replacement that contains the string is not replaced again), as one
    // step for Undo.
    const QString text = memo->toPlainText();
    QTextCursor edit(memo->document());
    edit.beginEditBlock();
    int count = 0;
    qsizetype shift = 0;
    for (qsizetype at = FindForward(text, what, 0, options); at >= 0;
         at = FindForward(text, what, at + what.size(), options)) {
        edit.setPosition(static_cast<int>(at + shift));
        edit.setPosition(static_cast<int>(at + shift + what.size()), QTextCursor::KeepAnchor);
        edit.insertText(with);
        shift += with.size() - what.size();
        ++count;
    }
    edit.endEditBlock();
    if (count == 0) QApplication::beep();
    SearchMessage(count == 0   ? NotFoundText(what)
                  : count == 1 ? QString("1 occurrence replaced.")
                               : QString("%1 occurrences replaced.").arg(count));
    return count;
}

// Printing

void TmdiEditor::PreparePrinter(QPrinter &printer) const {
    // The print dialog proposes a PDF file named after the document.
    printer.setDocName(QFileInfo(filePath).completeBaseName());
}

void TmdiEditor::Print() {
    QPrinter printer;
    PreparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintTo(printer);
}

void TmdiEditor::PrintPreview() {
    QPrinter printer;
    PreparePrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *pages) { PrintTo(*pages); });
    preview.exec();
}

void TmdiEditor::PrintTo(QPrinter &printer) {
    if (printer.docName().isEmpty()) PreparePrinter(printer);
    TPrintLayout layout(memo->toPlainText(), QFileInfo(filePath).fileName(), PrintFont(), printer);
    QPainter painter;
    if (!painter.begin(&printer)) return;
    layout.Print(painter);
    painter.end();
}

TPrintLayout TmdiEditor::LayoutFor(QPagedPaintDevice &device) const {
    return TPrintLayout(memo->toPlainText(), QFileInfo(filePath).fileName(), PrintFont(), device);
}

// The window's parts

bool TmdiEditor::MessagesShown() const { return !messages->isHidden(); }

void TmdiEditor::ShowMessages(bool shown) { messages->setVisible(shown); }

void TmdiEditor::FocusText() {
    pages->setCurrentIndex(0);
    memo->setFocus();
}

QString TmdiEditor::CaretText() const {
    const QTextCursor caret = memo->textCursor();
    return QString::asprintf("%8li:%8li", static_cast<long>(caret.blockNumber() + 1),
                             static_cast<long>(caret.positionInBlock() + 1));
}

void TmdiEditor::UpdateStatus() {
    emit StatusPanelChanged(0, CaretText());
    emit StatusPanelChanged(1, QString());
}

bool TmdiEditor::eventFilter(QObject *watched, QEvent *event) {
    // Files dropped on the text open in editors of their own; anything else
    // dropped (text) is the text control's.
    if (watched == memo->viewport()) {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDragMoveEvent *>(event);
            if (DroppedFiles(drag->mimeData()).isEmpty()) break;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            const QStringList files = DroppedFiles(drop->mimeData());
            if (files.isEmpty()) break;
            drop->acceptProposedAction();
            emit FilesDropped(files);
            return true;
        }
        default: break;
        }
    }
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseMove: UpdateStatus(); break;
    default: break;
    }
    return TAbstractMDIChild::eventFilter(watched, event);
}
