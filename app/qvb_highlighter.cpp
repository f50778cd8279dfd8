#include "app/qvb_highlighter.h"

#include <algorithm>

#include <QPalette>

#include "language/lexer.h"

namespace {

// Block states, as bits: where a line ends. A comment may stand between the
// entries of the description section, so the section's bits are kept under
// a comment's.
enum State {
    kInComment = 1,
    kInText = 2,
    kAwaitingDescription = 4,  // after the word "description", before its "{"
    kInDescription = 8,        // between the section's entries
    kInHelpPage = 16,          // in an entry's page, raw text up to its "}"
};
constexpr int kSectionBits = kAwaitingDescription | kInDescription | kInHelpPage;

bool IsWordChar(QChar c) {
    if (c.unicode() <= ' ') return false;
    return c != '(' && c != ')' && c != ',' && c != '/' && c != '{' && c != '}' && c != '\'' && c != '"';
}

bool IsNumberChar(QChar c) { return c.isDigit() || c == '.' || c == 'e' || c == 'E'; }

QTextCharFormat Coloured(const QColor &colour, bool bold = false, bool italic = false) {
    QTextCharFormat format;
    format.setForeground(colour);
    if (bold) format.setFontWeight(QFont::Bold);
    format.setFontItalic(italic);
    return format;
}

}  // namespace

TQvbHighlighter::TQvbHighlighter(QTextDocument *document, const QPalette &palette)
    : QSyntaxHighlighter(document), sections({"net", "nodes", "rules", "links", "taxonomies", "description"}) {
    for (const std::string &word : CLexicalAnalyzer::Keywords()) keywords.insert(QString::fromStdString(word));
    SetPalette(palette);
}

void TQvbHighlighter::SetPalette(const QPalette &palette) {
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    const auto pick = [dark](const char *onLight, const char *onDark) { return QColor(dark ? onDark : onLight); };
    formats[static_cast<int>(TQvbToken::keyword)] = Coloured(pick("#1f4fa8", "#82aaff"), true);
    formats[static_cast<int>(TQvbToken::section)] = Coloured(pick("#7b1fa2", "#d7a1f2"), true);
    formats[static_cast<int>(TQvbToken::nodeName)] = Coloured(pick("#00695c", "#6fd3c6"));
    formats[static_cast<int>(TQvbToken::number)] = Coloured(pick("#a64d00", "#f7a66c"));
    formats[static_cast<int>(TQvbToken::text)] = Coloured(pick("#2e7d32", "#a5d982"));
    formats[static_cast<int>(TQvbToken::comment)] = Coloured(pick("#6a6f76", "#9aa3ad"), false, true);
    rehighlight();
}

void TQvbHighlighter::SetNodeNames(const QSet<QString> &names) {
    if (names == nodeNames) return;
    nodeNames = names;
    rehighlight();
}

QTextCharFormat TQvbHighlighter::Format(TQvbToken token) const { return formats[static_cast<int>(token)]; }

void TQvbHighlighter::highlightBlock(const QString &text) {
    const int previous = std::max(0, previousBlockState());
    section = previous & kSectionBits;
    setCurrentBlockState(section);
    int at = 0;
    if (previous & kInHelpPage) at = SkipHelpPage(text, 0);
    else if (previous & kInComment) at = ColourComment(text, 0);
    else if (previous & kInText) at = ColourText(text, 0);
    while (at < text.size()) {
        const QChar c = text[at];
        if (c == '{' && (section & kAwaitingDescription)) {
            section = kInDescription;
            ++at;
        } else if (c == '{' && (section & kInDescription)) {
            section |= kInHelpPage;
            at = SkipHelpPage(text, at + 1);
        } else if (c == '}' && (section & kInDescription)) {
            section = 0;
            ++at;
        } else if (c == '/' && at + 1 < text.size() && (text[at + 1] == '/' || text[at + 1] == '*')) {
            at = ColourComment(text, at);
        } else if (c == '\'') {
            at = ColourText(text, at + 1);
        } else if (c == '"') {
            at = ColourQuotedName(text, at);
        } else if (c.isDigit() || c == '.') {
            at = ColourNumber(text, at);
        } else if (IsWordChar(c)) {
            at = ColourWord(text, at);
        } else {
            ++at;
        }
    }
    if ((currentBlockState() & (kInComment | kInText)) == 0) setCurrentBlockState(section);
}

// A help page is raw text (HTML) up to the first "}", whatever it holds: its
// words are not keywords and its digits not numbers.
int TQvbHighlighter::SkipHelpPage(const QString &text, int from) {
    const int end = text.indexOf('}', from);
    if (end < 0) return text.size();
    section &= ~kInHelpPage;
    return end + 1;
}

// At "//" or "/*", or inside a comment carried over from the line before.
int TQvbHighlighter::ColourComment(const QString &text, int from) {
    const bool carried = from == 0 && previousBlockState() > 0 && (previousBlockState() & kInComment);
    const bool lineComment = !carried && text.mid(from, 2) == "//";
    const int search = carried ? 0 : from + 2;
    const int end = lineComment ? -1 : text.indexOf("*/", search);
    if (lineComment || end < 0) {
        setFormat(from, text.size() - from, Format(TQvbToken::comment));
        if (!lineComment) setCurrentBlockState(section | kInComment);
        return text.size();
    }
    setFormat(from, end + 2 - from, Format(TQvbToken::comment));
    return end + 2;
}

// Just after the opening quote, or inside a text carried over.
int TQvbHighlighter::ColourText(const QString &text, int from) {
    const int start = from == 0 && previousBlockState() > 0 && (previousBlockState() & kInText) ? 0 : from - 1;
    const int end = text.indexOf('\'', from);
    if (end < 0) {
        setFormat(start, text.size() - start, Format(TQvbToken::text));
        setCurrentBlockState(section | kInText);
        return text.size();
    }
    setFormat(start, end + 1 - start, Format(TQvbToken::text));
    return end + 1;
}

int TQvbHighlighter::ColourQuotedName(const QString &text, int from) {
    int end = text.indexOf('"', from + 1);
    end = end < 0 ? text.size() : end + 1;
    const QString name = text.mid(from + 1, std::max(0, end - from - 2));
    setFormat(from, end - from, Format(nodeNames.contains(name) ? TQvbToken::nodeName : TQvbToken::text));
    return end;
}

int TQvbHighlighter::ColourNumber(const QString &text, int from) {
    int end = from;
    while (end < text.size() && IsNumberChar(text[end])) ++end;
    setFormat(from, end - from, Format(TQvbToken::number));
    return end;
}

int TQvbHighlighter::ColourWord(const QString &text, int from) {
    int end = from;
    while (end < text.size() && IsWordChar(text[end])) ++end;
    const QString word = text.mid(from, end - from);
    if (sections.contains(word)) {
        setFormat(from, end - from, Format(TQvbToken::section));
        if (word == "description" && section == 0) section = kAwaitingDescription;
    } else if (keywords.contains(word)) {
        setFormat(from, end - from, Format(TQvbToken::keyword));
    } else if (nodeNames.contains(word)) {
        setFormat(from, end - from, Format(TQvbToken::nodeName));
    }
    return end;
}
