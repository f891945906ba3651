#pragma once

#include <QFont>

class QWidget;

// The program's windows use a small sans-serif font of 11 pixels.
QFont windowFont();
// A bold font of the given pixel height.
QFont boldFont(int pixelHeight);
// Labels of the task editor are navy.
void makeNavy(QWidget* label);
