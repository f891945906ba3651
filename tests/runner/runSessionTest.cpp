#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/runSession.h"
#include "runner/state/runLog.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

using namespace std::chrono_literals;

// Records what the session shows, and whether the run log already held each text when shown.
class RecordingView : public RunView {
public:
    explicit RecordingView(std::string logPath) : logPath_(std::move(logPath)) {}

    void runEvent(const RunEvent& event) override {
        const std::string task = std::to_string(event.task);
        switch (event.kind) {
            case RunEvent::Kind::taskStarted:
                record("task " + task, platform::systemText(language::logTaskStarted) + task);
                break;
            case RunEvent::Kind::stepStarted:
                record("step", eventText(event));
                break;
            case RunEvent::Kind::stepDone:
                record("done", event.message);
                break;
            case RunEvent::Kind::taskError:
                record("failed " + task, event.message);
                break;
            default:
                break;
        }
    }
    void progress(int) override { record("progress", ""); }
    void runFinished() override { record("finished", language::logAllTasksFinished); }

    // Waits until an event of that name has been shown.
    bool waitFor(const std::string& name) {
        std::unique_lock<std::mutex> lock(mutex_);
        return shown_.wait_for(lock, 20s, [&] {
            return std::find(events.begin(), events.end(), name) != events.end();
        });
    }

    std::vector<std::string> events;
    std::vector<std::string> notYetLogged;

private:
    void record(const std::string& name, const std::string& text) {
        const bool logged = readBytes(logPath_).find(text) != std::string::npos;
        std::lock_guard<std::mutex> lock(mutex_);
        events.push_back(name);
        if (!logged) {
            notYetLogged.push_back(name + ": " + text);
        }
        shown_.notify_all();
    }

    const std::string logPath_;
    std::mutex mutex_;
    std::condition_variable shown_;
};

// Counts the progress monitors by the priority each one gives its thread.
class CountingPlatform : public SetFreeSpace {
public:
    void setCurrentThreadPriority(platform::ThreadPriority priority) override {
        if (priority == platform::ThreadPriority::BelowNormal) {
            ++monitors;
        }
    }
    std::atomic<int> monitors{0};
};

class RunSessionTest : public ::testing::Test {
protected:
    RunSessionTest() {
        settings.setValues(tools.settings());
        writeBytes(log.path(), "a previous run");
        writeBytes(folder.file("run.tools.log"), "a previous run's tools");
    }

    TaskRef addDemuxTask(const std::string& name, bool sourceExists = true) {
        TaskRef task = taskInFolder(folder.path(), name, sourceExists ? 100 * 1024 : -1);
        task->doRemux = task->doAuthor = false;
        tasks.add(task);
        return task;
    }

    std::unique_ptr<RunSession> start() {
        return std::make_unique<RunSession>(
            tasks, log, RunSession::Services{settings, platform, messages, RegionalFormats()}, view,
            board);
    }

    // Every progress between a step's start and its end.
    static bool progressOnlyWithinSteps(const std::vector<std::string>& events) {
        bool inStep = false;
        for (const std::string& event : events) {
            inStep = event == "step" || (inStep && event != "done");
            if (event == "progress" && !inStep) {
                return false;
            }
        }
        return true;
    }

    static int count(const std::string& text, const std::string& part) {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + 1)) {
            ++n;
        }
        return n;
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    Settings settings{folder.file("marovink.ini"), folder.path() + "/"};
    CountingPlatform platform;
    RecordedMessages messages;
    RunLog log{folder.file("run.log"), RegionalFormats()};
    RecordingView view{log.path()};
    TaskBoard board;
    TAllTask tasks;
};

}  // namespace

TEST_F(RunSessionTest, EveryEventIsLoggedThenShownInOrderWithOneMonitorPerStep) {
    addDemuxTask("first");
    addDemuxTask("missing", false);
    addDemuxTask("third");
    // Both outputs too short: two errors for each task that runs, one task counted each time.
    tools.audioBytes = tools.videoBytes = 10;
    tools.write();
    const std::unique_ptr<RunSession> session = start();
    session->waitForEnd();

    const std::vector<std::string> shown = {
        "task 0", "step", "done", "failed 0", "step", "done", "failed 0", "task 1",  "failed 1",
        "task 2", "step", "done", "failed 2", "step", "done", "failed 2", "finished"};
    std::vector<std::string> withoutProgress;
    std::copy_if(view.events.begin(), view.events.end(), std::back_inserter(withoutProgress),
                 [](const std::string& event) { return event != "progress"; });
    EXPECT_EQ(withoutProgress, shown);
    EXPECT_TRUE(view.notYetLogged.empty()) << view.notYetLogged.front();
    EXPECT_EQ(platform.monitors, 4);
    EXPECT_EQ(board.tally().started, 3);
    EXPECT_EQ(board.tally().withErrors, 3);
    EXPECT_EQ(session->runFailure(), "");
    EXPECT_TRUE(progressOnlyWithinSteps(view.events));
    // Where the tools keep their output to themselves, there is no tools log to empty.
    EXPECT_EQ(readBytes(folder.file("run.tools.log")).find("a previous run") == std::string::npos,
              platform.collectsToolOutput());
    EXPECT_EQ(readBytes(log.path()).find("a previous run"), std::string::npos);
}

TEST_F(RunSessionTest, AnAbortIsLoggedOnceBeforeTheEndAndNotAfterIt) {
    addDemuxTask("first");
    addDemuxTask("second");
    writeBytes(tools.audioGatePath(), "");
    std::unique_ptr<RunSession> session = start();
    ASSERT_TRUE(view.waitFor("step"));
    std::this_thread::sleep_for(1200ms);  // long enough for the monitor's first measurement

    EXPECT_TRUE(session->abort());
    std::filesystem::remove(tools.audioGatePath());
    session->waitForEnd();
    EXPECT_FALSE(session->abort());  // after the end: nothing more in the log

    // The task under way is cut short, the next one never reached.
    EXPECT_EQ(board.taskStatus(0), TaskBoard::Status::cutShort);
    EXPECT_EQ(board.taskStatus(1), TaskBoard::Status::notReached);
    EXPECT_TRUE(board.wasAborted());
    EXPECT_NE(std::count(view.events.begin(), view.events.end(), "progress"), 0);
    EXPECT_TRUE(progressOnlyWithinSteps(view.events));
    EXPECT_EQ(view.events.back(), "finished");
    const std::string logged = readBytes(log.path());
    EXPECT_EQ(count(logged, language::logAborted), 1);
    EXPECT_LT(logged.rfind(language::logAborted), logged.find(language::logAllTasksFinished));
}

TEST_F(RunSessionTest, ALogMovedAsideDuringARunStillKeepsASecondRunOffItsPath) {
    addDemuxTask("first");
    writeBytes(tools.audioGatePath(), "");
    std::unique_ptr<RunSession> session = start();
    ASSERT_TRUE(view.waitFor("step"));
    std::filesystem::rename(log.path(), log.path() + ".1");

    RunLog secondLog(log.path(), RegionalFormats());
    RecordingView secondView(log.path());
    std::unique_ptr<RunSession> second;
    try {
        second = std::make_unique<RunSession>(
            tasks, secondLog, RunSession::Services{settings, platform, messages, RegionalFormats()},
            secondView, board);
    } catch (const IoError& failure) {
        EXPECT_EQ(failure.what(), language::runLogInUse + log.path());
    }
    EXPECT_FALSE(second) << "a second run started on the log";
    std::filesystem::remove(tools.audioGatePath());
    second.reset();
    session.reset();

    // The first run's entries go on at the log's path, the second run's nowhere.
    const std::string taskStarted = platform::systemText(language::logTaskStarted);
    const std::string atPath = readBytes(log.path());
    EXPECT_EQ(count(readBytes(log.path() + ".1"), taskStarted), 1);
    EXPECT_EQ(count(atPath, taskStarted), 0);
    EXPECT_EQ(count(atPath, language::logAllTasksFinished), 1);
    EXPECT_FALSE(std::filesystem::exists(RunLog::lockFileOf(log.path())));
}

TEST_F(RunSessionTest, ALockFileThatAKilledRunLeftBehindStopsNoRun) {
    addDemuxTask("first");
    writeBytes(RunLog::lockFileOf(log.path()), "");
    start()->waitForEnd();
    EXPECT_EQ(count(readBytes(log.path()), language::logAllTasksFinished), 1);
    EXPECT_FALSE(std::filesystem::exists(RunLog::lockFileOf(log.path())));
}
