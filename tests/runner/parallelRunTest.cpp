// Several tasks at once: which task waits for which, and a stop that reaches every running one.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "files/textFile.h"
#include "runner/parallelRun.h"
#include "runner/taskFiles.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

class ParallelRunTest : public ::testing::Test {
protected:
    ParallelRunTest() {
        settings.setValues(tools.settings());
        // Every audio demultiplexing waits until the test lets it go on.
        writeBytes(tools.audioGatePath(), "");
        for (const char* name : {"a", "b", "c"}) {
            tasks.add(taskInFolder(folder.path(), name));
        }
    }

    std::unique_ptr<ParallelRun> start(int tasksAtOnce) {
        TprocessThread::Handlers handlers;
        const auto recorder = [this](const char* name) {
            return [this, name](TprocessThread&, const std::string&, int index) {
                std::lock_guard<std::mutex> lock(mutex);
                events.emplace_back(name, index);
            };
        };
        handlers.OnTaskStart = recorder("start");
        handlers.OnStepStart = recorder("step");
        handlers.OnStepDone = recorder("done");
        handlers.OnTaskError = recorder("error");
        handlers.OnRunFinished = [this] { ++runsFinished; };
        return std::make_unique<ParallelRun>(
            tasks, TaskNumbers{0, 1, 2}, tasksAtOnce,
            TprocessThread::Services{settings, platform, messages, RegionalFormats()}, handlers);
    }

    // Opens the gate when it goes, so that a test that fails early leaves no runner waiting for
    // it: declared after the run, it goes first.
    struct GateOpener {
        std::string gate;
        ~GateOpener() { std::filesystem::remove(gate); }
    };

    // Waits until `count` audio demultiplexings are running; false after half a minute.
    bool audioRunsReach(std::size_t count) const {
        for (int tries = 0; tries < 3000; ++tries) {
            if (isExistingFile(tools.callsPath()) && readLines(tools.callsPath()).size() >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // In number order: tasks started together raise their first events in any order.
    std::vector<int> startedTasks() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<int> started;
        for (const auto& [name, index] : events) {
            if (name == "start") {
                started.push_back(index);
            }
        }
        std::sort(started.begin(), started.end());
        return started;
    }

    // Where the last event of a task and the start of another lie in the events.
    std::size_t lastEventOf(int task) {
        std::size_t last = 0;
        for (std::size_t i = 0; i < events.size(); ++i) {
            last = events[i].second == task ? i : last;
        }
        return last;
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    Settings settings{folder.file("marovink.ini"), folder.path() + "/"};
    SetFreeSpace platform;
    RecordedMessages messages;
    TAllTask tasks;
    std::mutex mutex;
    std::vector<std::pair<std::string, int>> events;
    int runsFinished = 0;
};

}  // namespace

TEST_F(ParallelRunTest, TasksRunSideBySideAndOneSharingADestinationWaitsForTheEarlier) {
    tasks.taskAt(2)->dvdFolderPath = tasks.taskAt(0)->dvdFolderPath;
    const auto run = start(2);
    const GateOpener opener{tools.audioGatePath()};
    ASSERT_TRUE(audioRunsReach(2));
    // Task 2 would author into task 0's folder: it waits, though a runner is free after task 1.
    EXPECT_EQ(startedTasks(), (std::vector<int>{0, 1}));
    std::filesystem::remove(tools.audioGatePath());
    run->waitForEnd();

    EXPECT_EQ(startedTasks().size(), 3u);
    std::lock_guard<std::mutex> lock(mutex);
    const auto taskTwoStart =
        std::find(events.begin(), events.end(), std::pair<std::string, int>{"start", 2});
    EXPECT_GT(static_cast<std::size_t>(taskTwoStart - events.begin()), lastEventOf(0));
    EXPECT_EQ(runsFinished, 1);
    EXPECT_EQ(run->runFailure(), "");
}

TEST_F(ParallelRunTest, AStopReachesEveryRunningTaskAndStartsNoOther) {
    const auto run = start(2);
    const GateOpener opener{tools.audioGatePath()};
    ASSERT_TRUE(audioRunsReach(2));
    run->requestStop();
    std::filesystem::remove(tools.audioGatePath());
    run->waitForEnd();

    EXPECT_EQ(startedTasks(), (std::vector<int>{0, 1}));
    std::vector<int> cutShort = run->cutShortTaskIndexes();
    std::sort(cutShort.begin(), cutShort.end());
    EXPECT_EQ(cutShort, (std::vector<int>{0, 1}));
    // Each stopped after its running tool: no video demultiplexing followed.
    EXPECT_EQ(readLines(tools.callsPath()).size(), 2u);
    EXPECT_EQ(runsFinished, 1);
}

TEST(TaskFiles, TasksShareAFileWhenTheyNameOneAsFiles) {
    TempFolder folder;
    const TaskRef first = taskInFolder(folder.path(), "one", -1);
    const TaskRef second = taskInFolder(folder.path(), "two", -1);
    EXPECT_FALSE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    second->vobFilePath = folder.path() + "/./remuxed one.VOB";
    EXPECT_TRUE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    // A further audio track of a task keeping every track is one of its files.
    second->vobFilePath = folder.file("remuxed two.VOB");
    second->origVobFilePath = folder.file("one.2.ac3");
    EXPECT_FALSE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    first->extraChoices = "audio=all";
    EXPECT_TRUE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
}
