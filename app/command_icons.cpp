#include "app/command_icons.h"

#include <QPainter>
#include <functional>
#include <QPixmap>
#include <QStyle>

namespace {

constexpr int kSize = 22;

// Draws a glyph in a 22 x 22 box with a dark outline on light paper.
QIcon Drawn(const std::function<void(QPainter &)> &draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
    painter.setBrush(QColor(0xfa, 0xfa, 0xfa));
    draw(painter);
    return QIcon(pixmap);
}

QIcon DrawnGlyph(TCommandGlyph glyph) {
    switch (glyph) {
    case TCommandGlyph::cut:
        return Drawn([](QPainter &p) {
            p.drawLine(QPointF(6, 3), QPointF(15, 15));
            p.drawLine(QPointF(16, 3), QPointF(7, 15));
            p.drawEllipse(QPointF(6, 17), 3, 3);
            p.drawEllipse(QPointF(16, 17), 3, 3);
        });
    case TCommandGlyph::copy:
        return Drawn([](QPainter &p) {
            p.drawRect(QRectF(3, 3, 11, 13));
            p.drawRect(QRectF(8, 7, 11, 13));
        });
    case TCommandGlyph::paste:
        return Drawn([](QPainter &p) {
            p.setBrush(QColor(0xc8, 0xa0, 0x64));
            p.drawRect(QRectF(4, 4, 14, 16));
            p.setBrush(QColor(0xfa, 0xfa, 0xfa));
            p.drawRect(QRectF(8, 2, 6, 4));
            p.drawRect(QRectF(7, 9, 9, 9));
        });
    case TCommandGlyph::cascade:
        return Drawn([](QPainter &p) {
            for (int i = 0; i < 3; ++i) p.drawRect(QRectF(2 + 4 * i, 2 + 4 * i, 10, 9));
        });
    case TCommandGlyph::tileHorizontally:
        return Drawn([](QPainter &p) {
            p.drawRect(QRectF(2, 2, 18, 8));
            p.drawRect(QRectF(2, 12, 18, 8));
        });
    case TCommandGlyph::tileVertically:
        return Drawn([](QPainter &p) {
            p.drawRect(QRectF(2, 2, 8, 18));
            p.drawRect(QRectF(12, 2, 8, 18));
        });
    default: break;
    }
    return QIcon();
}

}  // namespace

QIcon FallbackIcon(TCommandGlyph glyph, const QStyle *style) {
    switch (glyph) {
    case TCommandGlyph::newFile: return style->standardIcon(QStyle::SP_FileIcon);
    case TCommandGlyph::open: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case TCommandGlyph::save: return style->standardIcon(QStyle::SP_DialogSaveButton);
    default: return DrawnGlyph(glyph);
    }
}

QIcon CommandIcon(const QString &themeName, TCommandGlyph glyph, const QStyle *style) {
    return QIcon::fromTheme(themeName, FallbackIcon(glyph, style));
}
