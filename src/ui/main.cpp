#include <QApplication>
#include <QLocale>
#include <memory>

#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "storage/settings.h"
#include "ui/mainWindow.h"
#include "ui/programServices.h"
#include "ui/qtPrompts.h"
#include "ui/qtText.h"
#include "ui/regionalFormatsFromLocale.h"
#include "ui/toolkitTranslation.h"

int main(int argc, char* argv[]) {
    // Created before any other thread, so that the tools it starts run at normal priority.
    const std::unique_ptr<platform::Platform> platform = platform::createPlatform();
    QApplication application(argc, argv);
    QApplication::setApplicationName(uiText(language::programTitle));
    loadToolkitTranslation(application);

    const std::string programPath = platform::runningProgramPath();
    Settings settings(programLocation::besideProgram(programPath, ".ini"),
                      programLocation::folderOf(programPath));
    QtPrompts prompts;
    ProgramServices services{prompts, settings, *platform,
                             regionalFormatsFromLocale(QLocale::system()), programPath};
    TForm1 mainWindow(services);
    mainWindow.show();
    return QApplication::exec();
}
