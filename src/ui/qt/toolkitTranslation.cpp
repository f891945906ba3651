#include "ui/qt/toolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool loadToolkitTranslation(QCoreApplication& application) {
    // The resource lies in a static library: naming it here links it into every program.
    Q_INIT_RESOURCE(toolkitTranslation);
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
