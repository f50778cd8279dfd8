#include "app/value_bar_delegate.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kPadding = 6;
constexpr int kLeastTrack = 40;
constexpr int kBarMargin = 5;  // above and below the bar
const QColor kTrackColour(0xe6, 0xe6, 0xe6);

}  // namespace

TValueBarDelegate::TValueBarDelegate(const QColor &barColour, QObject *parent)
    : QStyledItemDelegate(parent), colour(barColour) {}

std::optional<double> TValueBarDelegate::BarValue(const QString &text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return std::clamp(value, 0.0, 1.0);
}

int TValueBarDelegate::TextWidth(const QFontMetrics &metrics) {
    return metrics.horizontalAdvance("0.00000000") + 2 * kPadding;
}

QRect TValueBarDelegate::TrackRect(const QRect &cell, int textWidth) {
    QRect track = cell.adjusted(textWidth, kBarMargin, -kPadding, -kBarMargin);
    if (track.width() <= 0 || track.height() <= 0) return {};
    return track;
}

QRect TValueBarDelegate::BarRect(const QRect &track, double value) {
    if (track.isEmpty()) return {};
    const int length = static_cast<int>(std::lround(value * track.width()));
    return QRect(track.left(), track.top(), length, track.height());
}

void TValueBarDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString text = cell.text;
    const QWidget *widget = option.widget;
    QStyle *style = widget != nullptr ? widget->style() : QApplication::style();
    // The background and selection span the whole cell, the text only its part.
    cell.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    const int textWidth = TextWidth(option.fontMetrics);
    cell.text = text;
    cell.rect.setWidth(std::min(option.rect.width(), textWidth));
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const std::optional<double> value = BarValue(text);
    const QRect track = TrackRect(option.rect, textWidth);
    if (!value || track.isEmpty()) return;
    painter->save();
    painter->fillRect(track, kTrackColour);
    painter->fillRect(BarRect(track, *value), colour);
    painter->restore();
}

QSize TValueBarDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(TextWidth(option.fontMetrics) + kLeastTrack + kPadding);
    return size;
}
