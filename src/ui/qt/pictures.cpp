#include "ui/qt/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

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

// Two bars, as on a player's pause key: the task was stopped before its end, not failed.
QPixmap cutShortPicture() {
    QPixmap pixmap = transparentPixmap(QSize(iconSide, iconSide));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    painter.setBrush(QColor(70, 110, 200));
    painter.drawRect(QRectF(3.5, 2.5, 3.5, 11));
    painter.drawRect(QRectF(9, 2.5, 3.5, 11));
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

QIcon statusIcon(TaskBoard::Mark mark) {
    static const QIcon none;
    static const QIcon running(runningPicture());
    static const QIcon done(donePicture());
    static const QIcon failed(failedPicture());
    static const QIcon cutShort(cutShortPicture());
    switch (mark) {
        case TaskBoard::Mark::running:
            return running;
        case TaskBoard::Mark::done:
            return done;
        case TaskBoard::Mark::failed:
            return failed;
        case TaskBoard::Mark::cutShort:
            return cutShort;
        case TaskBoard::Mark::none:
            break;
    }
    return none;
}

QPixmap downArrowPicture(QSize size) {
    return arrowPicture(size, true);
}

QPixmap rightArrowPicture(QSize size) {
    return arrowPicture(size, false);
}

QPixmap programPicture(int side) {
    QPixmap pixmap = transparentPixmap(QSize(side, side));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on the 256-unit grid of the vector icon.
    painter.scale(side / 256.0, side / 256.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x3b, 0x63));
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);

    QRadialGradient disc(QPointF(112 - 88 + 0.42 * 176, 112 - 88 + 0.38 * 176), 0.7 * 176);
    disc.setColorAt(0, Qt::white);
    disc.setColorAt(0.45, QColor(0xc9, 0xd3, 0xe0));
    disc.setColorAt(0.7, QColor(0xa8, 0xb8, 0xd8));
    disc.setColorAt(0.85, QColor(0xd8, 0xc8, 0xf0));
    disc.setColorAt(1, QColor(0x8a, 0x99, 0xb3));
    const QColor rim(0x5d, 0x6b, 0x82);
    painter.setPen(QPen(rim, 4));
    painter.setBrush(disc);
    painter.drawEllipse(QPointF(112, 112), 88, 88);
    QLinearGradient sheen(QPointF(24, 24), QPointF(200, 200));
    sheen.setColorAt(0, QColor(0xff, 0x9a, 0x3c, 0));
    sheen.setColorAt(0.45, QColor(0xff, 0x9a, 0x3c, 115));
    sheen.setColorAt(0.55, QColor(0x5a, 0xc8, 0xfa, 115));
    sheen.setColorAt(1, QColor(0x5a, 0xc8, 0xfa, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sheen);
    painter.drawEllipse(QPointF(112, 112), 88, 88);
    painter.setPen(QPen(rim, 3));
    painter.setBrush(QColor(0xe9, 0xee, 0xf5));
    painter.drawEllipse(QPointF(112, 112), 30, 30);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x3b, 0x63));
    painter.drawEllipse(QPointF(112, 112), 12, 12);

    QLinearGradient folder(QPointF(0, 150), QPointF(0, 232));
    folder.setColorAt(0, QColor(0xff, 0xd3, 0x6b));
    folder.setColorAt(1, QColor(0xe8, 0xa3, 0x17));
    painter.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(folder);
    painter.drawPolygon(
        QPolygonF({{132, 150}, {170, 150}, {182, 164}, {238, 164}, {238, 232}, {132, 232}}));
    painter.setPen(QPen(QColor(0x18, 0x5c, 0x22), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0x2e, 0x9e, 0x3e));
    painter.drawPolygon(QPolygonF({{158, 176}, {198, 198}, {158, 220}}));
    return pixmap;
}
