// Saves a picture of each window into the folder given as the only argument.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "platform/platform.h"
#include "storage/settings.h"
#include "support/fakeDvdTools.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "ui/qt/programServices.h"
#include "ui/support/scriptedPrompts.h"
#include "ui/windows/aboutDialog.h"
#include "ui/windows/logForm.h"
#include "ui/windows/mainWindow.h"
#include "ui/windows/optionsDialog.h"
#include "ui/windows/taskDialog.h"

namespace {

bool save(QWidget& window, const std::string& folder, const char* name) {
    window.show();
    QApplication::processEvents();
    const std::string path = folder + "/" + name;
    const bool saved = window.grab().save(QString::fromStdString(path), "PNG");
    std::printf("%s %s\n", saved ? "saved" : "could not save", path.c_str());
    return saved;
}

TaskRef sampleTask(const std::string& name) {
    auto task = std::make_shared<Ttask>();
    task->origVobFilePath = "/media/dvd/" + name + "/VTS_01_1.VOB";
    task->m2vFilePath = "/tmp/" + name + "/VTS_01_1.m2v";
    task->ac3FilePath = "/tmp/" + name + "/VTS_01_1.ac3";
    task->vobFilePath = "/tmp/" + name + "/remuxedVTS_01_1.VOB";
    task->dvdFolderPath = "/home/user/dvd/" + name;
    task->chapterList = "00:00:00,00:05:00,00:10:30";
    return task;
}

// A real run on the fake tools, caught while its first tool runs, then its log and the about box.
bool saveRun(const TempFolder& programFolder, ProgramServices& services,
             const std::string& folder) {
    std::filesystem::create_directories(programFolder.file("tools"));
    FakeDvdTools tools(programFolder.file("tools"));
    // Streams of the sizes that a source of 1 MiB leads the checks to expect.
    tools.audioBytes = 67 * 1024;
    tools.videoBytes = 922 * 1024;
    tools.write();
    services.settings.setValues(tools.settings());
    services.settings.save();
    TForm1 window(services);
    for (const char* name : {"holiday", "wedding", "concert"}) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = programFolder.file(std::string(name) + ".VOB");
        task->m2vFilePath = programFolder.file(std::string(name) + ".m2v");
        task->ac3FilePath = programFolder.file(std::string(name) + ".ac3");
        task->doRemux = false;
        task->doAuthor = false;
        writeBytes(task->origVobFilePath, std::string(1024 * 1024, '\0'));
        window.taskList.add(task);
    }
    window.RefreshTaskList();
    window.show();
    writeBytes(tools.audioGatePath(), "");
    window.btn_StartTasks->click();
    // Half the audio stream is there: the gauge shows it within a second.
    writeBytes(programFolder.file("holiday.ac3"), std::string(1024 * 1024 * 65 / 2000, 'a'));
    bool saved = QTest::qWaitFor([&window] { return window.ProgressBar1->value() > 0; }, 5000);
    saved = save(window, folder, "mainWindowRunning.png") && saved;
    std::filesystem::remove(tools.audioGatePath());
    saved = QTest::qWaitFor([&window] { return !window.isRunning; }, 20000) && saved;

    const auto viewers = window.findChildren<TLogForm*>();
    saved = !viewers.isEmpty() && save(*viewers.front(), folder, "logViewer.png") && saved;
    for (TLogForm* viewer : viewers) {
        viewer->hide();
    }

    std::filesystem::copy_file(MAROVINK_DATA_DIR "/gpl.txt", programFolder.file("gpl.txt"));
    TFAbout about(&window, programFolder.file("gpl.txt"));
    about.setProgramNameVersion("marovink 1.3.3");
    return save(about, folder, "aboutBox.png") && saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: marovink_screenshots <folder>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::string folder = argv[1];
    std::filesystem::create_directories(folder);

    TempFolder programFolder;
    for (const char* tool : {platform::defaultDemuxerName, platform::defaultMultiplexerName,
                             platform::defaultAuthoringName}) {
        writeBytes(programFolder.file(tool), "");
    }
    ScriptedPrompts prompts;
    Settings settings(programFolder.file("marovink.ini"), programFolder.path() + "/");
    const auto platform = platform::createPlatform();
    ProgramServices services{prompts,
                             settings,
                             *platform,
                             RegionalFormats(),
                             programFolder.file("marovink"),
                             programFolder.file("marovink.log")};

    bool saved = true;
    TForm1 window(services);
    for (const char* name : {"holiday", "wedding", "concert"}) {
        window.taskList.add(sampleTask(name));
    }
    window.RefreshTaskList();
    window.setRowIcon(0, TForm1::iconDone);
    window.setRowIcon(1, TForm1::iconRunning);
    window.setRowIcon(2, TForm1::iconFailed);
    window.ListView1->setCurrentItem(window.ListView1->topLevelItem(2));
    saved = save(window, folder, "mainWindow.png") && saved;

    TFormTaskManager editor(&window, window.taskList.taskAt(0), services);
    saved = save(editor, folder, "taskEditor.png") && saved;
    editor.hide();

    TFormOptions options(&window, services);
    saved = save(options, folder, "optionsDialog.png") && saved;
    options.hide();
    window.hide();

    saved = saveRun(programFolder, services, folder) && saved;
    return saved ? 0 : 1;
}
