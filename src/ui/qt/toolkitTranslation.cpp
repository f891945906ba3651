#include "ui/qt/toolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool loadToolkitTranslation(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    // Built into the program; without it, the translation of the Qt in use.
    if (!translator->load(QStringLiteral(":/translations/qtbase_fr.qm")) &&
        !translator->load(QStringLiteral("qtbase_fr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
