// TPrintLayout: a knowledge base laid out for paper. Long lines wrap at the
// right margin (at a blank where there is one), and every page carries a
// header: the file's name on the left, "Page N of M" on the right, and a
// rule under them. The editor prints through it, to a printer, a PDF file
// or the print preview.
#pragma once

#include <QFont>
#include <QString>
#include <QTextDocument>

class QPainter;
class QPagedPaintDevice;

class TPrintLayout {
public:
    // Lays `text` out for the pages of `device` (which must outlive this).
    TPrintLayout(const QString &text, const QString &title, const QFont &font, QPagedPaintDevice &device);

    int PageCount() const;
    // The header of a page, from 1: the title, and "Page N of M".
    QString Title() const { return title; }
    QString PageText(int page) const;
    // Lines on paper, after wrapping: at least one per line of the text.
    int PrintedLineCount() const;

    // Paints every page, beginning a new one between them.
    void Print(QPainter &painter);

private:
    void PaintPage(QPainter &painter, int page);

    QPagedPaintDevice &device;
    QString title;
    QFont headerFont;
    QTextDocument document;
    qreal headerHeight = 0;
};
