// Saves a picture of each window into the folder given as the first argument. Given a
// demultiplexer and a source VOB too, it also saves the task editor with that source's streams
// listed, as taskEditorStreams.png.
#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <cstdio>
#include <filesystem>

#include "editing/sourcePick.h"
#include "files/textFile.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/qt/qtText.h"
#include "ui/services/programServices.h"
#include "ui/support/scriptedPrompts.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/aboutDialog.h"
#include "ui/windows/logForm.h"
#include "ui/windows/optionsDialog.h"
#include "ui/windows/powerOffCountdown.h"
#include "ui/windows/sourceStreamsPanel.h"
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

// The offscreen platform draws no window frame: the caption is drawn as a title bar above the
// window, from the window's own title.
bool saveWithCaption(QWidget& window, const std::string& folder, const char* name) {
    const QPixmap client = window.grab();
    const int barHeight = 28;
    QPixmap picture(client.width(), client.height() + barHeight);
    picture.fill(QColor(0x3c, 0x3c, 0x3c));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, client.width(), barHeight), Qt::AlignCenter, window.windowTitle());
    painter.drawPixmap(0, barHeight, client);
    painter.end();
    const std::string path = folder + "/" + name;
    const bool saved = picture.save(QString::fromStdString(path), "PNG");
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
    const WindowDriver ui(window);
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
    ui.press("btn_StartTasks");
    // Once the tool has started (the runner first removes what an earlier run left), half the
    // audio stream is there: the gauge shows it within a second.
    bool saved = QTest::qWaitFor([&tools] { return isExistingFile(tools.callsPath()); }, 5000);
    writeBytes(programFolder.file("holiday.ac3"), std::string(1024 * 1024 * 65 / 2000, 'a'));
    saved = QTest::qWaitFor([&ui] { return ui.control<QProgressBar>("ProgressBar1").value() > 0; },
                            5000) &&
            saved;
    saved = save(window, folder, "mainWindowRunning.png") && saved;
    std::filesystem::remove(tools.audioGatePath());
    saved = QTest::qWaitFor([&window] { return !window.isRunning(); }, 20000) && saved;

    // A second run, caught in its second task once the first has ended: the caption and the
    // status line show where the run stands.
    for (TLogForm* viewer : window.findChildren<TLogForm*>()) {
        viewer->hide();
    }
    for (const char* name : {"holiday", "wedding", "concert"}) {
        writeBytes(programFolder.file(std::string(name) + ".ac3"), "");
    }
    window.taskList.taskAt(0)->doDemux = false;
    window.taskList.taskAt(0)->doRemux = true;
    window.taskList.taskAt(0)->vobFilePath = programFolder.file("holiday remuxed.VOB");
    writeBytes(programFolder.file("holiday.ac3"), std::string(67 * 1024, 'a'));
    tools.remuxBytes = 1030 * 1024;  // what those streams lead the check to expect
    tools.write();
    window.RefreshTaskList();
    writeBytes(tools.audioGatePath(), "");
    std::filesystem::remove(tools.callsPath());
    ui.press("btn_StartTasks");
    saved =
        QTest::qWaitFor(
            [&tools] {
                return readBytes(tools.callsPath()).find("wedding.VOB 0xbd") != std::string::npos;
            },
            10000) &&
        saved;
    writeBytes(programFolder.file("wedding.ac3"), std::string(1024 * 1024 * 65 / 2000, 'a'));
    saved = QTest::qWaitFor(
                [&ui] {
                    return ui.statusLine().find("left") != std::string::npos &&
                           ui.control<QProgressBar>("ProgressBar1").value() > 0;
                },
                10000) &&
            saved;
    saved = saveWithCaption(window, folder, "mainWindowRunProgress.png") && saved;
    std::filesystem::remove(tools.audioGatePath());
    saved = QTest::qWaitFor([&window] { return !window.isRunning(); }, 20000) && saved;

    const auto viewers = window.findChildren<TLogForm*>();
    saved = !viewers.isEmpty() && save(*viewers.front(), folder, "logViewer.png") && saved;
    for (TLogForm* viewer : viewers) {
        viewer->hide();
    }

    // A third run with two tasks at once: both rows marked, the status line counting them, the
    // gauge over the whole run.
    SettingsValues sideBySide = services.settings.values();
    sideBySide.tasksAtOnce = 2;
    services.settings.setValues(sideBySide);
    window.taskList.taskAt(0)->doDemux = true;
    window.taskList.taskAt(0)->doRemux = false;
    window.RefreshTaskList();
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    saved = QTest::qWaitFor(
                [&ui] {
                    return ui.statusLine().find("2 tasks running") != std::string::npos &&
                           ui.rowMark(1) == TaskBoard::Mark::running;
                },
                10000) &&
            saved;
    // Part of each audio stream is there: each row shows its own task's share done.
    writeBytes(programFolder.file("holiday.ac3"), std::string(1024 * 1024 * 65 / 2000, 'a'));
    writeBytes(programFolder.file("wedding.ac3"), std::string(1024 * 1024 * 65 / 4000, 'a'));
    saved = QTest::qWaitFor(
                [&ui] {
                    return ui.rowText(0, 2) != "0 %" && ui.rowText(1, 2) != "0 %" &&
                           !ui.rowText(0, 2).empty() && !ui.rowText(1, 2).empty();
                },
                10000) &&
            saved;
    saved = saveWithCaption(window, folder, "mainWindowSideBySide.png") && saved;
    std::filesystem::remove(tools.audioGatePath());
    saved = QTest::qWaitFor([&window] { return !window.isRunning(); }, 20000) && saved;

    // A fourth run, one task at a time, that ends with a task done, one whose source is missing,
    // and one that Abort cut short: each has its own mark, and the status line sums them up.
    for (TLogForm* viewer : window.findChildren<TLogForm*>()) {
        viewer->hide();
    }
    services.settings.setValues(tools.settings());
    std::filesystem::remove(programFolder.file("wedding.VOB"));
    writeBytes(programFolder.file("concert.ac3.gate"), "");
    std::filesystem::remove(tools.callsPath());
    ui.press("btn_StartTasks");
    saved =
        QTest::qWaitFor(
            [&tools] {
                return readBytes(tools.callsPath()).find("concert.VOB 0xbd") != std::string::npos;
            },
            10000) &&
        saved;
    ui.press("btn_AbortTasks");
    std::filesystem::remove(programFolder.file("concert.ac3.gate"));
    saved = QTest::qWaitFor([&window] { return !window.isRunning(); }, 20000) && saved;
    for (TLogForm* viewer : window.findChildren<TLogForm*>()) {
        viewer->hide();
    }
    saved = save(window, folder, "mainWindowRunEnded.png") && saved;

    std::filesystem::copy_file(MAROVINK_DATA_DIR "/gpl.txt", programFolder.file("gpl.txt"));
    TFAbout about(&window, programFolder.file("gpl.txt"));
    about.setProgramNameVersion("marovink 1.3.3");
    return save(about, folder, "aboutBox.png") && saved;
}

// Several VOB files dropped onto the list, with the summary over the window; then the countdown
// that a run ends with when the shutdown box is ticked.
bool saveDropAndCountdown(const TempFolder& programFolder, ProgramServices& services,
                          ScriptedPrompts& prompts, const std::string& folder) {
    std::vector<std::string> dropped;
    for (const char* name : {"holiday", "wedding", "concert"}) {
        dropped.push_back(programFolder.file(std::string("dvd/") + name + "/VTS_01_1.VOB"));
        std::filesystem::create_directories(programFolder.file(std::string("dvd/") + name));
        writeBytes(dropped.back(), "");
    }
    writeBytes(programFolder.file("dvd/holiday/CellTimes.txt"), "0\n7500\n15000\n");
    dropped.push_back(programFolder.file("dvd/notes.txt"));
    writeBytes(dropped.back(), "");

    TForm1 window(services);
    window.show();
    QWidget* list = WindowDriver(window).control<QTreeWidget>("ListView1").viewport();
    QMimeData files;
    QList<QUrl> urls;
    for (const std::string& path : dropped) {
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    files.setUrls(urls);
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &drop);
    QApplication::processEvents();
    if (prompts.messages.empty()) {
        return false;
    }
    // The summary as the real prompts show it, drawn over the middle of the window.
    QMessageBox summary(QMessageBox::Information, toQString(prompts.messages.back().caption),
                        withQtLineEnds(prompts.messages.back().text), QMessageBox::Ok, &window);
    summary.setTextFormat(Qt::PlainText);
    summary.show();
    QApplication::processEvents();
    QPixmap picture = window.grab();
    QPainter painter(&picture);
    const QPixmap box = summary.grab();
    painter.drawPixmap((picture.width() - box.width()) / 2, (picture.height() - box.height()) / 2,
                       box);
    painter.end();
    summary.hide();
    const std::string path = folder + "/dropSeveralFiles.png";
    bool saved = picture.save(QString::fromStdString(path), "PNG");
    std::printf("%s %s\n", saved ? "saved" : "could not save", path.c_str());

    TPowerOffCountdown countdown(&window, 60);
    saved = save(countdown, folder, "powerOffCountdown.png") && saved;
    return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: marovink_screenshots <folder> [<bbdmux> <source VOB>]\n");
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
    WindowDriver(window).selectRow(2);
    saved = save(window, folder, "mainWindow.png") && saved;

    TFormTaskManager editor(&window, window.taskList.taskAt(0), services);
    saved = save(editor, folder, "taskEditor.png") && saved;
    editor.hide();
    if (argc == 4) {
        SettingsValues values = settings.values();
        values.demuxExePath = argv[2];
        settings.setValues(values);
        auto disc = std::make_shared<Ttask>(taskFromSourceFile(argv[3], "PAL", RegionalFormats()));
        disc->extraChoices = "audio=all subtitles=all disc=300MB iso";
        TFormTaskManager streams(&window, disc, services);
        streams.show();
        // The streams are listed in the background.
        const auto* panel = streams.findChild<SourceStreamsPanel*>("Panel_sourceStreams");
        const bool listed = QTest::qWaitFor([panel] { return !panel->isListing(); }, 10000);
        saved = listed && save(streams, folder, "taskEditorStreams.png") && saved;
        streams.hide();
    }

    TFormOptions options(&window, services);
    saved = save(options, folder, "optionsDialog.png") && saved;
    options.hide();
    window.hide();

    saved = saveRun(programFolder, services, folder) && saved;
    saved = saveDropAndCountdown(programFolder, services, prompts, folder) && saved;
    return saved ? 0 : 1;
}
