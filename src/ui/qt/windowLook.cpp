#include "ui/qt/windowLook.h"

#include <QPalette>
#include <QWidget>

QFont windowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont boldFont(int pixelHeight) {
    QFont font = windowFont();
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

void makeNavy(QWidget* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    label->setPalette(palette);
}
