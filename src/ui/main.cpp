#include <QApplication>

#include "language/language.h"
#include "ui/mainWindow.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(language::programTitle));
    TForm1 mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
