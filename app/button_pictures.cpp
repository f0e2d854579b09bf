#include "app/button_pictures.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velistrad {

namespace {

const QColor kDarkBlue(0, 0, 128);

// Draws `paint` in 16 x 16 logical units at each ratio.
QIcon drawnIcon(int logicalSize, const std::function<void(QPainter&)>& paint) {
    QIcon icon;
    for (const int ratio : {1, 2, 3}) {
        QPixmap pixmap(logicalSize * ratio, logicalSize * ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(ratio, ratio);
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon playPicture() {
    return drawnIcon(16, [](QPainter& p) {
        QPainterPath path;
        path.moveTo(4, 2);
        path.lineTo(13, 8);
        path.lineTo(4, 14);
        path.closeSubpath();
        p.fillPath(path, kDarkBlue);
    });
}

QIcon pausePicture() {
    return drawnIcon(16, [](QPainter& p) {
        p.fillRect(QRectF(4, 2, 3, 12), kDarkBlue);
        p.fillRect(QRectF(9, 2, 3, 12), kDarkBlue);
    });
}

QIcon programIcon() {
    return drawnIcon(41, [](QPainter& p) {
        p.fillRect(QRectF(0, 0, 41, 41), QColor(230, 230, 200));
        p.setPen(QPen(Qt::black, 2));
        p.drawEllipse(QPointF(20.5, 20.5), 15, 15);
        QFont font;
        font.setPixelSize(18);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(0, 0, 41, 41), Qt::AlignCenter, QStringLiteral("V"));
    });
}

}  // namespace velistrad
