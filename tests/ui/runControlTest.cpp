#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "files/fileLock.h"
#include "files/systemEncoding.h"
#include "language/language.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "ui/run/powerOffCountdown.h"
#include "ui/support/guiTest.h"
#include "ui/windows/logForm.h"
#include "ui/windows/mainWindow.h"

namespace {

constexpr int runTimeoutMs = 20000;

// Records, at every showing and hiding of the gauge, what the status line says.
class GaugeWatch : public QObject {
public:
    GaugeWatch(QProgressBar* gauge, QLabel* status) : status_(status) {
        gauge->installEventFilter(this);
    }

    std::vector<std::string> statusAtShow;
    int hides = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            statusAtShow.push_back(status_->text().toStdString());
        } else if (event->type() == QEvent::Hide) {
            ++hides;
        }
        return false;
    }

private:
    QLabel* status_;
};

void append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

class RunControlTest : public GuiTest {
protected:
    RunControlTest() {
        // The window loads the settings file when it is made.
        settings.setValues(tools.settings());
        settings.save();
        window = std::make_unique<TForm1>(services);
        window->show();  // the gauge is shown and hidden only in a shown window
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
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isRunning; }, runTimeoutMs));
    }

    // Until the step start of that stage has been shown in full.
    void waitForStep(const char* stage) {
        ASSERT_TRUE(QTest::qWaitFor(
            [this, stage] {
                // Where the run stands may follow the stage message.
                return window->lab_statusText->text().startsWith(QString::fromUtf8(stage)) &&
                       window->ProgressBar1->isVisible();
            },
            runTimeoutMs));
    }

    QList<TLogForm*> viewers() const { return window->findChildren<TLogForm*>(); }

    std::size_t toolCalls() const {
        return std::filesystem::exists(tools.callsPath()) ? readLines(tools.callsPath()).size() : 0;
    }

    std::string logPath() const { return folder.file("marovink.log"); }

    FakeDvdTools tools{toolsFolder(folder)};
    std::unique_ptr<TForm1> window;
};

}  // namespace

TEST_F(RunControlTest, ARunMarksTheTasksLogsEveryStepAndDrivesTheGauge) {
    addDemuxTask("first");
    addDemuxTask("missing", false);
    addDemuxTask("third");
    GaugeWatch gauge(window->ProgressBar1, window->lab_statusText);

    window->btn_StartTasks->click();
    EXPECT_TRUE(window->isRunning);
    EXPECT_FALSE(window->btn_StartTasks->isEnabled());
    EXPECT_TRUE(window->btn_AbortTasks->isEnabled());
    waitForRunEnd();

    EXPECT_EQ(window->rowIcon(0), TForm1::iconDone);
    EXPECT_EQ(window->rowIcon(1), TForm1::iconFailed);
    EXPECT_EQ(window->rowIcon(2), TForm1::iconDone);
    EXPECT_EQ(
        gauge.statusAtShow,
        (std::vector<std::string>{language::audioDemuxInProgress, language::videoDemuxInProgress,
                                  language::audioDemuxInProgress, language::videoDemuxInProgress}));
    EXPECT_EQ(gauge.hides, 4);
    EXPECT_TRUE(window->ProgressBar1->isHidden());
    EXPECT_TRUE(window->lab_statusText->text().isEmpty());
    EXPECT_TRUE(window->btn_StartTasks->isEnabled());
    EXPECT_FALSE(window->btn_AbortTasks->isEnabled());

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
    EXPECT_EQ(viewers().front()->edt_textFile->toPlainText().toStdString(),
              QString::fromLocal8Bit(readBytes(logPath()))
                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                  .toStdString());
    EXPECT_EQ(std::filesystem::exists(folder.file("marovink.tools.log")),
              services.platform.collectsToolOutput());
}

TEST_F(RunControlTest, AbortLetsTheToolFinishAndRunsNoFurtherTask) {
    window->btn_AbortTasksClick();  // no run: nothing is written
    EXPECT_FALSE(std::filesystem::exists(logPath()));

    addDemuxTask("first");
    addDemuxTask("second");
    writeBytes(tools.audioGatePath(), "");
    window->btn_StartTasks->click();
    waitForStep(language::audioDemuxInProgress);
    EXPECT_EQ(window->rowIcon(0), TForm1::iconRunning);
    window->ListView1->setCurrentItem(window->ListView1->topLevelItem(0));
    EXPECT_FALSE(window->btn_modifyTask->isEnabled());

    window->btn_AbortTasks->click();
    window->btn_AbortTasks->click();
    EXPECT_TRUE(window->isRunning);  // until the runner has ended
    // The notice leads the status line; where the run stands may follow it.
    const auto showsAbortNotice = [this] {
        return window->lab_statusText->text().toStdString().rfind(language::abortRequested, 0) == 0;
    };
    EXPECT_TRUE(showsAbortNotice());
    std::filesystem::remove(tools.audioGatePath());
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->ProgressBar1->isHidden(); }));
    EXPECT_TRUE(showsAbortNotice());
    waitForRunEnd();

    // The task cut short is not shown done, nor is the one that never ran.
    EXPECT_EQ(window->rowIcon(0), TForm1::iconFailed);
    EXPECT_EQ(window->rowIcon(1), TForm1::iconNone);
    EXPECT_EQ(toolCalls(), 1u);
    const std::string log = readBytes(logPath());
    const std::string abortEntry = std::string(language::logAborted) + "\r\n\r\n";
    const std::size_t first = log.find(abortEntry);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find(abortEntry, first + abortEntry.size()), std::string::npos);
    EXPECT_EQ(log.find(platform::systemText(language::logTaskStarted) + "1"), std::string::npos);
    EXPECT_NE(log.find(language::logAllTasksFinished), std::string::npos);
}

TEST_F(RunControlTest, ShutdownBoxQuitsAndAsksForPowerOffInsteadOfShowingTheLog) {
    addDemuxTask("first");
    window->chb_stopWhenFinished->setChecked(true);
    window->btn_StartTasks->click();
    // The application's event loop ends only when the end of the run asks it to.
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    timeout.start(runTimeoutMs);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(window->isRunning);
    EXPECT_EQ(platform->powerOffRequests, 1);
    EXPECT_TRUE(viewers().isEmpty());
}

namespace {

// Watches, every few milliseconds and inside any modal loop, for the power-off countdown.
class CountdownWatch {
public:
    explicit CountdownWatch(const SetFreeSpace& platform) {
        QObject::connect(&timer_, &QTimer::timeout, [this, &platform] {
            auto* countdown = qobject_cast<TPowerOffCountdown*>(QApplication::activeModalWidget());
            if (countdown == nullptr) {
                return;
            }
            const std::string text = countdown->lab_countdown->text().toStdString();
            if (texts.empty() || texts.back() != text) {
                texts.push_back(text);
            }
            powerOffsWhileShown += platform.powerOffRequests;
            if (cancel) {
                countdown->btn_cancel->click();
            }
        });
        timer_.start(10);
    }

    bool cancel = false;
    std::vector<std::string> texts;
    int powerOffsWhileShown = 0;

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

TEST_F(RunControlTest, ThePowerOffWaitsForTheCountdownToRunOut) {
    services.powerOffCountdownSeconds = 2;
    addDemuxTask("first");
    window->chb_stopWhenFinished->setChecked(true);
    CountdownWatch watch(*platform);
    window->btn_StartTasks->click();

    EXPECT_EQ(runApplicationUntil([] { return false; }), 0);
    EXPECT_EQ(watch.texts, (std::vector<std::string>{"The computer switches off in 2 s.",
                                                     "The computer switches off in 1 s."}));
    EXPECT_EQ(watch.powerOffsWhileShown, 0);
    EXPECT_EQ(platform->powerOffRequests, 1);
    EXPECT_TRUE(viewers().isEmpty());
}

TEST_F(RunControlTest, CancellingTheCountdownKeepsTheProgramOpenAndShowsTheLog) {
    services.powerOffCountdownSeconds = 60;
    addDemuxTask("first");
    window->chb_stopWhenFinished->setChecked(true);
    CountdownWatch watch(*platform);
    watch.cancel = true;
    window->btn_StartTasks->click();

    // 99: the run's end did not quit the application.
    EXPECT_EQ(runApplicationUntil([this] { return !window->isRunning; }), 99);
    EXPECT_EQ(watch.texts, std::vector<std::string>{"The computer switches off in 60 s."});
    EXPECT_EQ(platform->powerOffRequests, 0);
    ASSERT_EQ(viewers().size(), 1);
    EXPECT_TRUE(viewers().front()->isVisible());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->btn_StartTasks->isEnabled());
    EXPECT_NE(readBytes(logPath()).find(language::logAllTasksFinished), std::string::npos);
}

TEST_F(RunControlTest, DisplayLogWarnsWithoutALogAndOpensAViewerEachTime) {
    window->btn_displayLog->click();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, language::warningCaption);
    EXPECT_EQ(prompts.messages[0].text,
              "No log file exists at the moment !\r\nIt should be automatically created once "
              "some tasks will be run.");
    EXPECT_TRUE(viewers().isEmpty());

    writeBytes(logPath(), "first line\r\n");
    window->btn_displayLog->click();
    window->btn_displayLog->click();
    ASSERT_EQ(viewers().size(), 2);
    // The second viewer steps aside from the first.
    EXPECT_EQ(viewers().back()->pos() - viewers().front()->pos(), QPoint(24, 24));
    TLogForm* viewer = viewers().front();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Marovink Log"));
    EXPECT_EQ(viewer->edt_textFile->toPlainText(), QStringLiteral("first line\n"));

    writeBytes(logPath(), "first line\r\nsecond line\r\n");
    viewer->btn_refresh->click();
    EXPECT_EQ(viewer->edt_textFile->toPlainText(), QStringLiteral("first line\nsecond line\n"));
    viewer->btn_OK->click();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(viewers().size(), 2);  // hidden, not gone

    // A log that went away under a viewer is reported, and the viewer stays.
    std::filesystem::remove(logPath());
    std::filesystem::create_directory(logPath());
    viewer->btn_refresh->click();
    EXPECT_EQ(prompts.messages.back().caption, language::programTitle);
    EXPECT_EQ(prompts.messages.back().text,
              std::string("Impossible d'ouvrir le fichier ") + logPath());
}

TEST_F(RunControlTest, LogWriteFailuresReachTheGeneralErrorReport) {
    addDemuxTask("first");
    addDemuxTask("second");

    // Start cannot empty the log: no run, the window stays idle.
    std::filesystem::create_directory(logPath());
    window->btn_StartTasks->click();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, language::programTitle);
    EXPECT_FALSE(window->isRunning);
    EXPECT_TRUE(window->btn_StartTasks->isEnabled());
    EXPECT_EQ(toolCalls(), 0u);
}

TEST_F(RunControlTest, ALogThatCanNoLongerBeWrittenEndsTheRunAndIsReportedOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps the log of a run in progress: it cannot be made a folder";
#endif
    addDemuxTask("first");
    addDemuxTask("second");
    // The failure to write is worded as when Start cannot empty the log.
    std::filesystem::create_directory(logPath());
    window->btn_StartTasks->click();
    std::filesystem::remove(logPath());
    ASSERT_EQ(prompts.messages.size(), 1u);

    writeBytes(tools.audioGatePath(), "");
    window->btn_StartTasks->click();
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
    EXPECT_TRUE(window->ProgressBar1->isHidden());
    EXPECT_TRUE(window->btn_StartTasks->isEnabled());
}

TEST_F(RunControlTest, StartStopsBeforeTouchingALogThatAnotherRunHolds) {
    addDemuxTask("first");
    writeBytes(logPath(), "another run's entries\r\n");
    std::unique_ptr<FileLock> otherRun = FileLock::tryTake(logPath());
    ASSERT_TRUE(otherRun);
    window->btn_StartTasks->click();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, language::runLogInUse + logPath());
    EXPECT_FALSE(window->isRunning);
    EXPECT_EQ(toolCalls(), 0u);
    EXPECT_EQ(readBytes(logPath()), "another run's entries\r\n");

    otherRun.reset();
    window->btn_StartTasks->click();
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
    window->btn_StartTasks->click();
    waitForStep(language::audioDemuxInProgress);

    window->ListView1->setCurrentItem(window->ListView1->topLevelItem(2));
    window->btn_removeVob->click();
    EXPECT_EQ(window->taskList.count(), 2);
    // Open, cancelled: the list stays as it is while the run goes on.
    window->menu_OpenProject->trigger();
    EXPECT_EQ(window->taskList.count(), 2);
    window->btn_clearList->click();
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();

    EXPECT_EQ(toolCalls(), 6u);  // two demultiplexings for each of the three tasks
    EXPECT_NE(readBytes(logPath()).find(platform::systemText(language::logTaskStarted) + "2"),
              std::string::npos);
    EXPECT_EQ(window->ListView1->topLevelItemCount(), 0);
}

TEST_F(RunControlTest, IconsFollowTheirTasksWhenTheListChangesDuringARun) {
    addDemuxTask("first");
    addDemuxTask("missing", false);
    addDemuxTask("third");
    addDemuxTask("fourth");
    writeBytes(tools.audioGatePath(), "");
    window->btn_StartTasks->click();
    waitForStep(language::audioDemuxInProgress);
    // The failing task goes: its mark must not land on the row that now follows.
    window->ListView1->setCurrentItem(window->ListView1->topLevelItem(1));
    window->btn_removeVob->click();
    EXPECT_TRUE(window->btn_clearList->isEnabled());
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    EXPECT_EQ(window->rowIcon(0), TForm1::iconDone);
    EXPECT_EQ(window->rowIcon(1), TForm1::iconDone);
    EXPECT_EQ(window->rowIcon(2), TForm1::iconDone);

    // A run that the list no longer holds marks nothing; a new task is never marked done.
    writeBytes(tools.audioGatePath(), "");
    window->btn_StartTasks->click();
    waitForStep(language::audioDemuxInProgress);
    window->btn_clearList->click();
    addDemuxTask("new");
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    EXPECT_EQ(window->rowIcon(0), TForm1::iconNone);
}

TEST_F(RunControlTest, ClosingTheWindowDuringAToolEndsTheRunQuietly) {
    addDemuxTask("first");
    addDemuxTask("second");
    writeBytes(tools.audioGatePath(), "");
    window->btn_StartTasks->click();
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

TEST_F(RunControlTest, RetryFailedTasksRunsOnlyTheFailedAndTheCutShortTasks) {
    EXPECT_FALSE(window->menu_RetryFailed->isEnabled());
    addDemuxTask("first");
    addDemuxTask("missing", false);
    addDemuxTask("third");
    window->btn_StartTasks->click();
    EXPECT_FALSE(window->PPmenu_RetryFailed->isEnabled());
    waitForRunEnd();
    EXPECT_TRUE(window->menu_RetryFailed->isEnabled());
    EXPECT_TRUE(window->PPmenu_RetryFailed->isEnabled());

    // The failed task, under its number in the whole list; the others keep their marks.
    writeBytes(folder.file("missing.VOB"), std::string(100 * 1024, '\0'));
    window->PPmenu_RetryFailed->trigger();
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 6u);
    const std::string log = readBytes(logPath());
    EXPECT_NE(log.find(platform::systemText(language::logTaskStarted) + "1\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find(platform::systemText(language::logTaskStarted) + "0"), std::string::npos);
    EXPECT_EQ(log.find(platform::systemText(language::logTaskStarted) + "2"), std::string::npos);
    EXPECT_EQ(window->rowIcon(1), TForm1::iconDone);
    EXPECT_FALSE(window->menu_RetryFailed->isEnabled());

    // Aborted during the first task: that task is retried, the one never reached is not.
    writeBytes(tools.audioGatePath(), "");
    window->btn_StartTasks->click();
    waitForStep(language::audioDemuxInProgress);
    window->btn_AbortTasks->click();
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    window->menu_RetryFailed->trigger();
    waitForRunEnd();
    EXPECT_EQ(toolCalls(), 9u);
    EXPECT_NE(readBytes(logPath()).find(platform::systemText(language::logTaskStarted) + "0\r\n"),
              std::string::npos);
    EXPECT_FALSE(window->menu_RetryFailed->isEnabled());
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
    window->btn_StartTasks->click();
    waitForStep(language::audioDemuxInProgress);

    const std::string stage =
        std::string(language::audioDemuxInProgress) + " \xe2\x80\x94 task 2 of 2, about ";
    const auto statusShown = [&] {
        const std::string text = window->lab_statusText->text().toStdString();
        return text.rfind(stage, 0) == 0 && text.size() > stage.size() &&
               std::isdigit(static_cast<unsigned char>(text[stage.size()])) &&
               text.substr(text.size() - 9) == " min left";
    };
    EXPECT_TRUE(QTest::qWaitFor(statusShown, runTimeoutMs))
        << window->lab_statusText->text().toStdString();
    const std::string caption = window->windowTitle().toStdString();
    EXPECT_TRUE(!caption.empty() && std::isdigit(static_cast<unsigned char>(caption[0])) &&
                caption.substr(caption.find(' ')) == " % \xe2\x80\x94 Marovink")
        << caption;
    std::filesystem::remove(tools.audioGatePath());
    waitForRunEnd();
    EXPECT_EQ(window->windowTitle().toStdString(), "Marovink");
    EXPECT_TRUE(window->lab_statusText->text().isEmpty());
}
