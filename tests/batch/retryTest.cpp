#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "files/textFile.h"
#include "storage/projectFile.h"
#include "support/batchProcess.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

using namespace std::chrono_literals;

class RetryTest : public ::testing::Test {
protected:
    BatchOutcome runBatch(const std::string& options,
                          const std::function<void(pid_t)>& whileRunning = nullptr) const {
        return runBatchProgram("--settings " + shellQuoted(folder.file("tools.ini")) + " " +
                                   options + " " + shellQuoted(folder.file("p.mvk")),
                               folder.file("stderr.txt"), whileRunning);
    }

    std::string errors() const { return readBytes(folder.file("stderr.txt")); }

    int toolRuns() const {
        return isExistingFile(tools.callsPath())
                   ? static_cast<int>(readLines(tools.callsPath()).size())
                   : 0;
    }

    std::string logOption(const std::string& name) const {
        return "--log " + shellQuoted(folder.file(name));
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    TAllTask tasks = saveFakeToolsProject(folder, tools);
};

void waitForFile(const std::string& path) {
    for (int i = 0; i < 500 && !isExistingFile(path); ++i) {
        std::this_thread::sleep_for(10ms);
    }
}

}  // namespace

TEST_F(RetryTest, RetriesSettleOnceEveryTaskHasFinished) {
    std::filesystem::remove(tasks.taskAt(1)->origVobFilePath);
    EXPECT_EQ(runBatch(logOption("run.log")).status, 1);
    writeBytes(tasks.taskAt(1)->origVobFilePath, std::string(100 * 1024, 'v'));
    const std::string retry =
        logOption("run.log") + " --failed-from " + shellQuoted(folder.file("run.log"));
    EXPECT_EQ(runBatch(retry).status, 0) << errors();
    const int runsAfterFirstRetry = toolRuns();
    // The sources of the finished tasks are gone: running them again would fail them.
    for (int round = 2; round <= 3; ++round) {
        const BatchOutcome outcome = runBatch(retry);
        EXPECT_EQ(outcome.status, 0) << "round " << round << ": " << errors();
        EXPECT_NE(outcome.output.find("No task to run: the earlier run log shows every chosen "
                                      "task finished without an error."),
                  std::string::npos)
            << outcome.output;
        EXPECT_EQ(toolRuns(), runsAfterFirstRetry) << "round " << round;
    }
    EXPECT_NE(readBytes(folder.file("run.log"))
                  .find("\r\n==>> Finished without an error in an earlier run, not run again: "
                        "tasks 0-4\r\n"),
              std::string::npos)
        << readBytes(folder.file("run.log"));
}

TEST_F(RetryTest, AFailedFromFileThatIsNoRunLogIsAUsageError) {
    writeBytes(folder.file("run.tools.log"), ">>> \"mplex\" -f 8\r\nmplex says\r\n");
    for (const std::string& notALog : {folder.file("p.mvk"), folder.file("run.tools.log")}) {
        EXPECT_EQ(runBatch(logOption("new.log") + " --failed-from " + shellQuoted(notALog)).status,
                  2);
        EXPECT_EQ(errors(), "marovink-batch: --failed-from " + notALog + " is not a run log\n");
    }
    EXPECT_EQ(toolRuns(), 0);
}

TEST_F(RetryTest, NoLogMayBeAFileOfTheProject) {
    const Ttask& task = *tasks.taskAt(2);
    const std::string source = readBytes(task.origVobFilePath);
    std::filesystem::create_symlink(task.origVobFilePath, folder.file("link.log"));
    std::filesystem::create_hard_link(task.origVobFilePath, folder.file("hard.log"));
    // A run log, in the place of a stream that a run would write.
    writeBytes(task.m2vFilePath, std::string(66, '_') + "\r\n");
    std::filesystem::create_directories(task.dvdFolderPath + "/VIDEO_TS");
    writeBytes(task.dvdFolderPath + "/VIDEO_TS/VTS_01_1.VOB", "dvd");
    std::filesystem::create_hard_link(task.dvdFolderPath + "/VIDEO_TS/VTS_01_1.VOB",
                                      folder.file("dvd.log"));
    // A task keeping subtitles writes its title run's control file too.
    taskChoices::setKeepEverySubtitleStream(*tasks.taskAt(2), true);
    projectFile::save(folder.file("p.mvk"), tasks);
    struct Case {
        std::string options;
        std::string message;
    };
    const std::string clashEnd = "; it must be a file of its own\n";
    for (const Case& each : std::vector<Case>{
             {"--log " + shellQuoted(task.origVobFilePath),
              "--log " + task.origVobFilePath + " is the source VOB of task 2"},
             {logOption("link.log"),
              "--log " + folder.file("link.log") + " is the source VOB of task 2"},
             {logOption("hard.log"),
              "--log " + folder.file("hard.log") + " is the source VOB of task 2"},
             {"--log " + shellQuoted(task.m2vFilePath),
              "--log " + task.m2vFilePath + " is the video stream of task 2"},
             {"--log " + shellQuoted(task.ac3FilePath),
              "--log " + task.ac3FilePath + " is the audio stream of task 2"},
             {"--log " + shellQuoted(task.vobFilePath + ".dvdauthor.xml"),
              "--log " + task.vobFilePath +
                  ".dvdauthor.xml is the title run's control file of task 2"},
             {"--log " + shellQuoted(task.dvdFolderPath + "/VIDEO_TS/run.log"),
              "--log " + task.dvdFolderPath +
                  "/VIDEO_TS/run.log lies in the authored DVD of task 2"},
             {logOption("dvd.log"),
              "--log " + folder.file("dvd.log") + " lies in the authored DVD of task 2"},
             {"--log " + shellQuoted(folder.path() + "/t3.log"),
              "the tools log " + folder.path() + "/t3.tools.log is the source VOB of task 3"},
             {logOption("run.log") + " --failed-from " + shellQuoted(task.m2vFilePath),
              "--failed-from " + task.m2vFilePath + " is the video stream of task 2"},
             {"--log " + shellQuoted(tools.settings().muxExePath),
              "--log " + tools.settings().muxExePath + " is the multiplexer"}}) {
        if (each.message.find("t3.tools.log") != std::string::npos) {
            std::filesystem::rename(tasks.taskAt(3)->origVobFilePath, folder.file("t3.tools.log"));
            tasks.taskAt(3)->origVobFilePath = folder.file("t3.tools.log");
            projectFile::save(folder.file("p.mvk"), tasks);
        }
        EXPECT_EQ(runBatch(each.options).status, 2) << each.options;
        EXPECT_EQ(errors(), "marovink-batch: " + each.message + clashEnd);
    }
    EXPECT_EQ(readBytes(task.origVobFilePath), source);
    EXPECT_EQ(readBytes(task.dvdFolderPath + "/VIDEO_TS/VTS_01_1.VOB"), "dvd");
    EXPECT_EQ(toolRuns(), 0);
}

TEST_F(RetryTest, FailuresNameTheirFileOrOption) {
    std::filesystem::create_directory(folder.file("settings folder"));
    struct Case {
        std::string arguments;  // before the project
        std::string message;
    };
    for (const Case& each : std::vector<Case>{
             {logOption("run.log") + " --failed-from " + shellQuoted(folder.file("none.log")),
              "marovink-batch: reading the earlier run log of --failed-from " +
                  folder.file("none.log") + ": Fichier introuvable\n"},
             {"--settings " + shellQuoted(folder.file("settings folder")),
              "marovink-batch: the settings file " + folder.file("settings folder") +
                  " is a folder, not a file\n"},
             {logOption("run.log") + " --tasks 3-1",
              "marovink-batch: --tasks: '3-1' runs "
              "backwards\n"},
             {logOption("run.log") + " --log x.log",
              "marovink-batch: --log is given more than "
              "once\n"}}) {
        EXPECT_EQ(runBatchProgram(each.arguments + " " + shellQuoted(folder.file("p.mvk")),
                                  folder.file("stderr.txt"))
                      .status,
                  2)
            << each.arguments;
        EXPECT_EQ(errors().substr(0, errors().find("Usage:")), each.message);
    }
    // Numbers past the end of any project are left out, however long.
    EXPECT_EQ(runBatch(logOption("run.log") + " --tasks 4,12345678901").status, 0) << errors();
    EXPECT_EQ(toolRuns(), 5);
}

TEST_F(RetryTest, SummariesSayHowTheRunEnded) {
    writeBytes(tools.audioGatePath(), "");
    const BatchOutcome aborted = runBatch(logOption("run.log") + " --tasks 0-1", [this](pid_t pid) {
        waitForFile(tools.callsPath());
        kill(pid, SIGINT);
        std::this_thread::sleep_for(200ms);
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(aborted.status, 3);
    EXPECT_NE(aborted.output.find("Run aborted: 1 task(s) started, 0 with errors, 1 not run."),
              std::string::npos)
        << aborted.output;
    EXPECT_EQ(aborted.output.find("All tasks finished"), std::string::npos);

    writeBytes(tools.audioGatePath(), "");
    std::filesystem::remove(tools.callsPath());
    const BatchOutcome ended = runBatch(logOption("run.log") + " --tasks 2-3", [this](pid_t) {
        waitForFile(tools.callsPath());
        std::filesystem::remove(folder.file("run.log"));
        std::filesystem::create_directory(folder.file("run.log"));
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(ended.status, 1);
    EXPECT_NE(ended.output.find("Run ended early: 1 task(s) started, 0 with errors, 1 not run."),
              std::string::npos)
        << ended.output;
    EXPECT_EQ(ended.output.find("All tasks finished"), std::string::npos);
}

TEST_F(RetryTest, ControlBytesOfTheProjectReachTheTerminalEscaped) {
    writeBytes(folder.file("p.mvk"), std::string("\x1b]0;owned\x07\0tail\r\n", 16));
    EXPECT_EQ(runBatch(logOption("run.log")).status, 2);
    EXPECT_NE(errors().find("'\\x1b]0;owned\\x07\\x00tail' n'est pas une valeur enti"),
              std::string::npos)
        << errors();
    EXPECT_EQ(errors().find('\x1b'), std::string::npos);
}

// Killed outright while two tasks ran at once, with both running, with one ended, or just after
// a stage deleted its source: the retry from its log runs exactly what had not ended, and no part
// of a tool's output outlives the retry.
TEST_F(RetryTest, AKilledSideBySideRunIsRetriedFromItsRecord) {
    struct Case {
        const char* tasks;
        std::vector<std::string> gates;  // tools writing these wait while OUTPUT.gate exists
        int killAtToolRuns;
        std::string retriedCalls;  // the retry's tool runs name these sources only
        std::size_t retriedRuns;
    };
    const auto audio = [this](int task) { return tasks.taskAt(task)->ac3FilePath; };
    for (const Case& each :
         std::vector<Case>{{"0-1", {audio(0), audio(1)}, 2, "t0t1", 10},
                           {"2-3", {audio(3)}, 6, "t3", 5},
                           // The retry goes on from the remultiplexing: t4.VOB is gone.
                           {"4", {tasks.taskAt(4)->vobFilePath}, 3, "t4", 3}}) {
        for (const std::string& gated : each.gates) {
            writeBytes(gated + ".gate", "");
        }
        std::filesystem::remove(tools.callsPath());
        const std::string options =
            logOption("run.log") + " --jobs 2 --tasks " + std::string(each.tasks);
        runBatch(options, [&](pid_t pid) {
            for (int i = 0; i < 500 && toolRuns() < each.killAtToolRuns; ++i) {
                std::this_thread::sleep_for(10ms);
            }
            // The ended task's block reaches the log just after its last tool.
            std::this_thread::sleep_for(300ms);
            kill(pid, SIGKILL);
            for (const std::string& gated : each.gates) {
                std::filesystem::remove(gated + ".gate");
            }
            // The killed run's tools go on alone: the retry starts once they have written, so
            // that none of them overwrites what the retry's own tools make.
            for (const std::string& gated : each.gates) {
                waitForFile(gated);
            }
            std::this_thread::sleep_for(200ms);
        });
        std::filesystem::remove(tools.callsPath());
        const BatchOutcome retry =
            runBatch(options + " --failed-from " + shellQuoted(folder.file("run.log")));
        EXPECT_EQ(retry.status, 0) << each.tasks << ": " << errors();
        EXPECT_EQ(
            retry.output.find("Task 4 goes on where its earlier run stopped") != std::string::npos,
            each.tasks == std::string("4"))
            << retry.output;
        std::string named;
        const std::vector<std::string> calls = isExistingFile(tools.callsPath())
                                                   ? readLines(tools.callsPath())
                                                   : std::vector<std::string>();
        for (const char* source : {"t0", "t1", "t2", "t3", "t4"}) {
            const bool runs = std::any_of(calls.begin(), calls.end(), [&](const std::string& call) {
                return call.find(std::string("/") + source + ".") != std::string::npos;
            });
            named += runs ? source : "";
        }
        EXPECT_EQ(named, each.retriedCalls) << each.tasks;
        EXPECT_EQ(calls.size(), each.retriedRuns) << each.tasks;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            EXPECT_NE(entry.path().extension(), ".part") << entry.path();
        }
        EXPECT_FALSE(isExistingFile(folder.file("run.log.journal"))) << each.tasks;
    }
}
