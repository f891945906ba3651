#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/exec/parallelRun.h"
#include "runner/exec/processThreadUnit.h"
#include "runner/plan/commandLines.h"
#include "runner/plan/taskFiles.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

struct Event {
    std::string name;
    std::string text;
    int taskIndex;

    bool operator==(const Event& other) const {
        return name == other.name && text == other.text && taskIndex == other.taskIndex;
    }
};

std::ostream& operator<<(std::ostream& out, const Event& event) {
    return out << event.name << "(" << event.taskIndex << ", \"" << event.text << "\")";
}

class ProcessThreadTest : public ::testing::Test {
protected:
    ProcessThreadTest() { settings.setValues(tools.settings()); }

    // A task on files of the temporary folder, with a source VOB of 100 KiB.
    TaskRef addTask(const std::string& name) {
        TaskRef task = taskInFolder(folder.path(), name);
        tasks.add(task);
        return task;
    }

    TprocessThread::Handlers recordingHandlers() {
        const auto recorder = [this](const char* name) {
            return [this, name](TprocessThread& sender, const std::string& text, int index) {
                std::lock_guard<std::mutex> lock(mutex);
                events.push_back({name, text, index});
                if (std::string(name) == "OnStepStart") {
                    targets.push_back(sender.currentTarget());
                    expectedSizes.push_back(sender.expectedSize());
                    folderFlags.push_back(sender.currentTargetIsFolder());
                }
            };
        };
        TprocessThread::Handlers handlers;
        handlers.OnTaskStart = recorder("OnTaskStart");
        handlers.OnStepStart = recorder("OnStepStart");
        handlers.OnStepDone = recorder("OnStepDone");
        handlers.OnTaskError = recorder("OnTaskError");
        handlers.OnEvent = [this](const RunEvent& event) {
            if (event.kind == RunEvent::Kind::taskEnded && event.cutShort) {
                std::lock_guard<std::mutex> lock(mutex);
                cutShort.push_back(event.task);
            }
        };
        handlers.OnRunFinished = [this] { ++runsFinished; };
        return handlers;
    }

    void run(TprocessThread::Handlers handlers) {
        TprocessThread runner(tasks, {settings, platform, messages, RegionalFormats()},
                              std::move(handlers));
        runner.waitForEnd();
        runFailure = runner.runFailure();
    }
    void run() { run(recordingHandlers()); }

    // The tasks that have started, in number order: tasks run side by side start in any order.
    std::vector<int> startedTasks() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<int> started;
        for (const Event& event : events) {
            if (event.name == "OnTaskStart") {
                started.push_back(event.taskIndex);
            }
        }
        std::sort(started.begin(), started.end());
        return started;
    }

    // Waits until `count` tool runs have begun; false after half a minute.
    bool toolRunsReach(std::size_t count) const {
        for (int tries = 0; tries < 3000; ++tries) {
            if (isExistingFile(tools.callsPath()) && readLines(tools.callsPath()).size() >= count) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::vector<std::string> eventNames() const {
        std::vector<std::string> names;
        for (const Event& event : events) {
            names.push_back(event.name);
        }
        return names;
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    Settings settings{folder.file("marovink.ini"), folder.path() + "/"};
    SetFreeSpace platform;
    RecordedMessages messages;
    TAllTask tasks;

    std::mutex mutex;
    std::vector<Event> events;
    std::vector<std::string> targets;
    std::vector<double> expectedSizes;
    std::vector<bool> folderFlags;
    std::vector<int> cutShort;
    int runsFinished = 0;
    std::string runFailure;
};

std::string stepStart(const char* message, const ToolCommand& command) {
    return std::string(message) + "\r\n    " + command.commandLine;
}

}  // namespace

TEST_F(ProcessThreadTest, FullTaskWithAllDeletionsRaisesItsEventsInOrder) {
    TaskRef task = addTask("VTS_01_1");
    task->chapterList = "00:00:00,00:05:00";
    task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
    const Ttask copy = *task;
    const SettingsValues paths = tools.settings();
    run();

    const std::vector<Event> expected{
        {"OnTaskStart", "", 0},
        {"OnStepStart",
         stepStart("Audio stream DEMUX in progress...", audioDemuxCommand(copy, paths)), 0},
        {"OnStepDone", "Done ", 0},
        {"OnStepStart",
         stepStart("Video stream DEMUX in progress...", videoDemuxCommand(copy, paths)), 0},
        {"OnStepDone", "Done ", 0},
        {"OnStepDone", copy.origVobFilePath + " deleted ", 0},
        {"OnStepStart", stepStart("REMUX in progress...", remuxCommand(copy, paths)), 0},
        {"OnStepDone", "Done ", 0},
        {"OnStepDone", copy.m2vFilePath + " deleted ", 0},
        {"OnStepDone", copy.ac3FilePath + " deleted ", 0},
        {"OnStepStart",
         stepStart("TITLE authoring (VTS_01_n.IFO) in progress...",
                   titleAuthoringCommand(copy, paths)),
         0},
        {"OnStepDone", "Done ", 0},
        {"OnStepStart",
         stepStart("DVD FOLDER authoring (VIDEO_TS.IFO) in progress...",
                   tableOfContentsCommand(copy, paths)),
         0},
        {"OnStepDone", "Done ", 0},
        {"OnStepDone", "DVD checked: 1 title, 99 chapters, 0:00:00, 1 audio track, PAL ", 0},
        {"OnStepDone", copy.vobFilePath + " deleted ", 0},
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(runsFinished, 1);
    EXPECT_EQ(runFailure, "");
    for (const std::string* gone :
         {&copy.origVobFilePath, &copy.m2vFilePath, &copy.ac3FilePath, &copy.vobFilePath}) {
        EXPECT_FALSE(std::filesystem::exists(*gone)) << *gone;
    }
    EXPECT_TRUE(isExistingFile(copy.dvdFolderPath + "/VIDEO_TS/VIDEO_TS.IFO"));

    // Targets and expected sizes announced to the progress monitor; the table of contents keeps
    // those of the title.
    const std::string separator = platform::pathSeparator;
    const std::string videoTs = copy.dvdFolderPath + separator + "VIDEO_TS" + separator;
    EXPECT_EQ(targets, (std::vector<std::string>{copy.ac3FilePath, copy.m2vFilePath,
                                                 copy.vobFilePath, videoTs, videoTs}));
    EXPECT_EQ(folderFlags, (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(expectedSizes, (std::vector<double>{6.5, 90, 100, 100, 100}));
}

TEST_F(ProcessThreadTest, ReferenceSizeOfEachStageCombination) {
    // Demux off, remux on: 1.04 times the two streams, also for authoring.
    TaskRef streams = addTask("a");
    streams->doDemux = false;
    writeBytes(streams->m2vFilePath, std::string(60 * 1024, 'm'));
    writeBytes(streams->ac3FilePath, std::string(40 * 1024, 'a'));
    // Authoring alone: the remultiplexed VOB's size.
    TaskRef vobOnly = addTask("b");
    vobOnly->doDemux = vobOnly->doRemux = false;
    writeBytes(vobOnly->vobFilePath, std::string(50 * 1024, 'r'));
    run();
    EXPECT_EQ(expectedSizes, (std::vector<double>{104, 104, 104, 50, 50}));
    const std::vector<std::string> names = eventNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "OnTaskError"), 0);
}

TEST_F(ProcessThreadTest, ShortOutputIsReportedAndTheStageKeepsItsInputs) {
    tools.videoBytes = 80 * 1024;  // below 0.855 of the source
    tools.write();
    TaskRef task = addTask("s");
    task->doRemux = task->doAuthor = false;
    task->deleteOrigVob = true;
    run();
    ASSERT_EQ(eventNames(),
              (std::vector<std::string>{"OnTaskStart", "OnStepStart", "OnStepDone", "OnStepStart",
                                        "OnStepDone", "OnTaskError", "OnStepDone"}));
    EXPECT_NE(events[5].text.find("(size/expected (tolerance) = 80 Ko/90 Ko (5 %) )"),
              std::string::npos)
        << events[5].text;
    EXPECT_EQ(events[6].text, task->origVobFilePath + " kept, as the output is short ");
    EXPECT_TRUE(isExistingFile(task->origVobFilePath));

    // A remultiplexer that wrote nothing keeps both streams; authoring then misses its input.
    tools.videoBytes = 92 * 1024;
    tools.remuxBytes = -1;
    tools.write();
    tasks.clear();
    TaskRef empty = addTask("e");
    empty->deleteStreams = true;
    events.clear();
    run();
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events[7].name, "OnTaskError");
    EXPECT_NE(events[7].text.find("=  Ko/100 Ko (5 %) )"), std::string::npos) << events[7].text;
    EXPECT_EQ(events[8], (Event{"OnStepDone", empty->m2vFilePath + language::fileKept, 0}));
    EXPECT_EQ(events[9], (Event{"OnStepDone", empty->ac3FilePath + language::fileKept, 0}));
    EXPECT_EQ(events[10],
              (Event{"OnTaskError",
                     empty->vobFilePath + " file doesn't exists !\r\nThis task will abort.", 0}));
    EXPECT_TRUE(isExistingFile(empty->m2vFilePath));
    EXPECT_TRUE(isExistingFile(empty->ac3FilePath));
}

TEST_F(ProcessThreadTest, ADeletionThatFailsIsATaskErrorAndTheTaskGoesOn) {
    platform.deletionFailure = "Device or resource busy";
    TaskRef task = addTask("busy");
    task->deleteOrigVob = task->deleteVob = true;
    run();
    const std::vector<std::string> names = eventNames();
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(events[5], (Event{"OnTaskError",
                                task->origVobFilePath +
                                    " file couldn't be deleted !\r\nDevice or resource busy",
                                0}));
    EXPECT_EQ(events[6].name, "OnStepStart") << "the task went on";
    EXPECT_EQ(events[13].name, "OnTaskError");
    EXPECT_EQ(std::count(names.begin(), names.end(), "OnStepDone"), 6) << "no deletion reported";
    EXPECT_TRUE(isExistingFile(task->origVobFilePath));
}

TEST_F(ProcessThreadTest, StopDuringTheAudioRunEndsTheRunAfterItsCheck) {
    writeBytes(tools.audioGatePath(), "");
    TaskRef first = addTask("one");
    first->deleteOrigVob = true;
    addTask("two");
    {
        TprocessThread runner(tasks, {settings, platform, messages, RegionalFormats()},
                              recordingHandlers());
        for (int i = 0; i < 200 && !isExistingFile(tools.callsPath()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        runner.requestStop();
        std::filesystem::remove(tools.audioGatePath());
        runner.waitForEnd();
    }
    EXPECT_EQ(eventNames(), (std::vector<std::string>{"OnTaskStart", "OnStepStart", "OnStepDone"}));
    EXPECT_EQ(runsFinished, 1);
    EXPECT_TRUE(isExistingFile(first->origVobFilePath));
    EXPECT_EQ(readLines(tools.callsPath()).size(), 1u);
}

TEST_F(ProcessThreadTest, ToolThatCannotStartEndsOnlyItsTask) {
    SettingsValues paths = tools.settings();
    paths.demuxExePath = folder.file("no such tool");
    settings.setValues(paths);
    TaskRef first = addTask("one");
    TaskRef second = addTask("two");
    second->doDemux = second->doRemux = false;
    writeBytes(second->vobFilePath, std::string(1024, 'r'));
    run();
    const std::string commandLine = audioDemuxCommand(*first, paths).commandLine;
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ(events[2],
              (Event{"OnTaskError",
                     commandLine + " command line aborted\r\nThis task won't continue.", 0}));
    EXPECT_EQ(events[3], (Event{"OnStepDone", "Done ", 0}));
    EXPECT_EQ(events[4], (Event{"OnTaskStart", "", 1}));
    EXPECT_EQ(
        messages.warnings,
        std::vector<std::string>{"The following command line execution failed !" + commandLine});
}

TEST_F(ProcessThreadTest, MissingInputsAndLackOfSpaceEndTheirTask) {
    TaskRef noStreams = addTask("x");
    noStreams->doDemux = false;  // neither stream exists: the video one is named
    TaskRef noSpace = addTask("y");
    TaskRef noSource = addTask("z");
    std::filesystem::remove(noSource->origVobFilePath);
    platform.freeBytes = 115 * 1024;  // exactly what 100 KiB needs: not enough
    run();
    const std::vector<Event> expected{
        {"OnTaskStart", "", 0},
        {"OnTaskError", noStreams->m2vFilePath + " file doesn't exists !\r\nThis task will abort.",
         0},
        {"OnTaskStart", "", 1},
        {"OnTaskError",
         "There is not enough free space on destination drive to process " + noSpace->m2vFilePath,
         1},
        {"OnTaskStart", "", 2},
        {"OnTaskError",
         noSource->origVobFilePath + " file doesn't exists !\r\nThis task will abort.", 2},
    };
    EXPECT_EQ(events, expected);
}

TEST_F(ProcessThreadTest, EmptyListAndTaskWithoutStages) {
    run();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(runsFinished, 1);

    TaskRef idle = addTask("idle");
    idle->doDemux = idle->doRemux = idle->doAuthor = false;
    run();
    EXPECT_EQ(events, std::vector<Event>{(Event{"OnTaskStart", "", 0})});
    EXPECT_EQ(runsFinished, 2);
}

TEST_F(ProcessThreadTest, FailingHandlerOrUnreadableInputEndsTheRun) {
    addTask("one");
    addTask("two");
    TprocessThread::Handlers handlers = recordingHandlers();
    handlers.OnStepStart = [](TprocessThread&, const std::string&, int) {
        throw IoError("Erreur E/S 5");
    };
    run(handlers);
    EXPECT_EQ(eventNames(), std::vector<std::string>{"OnTaskStart"});
    EXPECT_EQ(runsFinished, 1);
    EXPECT_EQ(runFailure, "Erreur E/S 5");
}

TEST_F(ProcessThreadTest, ListChangesDuringTheRunDoNotReachIt) {
    writeBytes(tools.audioGatePath(), "");
    TaskRef task = addTask("kept");
    task->doRemux = task->doAuthor = false;
    const std::string source = task->origVobFilePath;
    {
        TprocessThread runner(tasks, {settings, platform, messages, RegionalFormats()},
                              recordingHandlers());
        task->origVobFilePath = "/elsewhere.VOB";
        tasks.clear();
        tasks.add(std::make_shared<Ttask>());
        std::filesystem::remove(tools.audioGatePath());
        runner.waitForEnd();
    }
    ASSERT_EQ(events.size(), 5u);
    EXPECT_NE(events[1].text.find(source), std::string::npos);
}

TEST_F(ProcessThreadTest, ToolEndingWithAnErrorStatusIsReportedAndTheStageKeepsItsInputs) {
    tools.remuxExitStatus = 3;
    tools.write();
    TaskRef task = addTask("status");
    task->doAuthor = false;
    task->deleteStreams = true;
    run();
    ASSERT_EQ(events.size(), 10u);
    EXPECT_EQ(events[6], (Event{"OnStepDone", "Done ", 0}));
    EXPECT_EQ(events[7], (Event{"OnTaskError",
                                remuxCommand(*task, tools.settings()).commandLine +
                                    " command line ended with exit status 3",
                                0}));
    EXPECT_EQ(events[8], (Event{"OnStepDone", task->m2vFilePath + language::fileKept, 0}));
    EXPECT_EQ(events[9], (Event{"OnStepDone", task->ac3FilePath + language::fileKept, 0}));
    EXPECT_TRUE(isExistingFile(task->m2vFilePath));
}

TEST_F(ProcessThreadTest, OutputsLeftByAnEarlierRunAreRemovedBeforeTheToolRuns) {
    // Tools that write nothing: only a file left from before could pass the size checks.
    tools.audioBytes = tools.videoBytes = tools.remuxBytes = -1;
    tools.write();
    TaskRef demux = addTask("demux");
    demux->doRemux = demux->doAuthor = false;
    TaskRef remux = addTask("remux");
    remux->doDemux = remux->doAuthor = false;
    const std::string old(200 * 1024, 'o');
    for (const std::string* stale : {&demux->ac3FilePath, &demux->m2vFilePath, &remux->vobFilePath,
                                     &remux->m2vFilePath, &remux->ac3FilePath}) {
        writeBytes(*stale, old);
    }
    run();
    std::vector<std::string> shortOutputs;
    for (const Event& event : events) {
        if (event.name == "OnTaskError") {
            shortOutputs.push_back(event.text.substr(event.text.find("= ")));
        }
    }
    EXPECT_EQ(shortOutputs, (std::vector<std::string>{"=  Ko/7 Ko (60 %) )", "=  Ko/90 Ko (5 %) )",
                                                      "=  Ko/416 Ko (5 %) )"}));
    for (const std::string* gone :
         {&demux->ac3FilePath, &demux->m2vFilePath, &remux->vobFilePath}) {
        EXPECT_FALSE(std::filesystem::exists(*gone)) << *gone;
    }
    EXPECT_EQ(readBytes(remux->m2vFilePath), old) << "an input of the stage stays";
}

TEST_F(ProcessThreadTest, AStreamThatIsItsSourceEndsTheTaskBeforeAnythingRunsOrIsRemoved) {
    tools.audioBytes = tools.videoBytes = -1;
    tools.write();
    TaskRef task = addTask("same");
    task->doRemux = task->doAuthor = false;
    std::filesystem::create_hard_link(task->origVobFilePath, task->ac3FilePath);
    std::filesystem::create_directory(folder.file("sub"));
    task->m2vFilePath = folder.file("sub/../same.VOB");
    const std::string source = readBytes(task->origVobFilePath);
    run();
    EXPECT_EQ(readBytes(task->origVobFilePath), source);
    EXPECT_EQ(readBytes(task->ac3FilePath), source);
    // The source's own demultiplexing would destroy it: nothing runs.
    EXPECT_EQ(eventNames(), (std::vector<std::string>{"OnTaskStart", "OnTaskError"}));
    EXPECT_EQ(events.back().text,
              task->ac3FilePath + " would be written over the task's source VOB " +
                  task->origVobFilePath + ": every output must be a file of its own.");
}

TEST_F(ProcessThreadTest, AnOldOutputThatCannotBeRemovedEndsTheTask) {
    platform.deletionFailure = "Device or resource busy";
    TaskRef task = addTask("locked");
    writeBytes(task->m2vFilePath, "old");
    run();
    ASSERT_EQ(eventNames(), (std::vector<std::string>{"OnTaskStart", "OnStepStart", "OnStepDone",
                                                      "OnTaskError"}));
    EXPECT_EQ(events[3].text,
              task->m2vFilePath + " file couldn't be deleted !\r\nDevice or resource busy");
}

TEST_F(ProcessThreadTest, ADvdThatFailsItsCheckIsReportedAndKeepsTheRemultiplexedVob) {
    tools.authored.chapters = 1;
    tools.write();
    TaskRef task = addTask("check");
    task->doDemux = task->doRemux = false;
    task->chapterList = "00:00:00,00:00:01";
    task->deleteVob = true;
    writeBytes(task->vobFilePath, std::string(100 * 1024, 'r'));
    run();
    const std::string videoTs =
        task->dvdFolderPath + platform::pathSeparator + "VIDEO_TS" + platform::pathSeparator;
    const std::vector<Event> ending{
        {"OnStepDone", "DVD checked: 1 title, 1 chapter, 0:00:00, 1 audio track, PAL ", 0},
        {"OnTaskError", videoTs + " holds fewer chapters than the chapter list has points: 1 < 2",
         0},
        {"OnStepDone", task->vobFilePath + " kept, as the DVD check failed ", 0}};
    ASSERT_EQ(events.size(), 8u);
    EXPECT_EQ(std::vector<Event>(events.begin() + 5, events.end()), ending);
    EXPECT_TRUE(isExistingFile(task->vobFilePath));
}

TEST_F(ProcessThreadTest, ADvdAlreadyInTheDestinationEndsTheTaskBeforeAnythingRuns) {
    TaskRef task = addTask("taken");
    task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
    const std::string videoTs =
        task->dvdFolderPath + platform::pathSeparator + "VIDEO_TS" + platform::pathSeparator;
    folder.touch("taken dvd/VIDEO_TS/VTS_01_1.VOB");
    run();
    const std::vector<Event> expected{
        {"OnTaskStart", "", 0}, {"OnTaskError", videoTs + language::videoTsNotEmptyAtStart, 0}};
    EXPECT_EQ(events, expected);
    EXPECT_FALSE(std::filesystem::exists(tools.callsPath()));
    EXPECT_TRUE(isExistingFile(task->origVobFilePath));
}

namespace {

// Opens the audio gate when it goes, so that a test that fails early leaves no runner waiting for
// it: declared after the run, it goes first.
struct GateOpener {
    std::string gate;
    ~GateOpener() { std::filesystem::remove(gate); }
};

}  // namespace

TEST_F(ProcessThreadTest, SideBySideATaskSharingAFileWaitsAndAStopReachesEveryRunningTask) {
    for (const char* name : {"a", "b", "c"}) {
        addTask(name);
    }
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop);
        events.clear();
        cutShort.clear();
        std::filesystem::remove(tools.callsPath());
        // Task 2 would author into task 0's folder: it waits, though a runner is free.
        tasks.taskAt(2)->dvdFolderPath =
            stop ? folder.file("c dvd") : tasks.taskAt(0)->dvdFolderPath;
        for (const char* name : {"a dvd", "b dvd", "c dvd"}) {
            std::filesystem::remove_all(folder.file(name));
        }
        writeBytes(tools.audioGatePath(), "");
        ParallelRun run(tasks, TaskNumbers{0, 1, 2}, 2,
                        {settings, platform, messages, RegionalFormats()}, recordingHandlers());
        const GateOpener opener{tools.audioGatePath()};
        ASSERT_TRUE(toolRunsReach(2));
        EXPECT_EQ(startedTasks(), (std::vector<int>{0, 1}));
        if (stop) {
            run.requestStop();
        }
        std::filesystem::remove(tools.audioGatePath());
        run.waitForEnd();

        if (stop) {
            // Each stopped after its running tool, and no other task started.
            std::sort(cutShort.begin(), cutShort.end());
            EXPECT_EQ(cutShort, (std::vector<int>{0, 1}));
            EXPECT_EQ(readLines(tools.callsPath()).size(), 2u);
            EXPECT_EQ(startedTasks(), (std::vector<int>{0, 1}));
        } else {
            std::lock_guard<std::mutex> lock(mutex);
            const auto isTaskZero = [](const Event& event) { return event.taskIndex == 0; };
            const auto lastOfZero = std::find_if(events.rbegin(), events.rend(), isTaskZero);
            const auto startOfTwo =
                std::find(events.begin(), events.end(), Event{"OnTaskStart", "", 2});
            EXPECT_GT(startOfTwo - events.begin(), events.rend() - lastOfZero - 1);
        }
        EXPECT_EQ(run.runFailure(), "");
    }
    EXPECT_EQ(runsFinished, 2);
}

TEST(TaskFiles, TasksShareAFileWhenTheyNameOneAsFiles) {
    TempFolder folder;
    const TaskRef first = taskInFolder(folder.path(), "one", -1);
    const TaskRef second = taskInFolder(folder.path(), "two", -1);
    EXPECT_FALSE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    second->vobFilePath = folder.path() + "/./remuxed one.VOB";
    EXPECT_TRUE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    // A further audio track of a task keeping every track is one of its files: here, with no
    // source to survey, the one an earlier run left.
    second->vobFilePath = folder.file("remuxed two.VOB");
    second->origVobFilePath = folder.file("one.2.ac3");
    writeBytes(second->origVobFilePath, "track");
    EXPECT_FALSE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    first->extraChoices = "audio=all";
    EXPECT_TRUE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second)));
    // So are a subtitle stream and the title run's control file of a task keeping subtitles.
    first->extraChoices = "subtitles=all";
    for (const char* theirs : {"one.s32.spu", "remuxed one.VOB.dvdauthor.xml"}) {
        second->origVobFilePath = folder.file(theirs);
        writeBytes(second->origVobFilePath, "stream");
        EXPECT_TRUE(tasksShareAFile(filesOfTask(*first), filesOfTask(*second))) << theirs;
    }
}
