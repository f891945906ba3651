#include "ui/mainWindow.h"

#include "language/language.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QString::fromUtf8(language::programTitle));
    resize(600, 400);
}
