#include "ui/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>

namespace {

constexpr int iconSide = 16;

QPixmap transparentPixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap runningPicture() {
    QPixmap pixmap = transparentPixmap(QSize(iconSide, iconSide));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(160, 80, 0), 1));
    painter.setBrush(QColor(255, 140, 0));
    painter.drawPolygon(QPolygonF(
        {{1.5, 5.5}, {8.5, 5.5}, {8.5, 1.5}, {14.5, 8}, {8.5, 14.5}, {8.5, 10.5}, {1.5, 10.5}}));
    return pixmap;
}

QPixmap donePicture() {
    QPixmap pixmap = transparentPixmap(QSize(iconSide, iconSide));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 150, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}}));
    return pixmap;
}

QPixmap failedPicture() {
    QPixmap pixmap = transparentPixmap(QSize(iconSide, iconSide));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::red, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 220, 0));
    painter.drawPolygon(QPolygonF({{8, 1}, {15, 14.5}, {1, 14.5}}));
    painter.setPen(QPen(Qt::red, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 5.5), QPointF(8, 9.5));
    painter.drawPoint(QPointF(8, 12.2));
    return pixmap;
}

QPixmap arrowPicture(QSize size, bool pointingDown) {
    QPixmap pixmap = transparentPixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (pointingDown) {
        // Drawn as a right arrow in a turned coordinate system.
        painter.translate(size.width(), 0);
        painter.rotate(90);
        size.transpose();
    }
    const qreal w = size.width() - 1;
    const qreal h = size.height() - 1;
    const qreal shaft = h / 4;
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    painter.setBrush(QColor(70, 110, 200));
    painter.drawPolygon(QPolygonF({{0.5, h / 2 - shaft / 2},
                                   {w * 0.6, h / 2 - shaft / 2},
                                   {w * 0.6, 0.5},
                                   {w, h / 2},
                                   {w * 0.6, h},
                                   {w * 0.6, h / 2 + shaft / 2},
                                   {0.5, h / 2 + shaft / 2}}));
    return pixmap;
}

}  // namespace

QIcon statusIcon(int index) {
    static const std::array<QIcon, 3> icons = {QIcon(runningPicture()), QIcon(donePicture()),
                                               QIcon(failedPicture())};
    if (index < 0 || index >= static_cast<int>(icons.size())) {
        return QIcon();
    }
    return icons[static_cast<std::size_t>(index)];
}

QPixmap downArrowPicture(QSize size) {
    return arrowPicture(size, true);
}

QPixmap rightArrowPicture(QSize size) {
    return arrowPicture(size, false);
}
