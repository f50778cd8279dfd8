// TValueBarDelegate: a cell that shows a value from 0 to 1 both as its text
// and as a bar beside it.
//
// The cell's text stays exactly what the grid was given; the bar takes the
// room to the right of it, as long as the value is a share of that room,
// over a pale track of the full length. A text that is no number draws no
// bar. The result dialog uses one for the a-priori values and one, in a
// stronger colour, for the a-posteriori values, so the two can be compared
// down the columns at a glance.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <optional>

class TValueBarDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TValueBarDelegate(const QColor &colour, QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The value a cell's text stands for, held to [0, 1]; none for a text
    // that is no number.
    static std::optional<double> BarValue(const QString &text);
    // Where the track lies within `cell` when the text takes `textWidth`.
    static QRect TrackRect(const QRect &cell, int textWidth);
    // The bar of `value` on `track`.
    static QRect BarRect(const QRect &track, double value);
    // The width the cell's text is given: the widest value text.
    static int TextWidth(const QFontMetrics &metrics);

    QColor Colour() const { return colour; }

private:
    QColor colour;
};
