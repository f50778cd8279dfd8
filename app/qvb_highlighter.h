// TQvbHighlighter: the colours of a knowledge base's text in the editor.
//
// Each line is split as the lexer splits it: comments (// to the line's end
// and /* */ over lines), texts in single quotes (over lines too), quoted
// names, numbers (from a digit or a point), section keywords (net, nodes,
// rules, links, taxonomies, description), the other keywords, and names;
// a name that a node is declared with is coloured as a node wherever it
// stands. The pages of the description section are raw text and keep the
// editor's plain colour. The colours are chosen for the palette's base: darker ones on a
// light base, lighter ones on a dark base, so both read well.
#pragma once

#include <QSet>
#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QPalette;

enum class TQvbToken { plain, keyword, section, nodeName, number, text, comment };

class TQvbHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    TQvbHighlighter(QTextDocument *document, const QPalette &palette);

    // The names that are coloured as nodes; the text is coloured again
    // when they change.
    void SetNodeNames(const QSet<QString> &names);
    // Chooses the colours for a palette (when the application's changes).
    void SetPalette(const QPalette &palette);
    QTextCharFormat Format(TQvbToken token) const;

protected:
    void highlightBlock(const QString &text) override;

private:
    // Each returns the index after what it coloured.
    int ColourComment(const QString &text, int from);
    int ColourText(const QString &text, int from);
    int ColourQuotedName(const QString &text, int from);
    int ColourNumber(const QString &text, int from);
    int ColourWord(const QString &text, int from);
    int SkipHelpPage(const QString &text, int from);

    QSet<QString> keywords;
    QSet<QString> sections;
    QSet<QString> nodeNames;
    QTextCharFormat formats[7];
    int section = 0;  // the description section's state bits of the line being coloured
};
