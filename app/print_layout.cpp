#include "app/print_layout.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextOption>

namespace {

// The page's printable area in the device's own pixels.
QRectF PageArea(QPagedPaintDevice &device) {
    return QRectF(0, 0, device.width(), device.height());
}

}  // namespace

TPrintLayout::TPrintLayout(const QString &text, const QString &pageTitle, const QFont &font,
                           QPagedPaintDevice &pagedDevice)
    : device(pagedDevice), title(pageTitle), headerFont(font) {
    // Fonts are measured on the device, so that lines break where they will
    // break on paper.
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(wrapping);
    document.setDocumentMargin(0);
    document.setPlainText(text);

    headerFont.setBold(true);
    const QFontMetricsF metrics(headerFont, &device);
    headerHeight = metrics.height() * 2;
    const QRectF area = PageArea(device);
    document.setPageSize(QSizeF(area.width(), std::max<qreal>(area.height() - headerHeight, metrics.height())));
}

int TPrintLayout::PageCount() const { return std::max(1, document.pageCount()); }

QString TPrintLayout::PageText(int page) const { return QString("Page %1 of %2").arg(page).arg(PageCount()); }

int TPrintLayout::PrintedLineCount() const {
    // The layout is made lazily; counting the pages finishes it.
    document.pageCount();
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.layout()->lineCount());
    return lines;
}

void TPrintLayout::Print(QPainter &painter) {
    for (int page = 1; page <= PageCount(); ++page) {
        if (page > 1) device.newPage();
        PaintPage(painter, page);
    }
}

void TPrintLayout::PaintPage(QPainter &painter, int page) {
    const QRectF area = PageArea(device);
    const QFontMetricsF metrics(headerFont, &device);
    painter.save();
    painter.setFont(headerFont);
    const QRectF headerLine(area.left(), area.top(), area.width(), metrics.height());
    painter.drawText(headerLine, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(headerLine, Qt::AlignRight | Qt::AlignVCenter, PageText(page));
    const qreal ruleY = area.top() + metrics.height() * 1.4;
    painter.drawLine(QPointF(area.left(), ruleY), QPointF(area.right(), ruleY));

    // The document's page `page` moved under the header.
    const qreal bodyHeight = document.pageSize().height();
    painter.translate(area.left(), area.top() + headerHeight - (page - 1) * bodyHeight);
    const QRectF body(0, (page - 1) * bodyHeight, area.width(), bodyHeight);
    painter.setClipRect(body);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = body;
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}
