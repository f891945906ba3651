// The window program's own times, on Qt's offscreen platform unless another is set:
//   window_benchmark [LAUNCH_NANOSECONDS]
// start-up as the program makes it, up to the shown and painted main window (from the launch when
// the wall clock at launch is given, as `date +%s%N` prints it); a 10,000-task project opened with
// Project > Open...; then rebuilds of the task list with 10,000 and 100,000 tasks and a hover text
// at the 10,000th. Each figure is checked against what the window then shows.
#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QIcon>
#include <QToolTip>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "language/language.h"
#include "platform/platform.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/mainWindow/startup.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qtText.h"
#include "ui/qt/regionalFormatsFromLocale.h"
#include "ui/qt/toolkitTranslation.h"
#include "ui/services/programServices.h"

namespace {

constexpr int taskCount = 10000;

// Answers every box with its first button and every file chooser with one path.
class AnsweringPrompts : public Prompts {
public:
    MessageAnswer showMessage(QWidget*, MessageKind, const std::string&, const std::string& text,
                              MessageButtons) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return MessageAnswer::Ok;
    }
    std::optional<std::string> chooseFile(QWidget*, const FileChooserRequest&) override {
        return file;
    }
    std::vector<std::string> chooseFiles(QWidget*, const FileChooserRequest&) override {
        return {file};
    }
    std::optional<std::string> chooseFolder(QWidget*, const std::string&,
                                            const std::string&) override {
        return std::nullopt;
    }
    std::string file;
};

TaskRef sampleTask(int i) {
    auto task = std::make_shared<Ttask>();
    task->origVobFilePath = "/media/dvd/title" + std::to_string(i) + "/VTS_01_1.VOB";
    task->m2vFilePath = "/tmp/VTS_01_1.m2v";
    task->ac3FilePath = "/tmp/VTS_01_1.ac3";
    task->vobFilePath = "/tmp/remuxedVTS_01_1.VOB";
    task->dvdFolderPath = "/out/title" + std::to_string(i);
    task->chapterList = "00:00:00,00:05:00,00:10:00,00:15:00,00:20:00,00:25:00,00:30:00";
    return task;
}

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// One rebuild of the list view, painting included.
double rebuildMs(TForm1& window) {
    QElapsedTimer clock;
    clock.start();
    window.RefreshTaskList();
    QApplication::processEvents();
    return msSince(clock);
}

bool check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "wrong result: %s\n", what);
    }
    return condition;
}

double hoverMs(TForm1& window, int row) {
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    list->scrollToItem(list->topLevelItem(row));
    QApplication::processEvents();
    const QPoint at = list->visualItemRect(list->topLevelItem(row)).center();
    QElapsedTimer clock;
    clock.start();
    QHelpEvent hover(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &hover);
    QApplication::processEvents();
    return msSince(clock);
}

}  // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "marovink-window-benchmark";
    std::filesystem::create_directories(folder);

    // As the program starts, with the launchers beside the program as its tools.
    const std::unique_ptr<platform::Platform> platform = platform::createPlatform();
    QApplication application(argc, argv);
    QApplication::setApplicationName(uiText(language::programTitle));
    QApplication::setWindowIcon(QIcon(programPicture(256)));
    loadToolkitTranslation(application);
    Settings settings((folder / "marovink.ini").string(), MAROVINK_BUNDLE_DIR "/");
    const std::string runLog = (folder / "marovink.log").string();
    AnsweringPrompts prompts;
    ProgramServices services{prompts,
                             settings,
                             *platform,
                             regionalFormatsFromLocale(QLocale::system()),
                             MAROVINK_BUNDLE_DIR "/marovink",
                             runLog};
    TForm1 window(services);
    createHiddenInstances(window, services);
    window.show();
    QApplication::processEvents();
    const double startMs = msSince(sinceMain);
    if (argc > 1) {
        const auto launch = std::chrono::nanoseconds(std::strtoll(argv[1], nullptr, 10));
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("start-up from launch to shown window: %.1f ms\n",
                    std::chrono::duration<double, std::milli>(now - launch).count());
    }
    std::printf("start-up from main to shown window: %.1f ms\n", startMs);

    TAllTask big;
    for (int i = 0; i < taskCount; ++i) {
        big.add(sampleTask(i));
    }
    prompts.file = (folder / "big.mvk").string();
    projectFile::save(prompts.file, big);
    QElapsedTimer clock;
    clock.start();
    window.menu_OpenProjectClick();
    QApplication::processEvents();
    std::printf("Project > Open... of 10,000 tasks, list shown: %.1f ms\n", msSince(clock));
    bool right = check(window.board().rowCount() == taskCount, "10,000 rows");

    const double firstMs = rebuildMs(window);
    const double secondMs = rebuildMs(window);
    const double hoverTextMs = hoverMs(window, taskCount - 1);
    std::printf("10,000 tasks: rebuild %.1f ms, again %.1f ms, hover text at the last %.1f ms\n",
                firstMs, secondMs, hoverTextMs);
    right =
        check(QToolTip::text().contains(QStringLiteral("/out/title9999")), "hover text") && right;

    for (int i = taskCount; i < 10 * taskCount; ++i) {
        window.taskList.add(sampleTask(i));
    }
    std::printf("100,000 tasks: rebuild %.1f ms\n", rebuildMs(window));
    right = check(window.board().rowCount() == 10 * taskCount, "100,000 rows") && right;
    std::filesystem::remove_all(folder);
    return right ? 0 : 1;
}
