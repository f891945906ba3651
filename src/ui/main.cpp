#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "platform/userFiles.h"
#include "storage/settings.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/mainWindow/startup.h"
#include "ui/prompts/qtPrompts.h"
#include "ui/qt/desktopNotice.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qtText.h"
#include "ui/qt/regionalFormatsFromLocale.h"
#include "ui/qt/toolkitTranslation.h"
#include "ui/services/programServices.h"

int main(int argc, char* argv[]) {
    // Created before any other thread, so that the tools it starts run at normal priority.
    const std::unique_ptr<platform::Platform> platform = platform::createPlatform();
    QApplication application(argc, argv);
    QApplication::setApplicationName(uiText(language::programTitle));
    QApplication::setWindowIcon(QIcon(programPicture(256)));
    loadToolkitTranslation(application);

    const std::string programPath = platform::runningProgramPath();
    const userFiles::Locations files = userFiles::locate(programPath);
    Settings settings(files.settingsFile, programLocation::folderOf(programPath));
    QtPrompts prompts;
    ProgramServices services{prompts,     settings,
                             *platform,   regionalFormatsFromLocale(QLocale::system()),
                             programPath, files.runLog};
    DesktopNotice desktopNotice;
    services.notifyDesktop = [&desktopNotice](const QString& title, const QString& text) {
        desktopNotice.show(title, text);
    };
    TForm1 mainWindow(services);
    createHiddenInstances(mainWindow, services);
    mainWindow.show();
    // QApplication has taken its own options out: what is left is the program's.
    mainWindow.startUp(argc > 1 ? std::optional<std::string>(argv[1]) : std::nullopt);
    const int status = QApplication::exec();
    if (mainWindow.isRunning()) {
        // The runner may be waiting for a tool that runs for hours; that tool is a process of
        // its own and goes on. The program ends now rather than wait for it.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
