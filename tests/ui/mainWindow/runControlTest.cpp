#include <QApplication>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>
#include <thread>

#include "files/fileLock.h"
#include "files/systemEncoding.h"
#include "files/textFile.h"
#include "language/language.h"
#include "runner/state/runLogReading.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "task/taskDescription.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/logForm.h"
#include "ui/windows/powerOffCountdown.h"

namespace {

using Mark = TaskBoard::Mark;

constexpr int runTimeoutMs = 20000;

void append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

class RunControlTest : public GuiTest {
protected:
    RunControlTest() {
        window->show();  // the gauge is shown and hidden only in a shown window
    }

    std::unique_ptr<TForm1> makeWindow() {
        services.notifyDesktop = [this](const QString& title, const QString& text) {
            desktopNotices.push_back((title + QStringLiteral(": ") + text).toStdString());
        };
        // The window loads the settings file when it is made.
        settings.setValues(tools.settings());
        settings.save();
        return std::make_unique<TForm1>(services);
    }

    static std::string toolsFolder(const TempFolder& folder) {
        std::filesystem::create_directories(folder.file("tools"));
        return folder.file("tools");
    }

    // A task that demultiplexes a source of 100 KiB; the source is made only when it should exist.
    void addDemuxTask(const std::string& name, bool sourceExists = true) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = folder.file(name + ".VOB");
        task->m2vFilePath = folder.file(name + ".m2v");
        task->ac3FilePath = folder.file(name + ".ac3");
        task->doRemux = false;
        task->doAuthor = false;
        if (sourceExists) {
            writeBytes(task->origVobFilePath, std::string(100 * 1024, '\0'));
        }
        window->taskList.add(task);
        window->RefreshTaskList();
    }

    void waitForRunEnd() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isRunning(); }, runTimeoutMs));
    }

    // Until the step of that stage is under way, with its gauge. The line's whole text is its
    // tooltip: where the run stands follows the stage message, which gives way in its middle
    // when the system's font leaves too little room.
    void waitForStep(const char* stage) {
        ASSERT_TRUE(QTest::qWaitFor(
            [this, stage] {
                return ui.toolTip("lab_statusText").rfind(stage, 0) == 0 &&
                       ui.shown("ProgressBar1");
            },
            runTimeoutMs))
            << ui.toolTip("lab_statusText");
    }

    QList<TLogForm*> viewers() const { return window->findChildren<TLogForm*>(); }

    std::size_t toolCalls() const {
        return std::filesystem::exists(tools.callsPath()) ? readLines(tools.callsPath()).size() : 0;
    }

    std::string logPath() const { return folder.file("marovink.log"); }

    FakeDvdTools tools{toolsFolder(folder)};
    std::vector<std::string> desktopNotices;
    std::unique_ptr<TForm1> window = makeWindow();
    const WindowDriver ui{*window};
};

}  // namespace

TEST_F(RunControlTest, ARunMarksTheTasksAndLogsEveryStep) {
    addDemuxTask("first");
    addDemuxTask("missing", false);
    addDemuxTask("third");

    ui.press("btn_StartTasks");
    EXPECT_TRUE(window->isRunning());
    EXPECT_FALSE(ui.enabled("btn_StartTasks"));
    EXPECT_TRUE(ui.enabled("btn_AbortTasks"));
    waitForRunEnd();

    EXPECT_EQ(ui.rowMark(0), Mark::done);
    EXPECT_EQ(ui.rowMark(1), Mark::failed);
    EXPECT_EQ(ui.rowMark(2), Mark::done);
    EXPECT_FALSE(ui.shown("ProgressBar1"));
    EXPECT_EQ(ui.statusLine(), "3 tasks: 2 done, 1 with errors");
    // So does the desktop's notice, under the window's title.
    EXPECT_EQ(desktopNotices,
              (std::vector<std::string>{"Marovink *: 3 tasks: 2 done, 1 with errors"}));
    // The failed task's hover text ends with its error, on one line.
    const std::string failedHover = window->ListView1InfoTip(1);
    EXPECT_EQ(failedHover.substr(failedHover.rfind("\r\n") + 2),
              folder.file("missing.VOB") + " file doesn't exists ! This task will abort.");
    EXPECT_EQ(window->ListView1InfoTip(0), taskDescription::hoverText(*window->taskList.taskAt(0)));
    EXPECT_TRUE(ui.enabled("btn_StartTasks"));
    EXPECT_FALSE(ui.enabled("btn_AbortTasks"));

    const SettingsValues tools = settings.values();
    std::vector<std::string> expected =
        expectedLog::demuxOnly(*window->taskList.taskAt(0), tools, 0);
    append(expected, expectedLog::missingSource(*window->taskList.taskAt(1), 1));
    append(expected, expectedLog::demuxOnly(*window->taskList.taskAt(2), tools, 2));
    append(expected, expectedLog::endOfRun());
    EXPECT_EQ(expectedLog::maskedLogLines(logPath()), expected) << readBytes(logPath());
    EXPECT_TRUE(expectedLog::everyLineEndsWithCrLf(logPath()));

    // The end of the run shows the log.
    ASSERT_EQ(viewers().size(), 1);
    EXPECT_TRUE(viewers().front()->isVisible());
    EXPECT_EQ(WindowDriver(*viewers().front()).text("edt_textFile"),
              QString::fromLocal8Bit(readBytes(logPath()))
                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                  .toStdString());
    EXPECT_EQ(std::filesystem::exists(folder.file("marovink.tools.log")),
              services.platform.collectsToolOutput());
}

TEST_F(RunControlTest, WithTwoTasksAtOnceTheWindowShowsBothRunningAndTheWholeRun) {
    SettingsValues values = settings.values();
    values.tasksAtOnce = 2;
    settings.setValues(values);
    for (const char* name : {"first", "second", "third"}) {
        addDemuxTask(name);
    }
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    const std::string running = "2 tasks running, 0 of 3 ended";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return toolCalls() == 2 && ui.statusLine().find(running) != std::string::npos; },
        runTimeoutMs))
        << ui.statusLine();
    EXPECT_EQ(ui.rowMark(0), Mark::running);
    EXPECT_EQ(ui.rowMark(1), Mark::running);
    EXPECT_EQ(ui.rowMark(2), Mark::none);
    // Each running task shows its own share done; the others none.
    for (const int row : {0, 1}) {
        EXPECT_TRUE(std::regex_match(ui.rowText(row, 2), std::regex("[0-9]+ %")))
            << ui.rowText(row, 2);
    }
    EXPECT_EQ(ui.rowText(2, 2), "");
    // In the tooltip: with wider fonts the stage message gives way in the line itself.
    EXPECT_EQ(ui.toolTip("lab_statusText").rfind(language::audioDemuxInProgress, 0), 0u)
        << ui.toolTip("lab_statusText");
    EXPECT_TRUE(ui.shown("ProgressBar1"));
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();

    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(ui.rowMark(row), Mark::done);
    }
    const std::vector<std::string> logged = expectedLog::maskedLogLines(logPath());
    std::vector<std::string> expected = expectedLog::blocksInLoggedOrder(logged, 3, [&](int task) {
        return expectedLog::demuxOnly(*window->taskList.taskAt(task), values, task);
    });
    append(expected, expectedLog::endOfRun());
    EXPECT_EQ(logged, expected) << readBytes(logPath());
}

TEST_F(RunControlTest, AbortLetsTheToolFinishAndRunsNoFurtherTask) {
    window->btn_AbortTasksClick();  // no run: nothing is written
    EXPECT_FALSE(std::filesystem::exists(logPath()));

    addDemuxTask("first");
    addDemuxTask("second");
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    waitForStep(language::audioDemuxInProgress);
    EXPECT_EQ(ui.rowMark(0), Mark::running);
    ui.selectRow(0);
    EXPECT_FALSE(ui.enabled("btn_modifyTask"));

    ui.press("btn_AbortTasks");
    ui.press("btn_AbortTasks");
    EXPECT_TRUE(window->isRunning());  // until the runner has ended
    // The notice leads the status line, shortened in its middle where room is short; where the
    // run stands may follow it.
    const auto showsAbortNotice = [this] {
        return ui.toolTip("lab_statusText").rfind(language::abortRequested, 0) == 0 &&
               ui.text("lab_statusText").rfind("Abort", 0) == 0;
    };
    EXPECT_TRUE(showsAbortNotice());
    std::filesystem::remove(tools.audioGatePath());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !ui.shown("ProgressBar1"); }));
    EXPECT_TRUE(showsAbortNotice());
    waitForRunEnd();

    // The task cut short is not shown done, nor is the one that never ran.
    EXPECT_EQ(ui.rowMark(0), Mark::cutShort);
    EXPECT_EQ(ui.rowMark(1), Mark::none);
    const std::string cutShortHover = window->ListView1InfoTip(0);
    EXPECT_EQ(cutShortHover.substr(cutShortHover.rfind("\r\n") + 2), language::taskCutShortNote);
    EXPECT_EQ(toolCalls(), 1u);
    const std::string log = readBytes(logPath());
    const std::string abortEntry = std::string(language::logAborted) + "\r\n\r\n";
    const std::size_t first = log.find(abortEntry);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find(abortEntry, first + abortEntry.size()), std::string::npos);
    EXPECT_EQ(log.find(platform::systemText(language::logTaskStarted) + "1"), std::string::npos);
    EXPECT_NE(log.find(language::logAllTasksFinished), std::string::npos);
}

namespace {

// Watches, every few milliseconds and inside any modal loop, for the power-off countdown over the
// main window.
class CountdownWatch {
public:
    CountdownWatch(const SetFreeSpace& platform, const WindowDriver& window) {
        QObject::connect(&timer_, &QTimer::timeout, [this, &platform, &window] {
            auto* countdown = qobject_cast<TPowerOffCountdown*>(QApplication::activeModalWidget());
            if (countdown == nullptr) {
                return;
            }
            const WindowDriver shown(*countdown);
            const std::string text = shown.text("lab_countdown");
            if (texts.empty() || texts.back() != text) {
                texts.push_back(text);
            }
            powerOffsWhileShown += platform.powerOffRequests;
            startOrAbortWhileShown |=
                window.enabled("btn_StartTasks") || window.enabled("btn_AbortTasks");
            if (cancel) {
                shown.press("btn_cancel");
            }
        });
        timer_.start(10);
    }

    bool cancel = false;
    std::vector<std::string> texts;
    int powerOffsWhileShown = 0;
    bool startOrAbortWhileShown = false;

private:
    QTimer timer_;
};

// Runs the application's event loop until it is quit, or exits it with 99 once until() holds.
int runApplicationUntil(const std::function<bool()>& until) {
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&until] {
        if (until()) {
            QCoreApplication::exit(99);
        }
    });
    check.start(10);
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(98); });
    timeout.start(runTimeoutMs + 5000);
    return QCoreApplication::exec();
}

}  // namespace

TEST_F(RunControlTest, ThePowerOffWaitsForTheCountdownToRunOutAndQuitsInsteadOfShowingTheLog) {
    services.powerOffCountdownSeconds = 2;
    addDemuxTask("first");
    ui.press("chb_stopWhenFinished");
    CountdownWatch watch(*platform, ui);
    ui.press("btn_StartTasks");

    EXPECT_EQ(runApplicationUntil([] { return false; }), 0);
    EXPECT_EQ(watch.texts, (std::vector<std::string>{"The computer switches off in 2 s.",
                                                     "The computer switches off in 1 s."}));
    EXPECT_EQ(watch.powerOffsWhileShown, 0);
    EXPECT_FALSE(watch.startOrAbortWhileShown);
    EXPECT_EQ(platform->powerOffRequests, 1);
    EXPECT_TRUE(viewers().isEmpty());
    EXPECT_FALSE(window->isRunning());
}

TEST_F(RunControlTest, CancellingTheCountdownKeepsTheProgramOpenAndShowsTheLog) {
    services.powerOffCountdownSeconds = 60;
    addDemuxTask("first");
    ui.press("chb_stopWhenFinished");
    CountdownWatch watch(*platform, ui);
    watch.cancel = true;
    ui.press("btn_StartTasks");

    // 99: the run's end did not quit the application.
    EXPECT_EQ(runApplicationUntil([this] { return !window->isRunning(); }), 99);
    EXPECT_EQ(watch.texts, std::vector<std::string>{"The computer switches off in 60 s."});
    EXPECT_EQ(platform->powerOffRequests, 0);
    ASSERT_EQ(viewers().size(), 1);
    EXPECT_TRUE(viewers().front()->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(watch.startOrAbortWhileShown);
    EXPECT_TRUE(ui.enabled("btn_StartTasks"));
    EXPECT_FALSE(ui.enabled("btn_AbortTasks"));
    EXPECT_NE(readBytes(logPath()).find(language::logAllTasksFinished), std::string::npos);
}

TEST_F(RunControlTest, DisplayLogWarnsWithoutALogAndOpensAViewerEachTime) {
    ui.press("btn_displayLog");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, language::warningCaption);
    EXPECT_EQ(prompts.messages[0].text,
              "No log file exists at the moment !\r\nIt should be automatically created once "
              "some tasks will be run.");
    EXPECT_TRUE(viewers().isEmpty());

    writeBytes(logPath(), "first line\r\n");
    ui.press("btn_displayLog");
    ui.press("btn_displayLog");
    ASSERT_EQ(viewers().size(), 2);
    // The second viewer steps aside from the first.
    EXPECT_EQ(viewers().back()->pos() - viewers().front()->pos(), QPoint(24, 24));
    TLogForm* viewer = viewers().front();
    const WindowDriver log(*viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Marovink Log"));
    EXPECT_EQ(log.text("edt_textFile"), "first line\n");

    writeBytes(logPath(), "first line\r\nsecond line\r\n");
    log.press("btn_refresh");
    EXPECT_EQ(log.text("edt_textFile"), "first line\nsecond line\n");
    log.press("btn_OK");
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(viewers().size(), 2);  // hidden, not gone

    // A log that went away under a viewer is reported, and the viewer stays.
    std::filesystem::remove(logPath());
    std::filesystem::create_directory(logPath());
    log.press("btn_refresh");
    EXPECT_EQ(prompts.messages.back().caption, language::programTitle);
    EXPECT_EQ(prompts.messages.back().text,
              std::string("Impossible d'ouvrir le fichier ") + logPath());
}

TEST_F(RunControlTest, LogWriteFailuresReachTheGeneralErrorReportAndEndTheRun) {
    addDemuxTask("first");
    addDemuxTask("second");
    // Start cannot empty the log: no run, the window stays idle.
    std::filesystem::create_directory(logPath());
    ui.press("btn_StartTasks");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, language::programTitle);
    EXPECT_FALSE(window->isRunning());
    EXPECT_TRUE(ui.enabled("btn_StartTasks"));
    EXPECT_EQ(toolCalls(), 0u);
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps the log of a run in progress: it cannot be made a folder";
#endif

    // A log that can no longer be written ends the run, reported once and worded as above.
    std::filesystem::remove(logPath());
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    waitForStep(language::audioDemuxInProgress);
    std::filesystem::remove(logPath());
    std::filesystem::create_directory(logPath());
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 1u);
    ASSERT_EQ(prompts.messages.size(), 3u);  // the run's failure, then no log to show
    EXPECT_EQ(prompts.messages[1].caption, language::programTitle);
    EXPECT_EQ(prompts.messages[1].text, prompts.messages[0].text);
    EXPECT_EQ(prompts.messages[2].text, language::noLogFile);
    EXPECT_FALSE(ui.shown("ProgressBar1"));
    EXPECT_TRUE(ui.enabled("btn_StartTasks"));
}

TEST_F(RunControlTest, StartStopsBeforeTouchingALogThatAnotherRunHolds) {
    addDemuxTask("first");
    writeBytes(logPath(), "another run's entries\r\n");
    std::unique_ptr<FileLock> otherRun = FileLock::tryTake(logPath());
    ASSERT_TRUE(otherRun);
    ui.press("btn_StartTasks");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, language::runLogInUse + logPath());
    EXPECT_FALSE(window->isRunning());
    EXPECT_EQ(toolCalls(), 0u);
    EXPECT_EQ(readBytes(logPath()), "another run's entries\r\n");

    otherRun.reset();
    ui.press("btn_StartTasks");
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 2u);
    const std::string log = readBytes(logPath());
    EXPECT_EQ(log.find("another run's entries"), std::string::npos);
    EXPECT_NE(log.find(language::logAllTasksFinished), std::string::npos);
}

TEST_F(RunControlTest, ChangingTheListDuringARunLeavesTheRunAsItWas) {
    addDemuxTask("first");
    addDemuxTask("second");
    addDemuxTask("third");
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    waitForStep(language::audioDemuxInProgress);

    ui.selectRow(2);
    ui.press("btn_removeVob");
    EXPECT_EQ(window->taskList.count(), 2);
    // Open, cancelled: the list stays as it is while the run goes on.
    ui.press("menu_OpenProject");
    EXPECT_EQ(window->taskList.count(), 2);
    ui.press("btn_clearList");
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();

    EXPECT_EQ(toolCalls(), 6u);  // two demultiplexings for each of the three tasks
    EXPECT_NE(readBytes(logPath()).find(platform::systemText(language::logTaskStarted) + "2"),
              std::string::npos);
    EXPECT_EQ(ui.rowCount(), 0);
}

TEST_F(RunControlTest, ClosingTheWindowDuringAToolEndsTheRunQuietly) {
    addDemuxTask("first");
    addDemuxTask("second");
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    waitForStep(language::audioDemuxInProgress);

    window->close();
    std::thread openGate([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::filesystem::remove(tools.audioGatePath());
    });
    const auto closing = std::chrono::steady_clock::now();
    window.reset();
    const auto waited = std::chrono::steady_clock::now() - closing;
    openGate.join();

    // Only the tool that was running was waited for.
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_EQ(toolCalls(), 1u);
    QApplication::processEvents();  // nothing queued for the gone window remains to be run
    EXPECT_EQ(readBytes(logPath()).find(language::logAllTasksFinished), std::string::npos);
}

TEST_F(RunControlTest, RetryFailedTasksRunsTheFailedTheCutShortAndTheNeverReachedTasks) {
    EXPECT_FALSE(ui.enabled("menu_RetryFailed"));
    addDemuxTask("first");
    addDemuxTask("missing", false);
    addDemuxTask("third");
    ui.press("btn_StartTasks");
    EXPECT_FALSE(ui.enabled("PPmenu_RetryFailed"));
    waitForRunEnd();
    EXPECT_TRUE(ui.enabled("menu_RetryFailed"));
    EXPECT_TRUE(ui.enabled("PPmenu_RetryFailed"));

    // The failed task, under its number in the whole list; the others keep their marks.
    writeBytes(folder.file("missing.VOB"), std::string(100 * 1024, '\0'));
    ui.press("PPmenu_RetryFailed");
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 6u);
    const std::string log = readBytes(logPath());
    EXPECT_NE(log.find(platform::systemText(language::logTaskStarted) + "1\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find(platform::systemText(language::logTaskStarted) + "0"), std::string::npos);
    EXPECT_EQ(log.find(platform::systemText(language::logTaskStarted) + "2"), std::string::npos);
    EXPECT_EQ(ui.rowMark(1), Mark::done);
    EXPECT_FALSE(ui.enabled("menu_RetryFailed"));

    // Aborted during the first task: that task is retried, and so are those never reached, as
    // marovink-batch --failed-from does.
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    waitForStep(language::audioDemuxInProgress);
    ui.press("btn_AbortTasks");
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    ui.press("menu_RetryFailed");
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 13u);
    for (const char* task : {"0\r\n", "1\r\n", "2\r\n"}) {
        EXPECT_NE(readBytes(logPath()).find(platform::systemText(language::logTaskStarted) + task),
                  std::string::npos);
    }
    EXPECT_FALSE(ui.enabled("menu_RetryFailed"));

    // Aborted in its remultiplexing, after its source was deleted: the retry goes on from there.
    window->taskList.clear();
    addDemuxTask("deleted");
    const TaskRef task = window->taskList.taskAt(0);
    task->doRemux = task->deleteOrigVob = true;
    task->vobFilePath = folder.file("remuxed.VOB");
    window->RefreshTaskList();
    writeBytes(task->vobFilePath + ".gate", "");
    std::filesystem::remove(tools.callsPath());
    ui.press("btn_StartTasks");
    waitForStep(language::remuxInProgress);
    ui.press("btn_AbortTasks");
    std::filesystem::remove(task->vobFilePath + ".gate");
    waitForRunEnd();
    EXPECT_FALSE(std::filesystem::exists(task->origVobFilePath));
    ui.press("menu_RetryFailed");
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 4u);  // the retry remultiplexes only
    EXPECT_EQ(ui.rowMark(0), Mark::done);
}

TEST_F(RunControlTest, StopAfterTheRunningTasksLetsBothEndWholeAndLeavesTheRestForRetry) {
    SettingsValues values = settings.values();
    values.tasksAtOnce = 2;
    settings.setValues(values);
    for (const char* name : {"first", "second", "third"}) {
        addDemuxTask(name);
    }
    EXPECT_FALSE(ui.enabled("menu_StopAfterRunning"));
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    ASSERT_TRUE(QTest::qWaitFor([&] { return toolCalls() == 2; }, runTimeoutMs));
    ui.press("menu_StopAfterRunning");
    EXPECT_FALSE(ui.enabled("menu_StopAfterRunning"));
    EXPECT_EQ(ui.toolTip("lab_statusText").rfind(language::stopAfterRunningRequested, 0), 0u)
        << ui.toolTip("lab_statusText");
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();

    EXPECT_EQ(ui.rowMark(0), Mark::done);
    EXPECT_EQ(ui.rowMark(1), Mark::done);
    EXPECT_EQ(ui.rowMark(2), Mark::none);
    EXPECT_EQ(toolCalls(), 4u);
    EXPECT_EQ(ui.statusLine(), "3 tasks: 2 done, 1 not started");
    const std::string log = readBytes(logPath());
    EXPECT_EQ(log.find(language::logAborted), std::string::npos);
    EXPECT_LT(log.rfind(platform::systemText(language::logTaskStarted)),
              log.find(language::logStoppedAfterRunning));
    // The window's Retry and the batch's --failed-from take the task never started, only.
    std::vector<std::string> lines;
    TextLineReader reader(logPath());
    for (std::string line; reader.readLine(line);) {
        lines.push_back(line);
    }
    EXPECT_EQ(taskSelection::unfinishedInLog(lines, 3), TaskNumbers{2});
    ui.press("menu_RetryFailed");
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 6u);
    EXPECT_EQ(ui.rowMark(2), Mark::done);
}

TEST_F(RunControlTest, StatusLineAndCaptionShowWhereTheRunStands) {
    // A remultiplexing task first: its one-run first stage ends before the second task waits.
    auto remux = std::make_shared<Ttask>();
    remux->m2vFilePath = folder.file("a.m2v");
    remux->ac3FilePath = folder.file("a.ac3");
    remux->vobFilePath = folder.file("a.VOB");
    remux->doDemux = remux->doAuthor = false;
    writeBytes(remux->m2vFilePath, std::string(92 * 1024, 'v'));
    writeBytes(remux->ac3FilePath, std::string(7 * 1024, 'a'));
    window->taskList.add(remux);
    addDemuxTask("second");
    writeBytes(tools.audioGatePath(), "");
    ui.press("btn_StartTasks");
    waitForStep(language::audioDemuxInProgress);

    // Wide enough for the whole line in any system font.
    window->resize(1200, window->height());
    const std::string stage =
        std::string(language::audioDemuxInProgress) + " \xe2\x80\x94 task 2 of 2, about ";
    const auto statusShown = [&] {
        const std::string text = ui.statusLine();
        return text.rfind(stage, 0) == 0 && text.size() > stage.size() &&
               std::isdigit(static_cast<unsigned char>(text[stage.size()])) &&
               (text.substr(text.size() - 9) == " min left" ||
                text.substr(text.size() - 7) == " s left");
    };
    EXPECT_TRUE(QTest::qWaitFor(statusShown, runTimeoutMs)) << ui.statusLine();
    EXPECT_EQ(ui.toolTip("lab_statusText"), ui.statusLine());

    // Short of room, the stage message gives way in its middle, and where the run stands still
    // shows in full; the tooltip holds the whole line. The window narrows until the line no
    // longer fits, whatever the system's font.
    const std::string whole = ui.toolTip("lab_statusText");
    std::string shown = ui.statusLine();
    for (int width = window->width(); shown.size() >= whole.size() && width > 100; width -= 10) {
        window->resize(width, window->height());
        shown = ui.statusLine();
    }
    const std::string position = whole.substr(whole.find(" \xe2\x80\x94"));
    EXPECT_EQ(whole.rfind(stage, 0), 0u) << whole;
    EXPECT_LT(shown.size(), whole.size());
    EXPECT_EQ(shown.rfind("Audio", 0), 0u) << shown;
    EXPECT_EQ(shown.substr(shown.size() - position.size()), position) << shown;
    const std::string caption = window->windowTitle().toStdString();
    EXPECT_TRUE(!caption.empty() && std::isdigit(static_cast<unsigned char>(caption[0])) &&
                caption.substr(caption.find(' ')) == " % \xe2\x80\x94 Marovink")
        << caption;
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    // Between runs the title is the program's again, marked: no save keeps this list.
    EXPECT_EQ(window->windowTitle().toStdString(), "Marovink *");
    EXPECT_EQ(ui.statusLine(), "2 tasks: 2 done");
}
