#include "ui/support/guiTest.h"

#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "support/fakeTools.h"

GuiTest::GuiTest()
    : settings(folder.file("marovink.ini"), folder.path() + "/"),
      services{prompts,
               settings,
               *platform,
               RegionalFormats(),
               folder.file("marovink"),
               folder.file("marovink.log")} {
    for (const char* tool : {platform::defaultDemuxerName, platform::defaultMultiplexerName,
                             platform::defaultAuthoringName}) {
        touch(programFolder() + tool);
    }
    // A power-off that the platform only counts need not be waited for a minute.
    services.powerOffCountdownSeconds = 1;
    RecordedMessages ignored;
    settings.load(ignored);
}

std::string GuiTest::touch(const std::string& path) const {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeBytes(path, "");
    return path;
}

void GuiTest::setVideoStandard(const std::string& standard) {
    SettingsValues values = settings.values();
    values.videoStandard = standard;
    settings.setValues(values);
}

void whenModalShows(const std::function<void(QWidget*)>& action) {
    QTimer::singleShot(0, qApp, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}
