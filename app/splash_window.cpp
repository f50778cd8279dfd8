#include "app/splash_window.h"

#include <QApplication>
#include <QPainter>

QPixmap TSplashWindow::Picture() {
    QPixmap picture(420, 240);
    picture.fill(QColor(246, 244, 236));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    // A small net: evidence at the bottom, a goal at the top.
    const QPointF nodes[] = {{300, 60}, {250, 130}, {350, 130}, {220, 200}, {290, 200}, {370, 200}};
    const int links[][2] = {{1, 0}, {2, 0}, {3, 1}, {4, 1}, {4, 2}, {5, 2}};
    painter.setPen(QPen(QColor(90, 110, 140), 2));
    for (const auto &link : links) painter.drawLine(nodes[link[0]], nodes[link[1]]);
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(i == 0 ? QColor(200, 80, 60) : QColor(80, 130, 190));
        painter.drawEllipse(nodes[i], 13, 13);
    }

    painter.setPen(QColor(40, 40, 40));
    QFont title = painter.font();
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(24, 40, 200, 50), Qt::AlignLeft | Qt::AlignVCenter, "Quorvin");
    QFont small = painter.font();
    small.setPixelSize(14);
    small.setBold(false);
    painter.setFont(small);
    painter.drawText(QRectF(26, 92, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, "version 4.1");
    painter.drawText(QRectF(26, 200, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, "Loading...");
    return picture;
}

TSplashWindow::TSplashWindow() : QSplashScreen(Picture()) {}

void TSplashWindow::ShowNow() {
    show();
    repaint();
    QApplication::processEvents();
}
