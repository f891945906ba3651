#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <thread>

#include "batch/batchOptions.h"
#include "batch/chosenTasks.h"
#include "files/textFile.h"
#include "storage/projectFile.h"
#include "support/batchProcess.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

using namespace std::chrono_literals;

class BatchTest : public ::testing::Test {
protected:
    BatchTest() {
        const SettingsValues paths = tools.settings();
        writeBytes(folder.file("marovink.ini"),
                   "[software path]\r\ndemuxing=" + paths.demuxExePath + "\r\nmuxing=" +
                       paths.muxExePath + "\r\nauthoring=" + paths.authorExePath + "\r\n");
    }

    TaskRef addTask(const std::string& name) {
        TaskRef task = taskInFolder(folder.path(), name);
        tasks.add(task);
        return task;
    }

    std::string projectArguments() {
        projectFile::save(folder.file("p.mvk"), tasks);
        return "--settings " + shellQuoted(folder.file("marovink.ini")) + " --log " +
               shellQuoted(folder.file("run.log")) + " " + shellQuoted(folder.file("p.mvk"));
    }

    BatchOutcome runBatch(const std::string& arguments,
                          const std::function<void(pid_t)>& whileRunning = nullptr) const {
        return runBatchProgram(arguments, folder.file("stderr.txt"), whileRunning);
    }

    std::vector<std::string> logLines() const {
        return expectedLog::maskedLogLines(folder.file("run.log"));
    }

    // Waits until `count` tools have started, all held at the audio gate.
    void waitForToolsAtTheGate(std::size_t count) const {
        for (int i = 0; i < 500 && (!isExistingFile(tools.callsPath()) ||
                                    readLines(tools.callsPath()).size() < count);
             ++i) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(readLines(tools.callsPath()).size(), count) << "not started side by side";
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    TAllTask tasks;
};

}  // namespace

TEST_F(BatchTest, FullRunWritesTheExactLogAndReportsFailedTasks) {
    TaskRef full = addTask("VTS_01_1");
    full->chapterList = "00:00:00,00:05:00";
    full->deleteOrigVob = full->deleteStreams = full->deleteVob = true;
    TaskRef missing = addTask("gone");
    missing->doRemux = missing->doAuthor = false;
    std::filesystem::remove(missing->origVobFilePath);

    const BatchOutcome outcome = runBatch(projectArguments());
    EXPECT_EQ(outcome.status, 1) << readBytes(folder.file("stderr.txt"));
    EXPECT_NE(outcome.output.find("Task 0 started\n  Audio stream DEMUX in progress...\n"),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("All tasks finished: 2 task(s), 1 with errors."),
              std::string::npos);

    std::vector<std::string> expected = expectedLog::fullTask(*full, tools.settings(), 0);
    const std::vector<std::string> missingLines = expectedLog::missingSource(*missing, 1);
    expected.insert(expected.end(), missingLines.begin(), missingLines.end());
    const std::vector<std::string> endLines = expectedLog::endOfRun();
    expected.insert(expected.end(), endLines.begin(), endLines.end());
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(readBytes(folder.file("run.log")).find("\n\n"), std::string::npos)
        << "every line ends with CR LF";
    // The tools' own output is kept beside the run log, after each command line.
    const std::vector<std::string> toolLines = readLines(folder.file("run.tools.log"));
    EXPECT_EQ(std::count_if(toolLines.begin(), toolLines.end(),
                            [](const std::string& line) { return line.rfind(">>> ", 0) == 0; }),
              5);
}

TEST_F(BatchTest, WithTwoJobsEachTaskIsLoggedWholeAndAnAbortCutsShortBothRunningTasks) {
    for (const char* name : {"one", "two", "three"}) {
        TaskRef task = addTask(name);
        task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
    }
    const std::vector<Ttask> records = tasks.snapshot();
    const std::string arguments = "--jobs 2 " + projectArguments();
    writeBytes(tools.audioGatePath(), "");
    BatchOutcome outcome = runBatch(arguments, [this](pid_t) {
        waitForToolsAtTheGate(2);
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(outcome.status, 0) << readBytes(folder.file("stderr.txt"));

    // Each task's block as a run of that task alone writes it, in the order the tasks ended.
    std::vector<std::string> lines = logLines();
    std::vector<std::string> expected = expectedLog::blocksInLoggedOrder(lines, 3, [&](int task) {
        return expectedLog::fullTask(records[static_cast<std::size_t>(task)], tools.settings(),
                                     task);
    });
    const std::vector<std::string> endLines = expectedLog::endOfRun();
    expected.insert(expected.end(), endLines.begin(), endLines.end());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), endLines.back()), 1);

    // Aborted while two tasks run: both are cut short, and a retry takes them with the third.
    for (const Ttask& task : records) {
        std::filesystem::remove_all(task.dvdFolderPath);
        writeBytes(task.origVobFilePath, std::string(100 * 1024, '\0'));
    }
    std::filesystem::remove(tools.callsPath());
    writeBytes(tools.audioGatePath(), "");
    outcome = runBatch(arguments, [this](pid_t pid) {
        waitForToolsAtTheGate(2);
        kill(pid, SIGINT);
        std::this_thread::sleep_for(200ms);
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(outcome.status, 3) << readBytes(folder.file("stderr.txt"));
    EXPECT_EQ(readEarlierRun(folder.file("run.log"), 3).finished, std::set<int>());
    lines = logLines();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(), "==>> Tasks process aborted by user !!!!!!!!!!!"), 3)
        << "one in each running task's block, one after the last";
    EXPECT_EQ(lines.back(), endLines.back());
    EXPECT_EQ(readLines(tools.callsPath()).size(), 2u);
}

TEST_F(BatchTest, CleanRunExitsWithZeroAndUsesTheSettingsBesideTheProgram) {
    TaskRef task = addTask("ok");
    task->doRemux = task->doAuthor = false;
    EXPECT_EQ(runBatch(projectArguments()).status, 0) << readBytes(folder.file("stderr.txt"));
    EXPECT_TRUE(isExistingFile(task->m2vFilePath));

    // Without --settings, a copy of the program alone in a folder looks for marovink.ini and the
    // tools beside itself, reports the first missing tool, and runs on: the tool then fails to
    // start.
    TempFolder alone;
    std::filesystem::copy_file(MAROVINK_BATCH_PATH, alone.file("marovink-batch"));
    const BatchOutcome outcome = runBatchProgram(
        "--log " + shellQuoted(folder.file("run.log")) + " " + shellQuoted(folder.file("p.mvk")),
        folder.file("stderr.txt"), nullptr, alone.file("marovink-batch"));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(readBytes(folder.file("stderr.txt"))
                  .find(" program file is missing,\ncheck the path and re-enter it"),
              std::string::npos);
}

TEST_F(BatchTest, UsageAndUnreadableFilesExitWithTwo) {
    const BatchOutcome help = runBatch("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("Usage: marovink-batch", 0), 0u);
    EXPECT_EQ(runBatch("--version").output, "marovink-batch 1.3.3\n");

    EXPECT_NE(help.output.find("3 when the run was aborted"), std::string::npos);
    EXPECT_NE(help.output.find("--default-settings"), std::string::npos);
    EXPECT_NE(help.output.find("--jobs N"), std::string::npos);

    EXPECT_EQ(runBatch("").status, 2);
    // Each failure names what was being done and the file.
    EXPECT_EQ(runBatch(shellQuoted(folder.file("missing.mvk"))).status, 2);
    EXPECT_NE(
        readBytes(folder.file("stderr.txt"))
            .find("reading the project " + folder.file("missing.mvk") + ": Fichier introuvable"),
        std::string::npos)
        << readBytes(folder.file("stderr.txt"));
    // A settings file named and missing is not taken for the defaults.
    EXPECT_EQ(runBatch("--settings=" + shellQuoted(folder.file("none.ini")) + " " +
                       shellQuoted(folder.file("missing.mvk")))
                  .status,
              2);
    EXPECT_NE(readBytes(folder.file("stderr.txt")).find(folder.file("none.ini")),
              std::string::npos);
    writeBytes(folder.file("bad.mvk"), "many\r\n");
    EXPECT_EQ(runBatch("--log " + shellQuoted(folder.file("run.log")) + " " +
                       shellQuoted(folder.file("bad.mvk")))
                  .status,
              2);
    EXPECT_NE(readBytes(folder.file("stderr.txt")).find("'many' n'est pas une valeur enti"),
              std::string::npos);
    addTask("x");
    projectFile::save(folder.file("p.mvk"), tasks);
    EXPECT_EQ(runBatch("--settings " + shellQuoted(folder.file("marovink.ini")) + " --log " +
                       shellQuoted(folder.file("no folder/run.log")) + " " +
                       shellQuoted(folder.file("p.mvk")))
                  .status,
              2);
    EXPECT_NE(
        readBytes(folder.file("stderr.txt"))
            .find("writing the log " + folder.file("no folder/run.log") + ": Fichier introuvable"),
        std::string::npos)
        << readBytes(folder.file("stderr.txt"));
}

TEST_F(BatchTest, DefaultSettingsReadNoFileAndOptionsTakeAnEqualsSign) {
    TaskRef task = addTask("d");
    task->doRemux = task->doAuthor = false;
    projectFile::save(folder.file("p.mvk"), tasks);
    // Beside a copy of the program, a settings file that names the fake tools goes unread: the
    // defaults name tools beside the copy, where there are none.
    TempFolder alone;
    std::filesystem::copy_file(MAROVINK_BATCH_PATH, alone.file("marovink-batch"));
    std::filesystem::copy_file(folder.file("marovink.ini"), alone.file("marovink.ini"));
    const BatchOutcome outcome =
        runBatchProgram("--default-settings --log=" + shellQuoted(folder.file("run.log")) + " " +
                            shellQuoted(folder.file("p.mvk")),
                        folder.file("stderr.txt"), nullptr, alone.file("marovink-batch"));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(readBytes(folder.file("stderr.txt"))
                  .find(alone.file("bbdmux") + " program file is missing"),
              std::string::npos)
        << readBytes(folder.file("stderr.txt"));
    EXPECT_FALSE(isExistingFile(tools.callsPath()));
}

TEST_F(BatchTest, FirstInterruptAbortsAfterTheRunningTool) {
    addTask("one");
    addTask("two");
    const std::string arguments = projectArguments();
    // A closed terminal hangs the program up: an abort as for Ctrl-C and SIGTERM.
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        std::filesystem::remove(tools.callsPath());
        writeBytes(tools.audioGatePath(), "");
        const BatchOutcome outcome = runBatch(arguments, [&](pid_t pid) {
            for (int i = 0; i < 500 && !isExistingFile(tools.callsPath()); ++i) {
                std::this_thread::sleep_for(10ms);
            }
            kill(pid, signalNumber);
            std::this_thread::sleep_for(200ms);
            std::filesystem::remove(tools.audioGatePath());
        });
        // An aborted run is no success: its own status, and the tasks it did not run are
        // counted.
        EXPECT_EQ(outcome.status, 3);
        EXPECT_NE(
            readBytes(folder.file("stderr.txt")).find("The run was aborted: 1 task(s) not run."),
            std::string::npos)
            << readBytes(folder.file("stderr.txt"));
        const std::vector<std::string> lines = logLines();
        EXPECT_NE(
            std::find(lines.begin(), lines.end(), "==>> Tasks process aborted by user !!!!!!!!!!!"),
            lines.end());
        EXPECT_EQ(lines.back(), "      ---   All Tasks finished !!!   ---");
        // The audio tool ran to its end; nothing ran after it.
        EXPECT_EQ(readLines(tools.callsPath()).size(), 1u);
        EXPECT_TRUE(isExistingFile(folder.file("one.ac3")));
    }
}

TEST_F(BatchTest, SecondInterruptEndsTheRunningToolTooAsAnAbortedRun) {
    addTask("one");
    const std::string arguments = projectArguments();
    for (const auto& [first, second] :
         {std::pair{SIGINT, SIGINT}, std::pair{SIGTERM, SIGHUP}, std::pair{SIGHUP, SIGHUP}}) {
        SCOPED_TRACE(std::to_string(first) + " then " + std::to_string(second));
        std::filesystem::remove(tools.callsPath());
        std::filesystem::remove(folder.file("one.ac3"));
        writeBytes(tools.audioGatePath(), "");
        const BatchOutcome outcome = runBatch(arguments, [&](pid_t pid) {
            for (int i = 0; i < 500 && !isExistingFile(tools.callsPath()); ++i) {
                std::this_thread::sleep_for(10ms);
            }
            kill(pid, first);
            std::this_thread::sleep_for(200ms);
            kill(pid, second);
        });
        // What the program said, a sanitizer's report included, when it ended otherwise.
        EXPECT_EQ(outcome.status, 3) << readBytes(folder.file("stderr.txt"));
        // A tool still running would write its output once the gate opens.
        std::filesystem::remove(tools.audioGatePath());
        std::this_thread::sleep_for(500ms);
        EXPECT_FALSE(std::filesystem::exists(folder.file("one.ac3")));
        EXPECT_NE(readBytes(folder.file("stderr.txt")).find("the running tool with it"),
                  std::string::npos);
        const std::vector<std::string> lines = logLines();
        EXPECT_NE(
            std::find(lines.begin(), lines.end(), "==>> Tasks process aborted by user !!!!!!!!!!!"),
            lines.end());
    }
}

TEST_F(BatchTest, ALogThatFailsDuringTheRunIsNamed) {
    writeBytes(tools.audioGatePath(), "");
    addTask("one");
    const BatchOutcome outcome = runBatch(projectArguments(), [this](pid_t) {
        for (int i = 0; i < 500 && !isExistingFile(tools.callsPath()); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        std::filesystem::remove(folder.file("run.log"));
        std::filesystem::create_directory(folder.file("run.log"));
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(readBytes(folder.file("stderr.txt"))
                  .find("the run ended early, writing the log " + folder.file("run.log") + ": "),
              std::string::npos)
        << readBytes(folder.file("stderr.txt"));
}

TEST_F(BatchTest, OneRunPerLogAndNoLogOverAnotherFile) {
    writeBytes(tools.audioGatePath(), "");
    addTask("one");
    const std::string arguments = projectArguments();
    BatchOutcome second;
    std::string logDuringSecond;
    std::string logBeforeSecond;
    const BatchOutcome first = runBatch(arguments, [&](pid_t) {
        for (int i = 0; i < 500 && !isExistingFile(tools.callsPath()); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        logBeforeSecond = readBytes(folder.file("run.log"));
        const auto start = std::chrono::steady_clock::now();
        second = runBatchProgram(arguments, folder.file("second.txt"));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);  // at once, not after the run
        logDuringSecond = readBytes(folder.file("run.log"));
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(second.status, 2);
    EXPECT_EQ(readBytes(folder.file("second.txt")),
              "marovink-batch: Another run is using the run log; this run was not started: " +
                  folder.file("run.log") + "\n");
    EXPECT_FALSE(logBeforeSecond.empty());
    EXPECT_EQ(logDuringSecond, logBeforeSecond);
    EXPECT_EQ(logLines().back(), "      ---   All Tasks finished !!!   ---");

    // A log that is the project or the settings, by another name, is refused before any run.
    const std::string project = readBytes(folder.file("p.mvk"));
    const std::string settings = readBytes(folder.file("marovink.ini"));
    std::filesystem::create_symlink(folder.file("p.mvk"), folder.file("link.mvk"));
    for (const std::string& log : {folder.file("link.mvk"), folder.path() + "/./marovink.ini"}) {
        SCOPED_TRACE(log);
        EXPECT_EQ(runBatch("--settings " + shellQuoted(folder.file("marovink.ini")) + " --log " +
                           shellQuoted(log) + " " + shellQuoted(folder.file("p.mvk")))
                      .status,
                  2);
        EXPECT_NE(readBytes(folder.file("stderr.txt")).find("; it must be a file of its own"),
                  std::string::npos);
        EXPECT_EQ(readBytes(folder.file("p.mvk")), project);
        EXPECT_EQ(readBytes(folder.file("marovink.ini")), settings);
    }

    // The tools log is never written through a link planted in its place.
    writeBytes(folder.file("victim.txt"), "kept");
    std::filesystem::remove(folder.file("run.tools.log"));
    std::filesystem::create_symlink(folder.file("victim.txt"), folder.file("run.tools.log"));
    EXPECT_EQ(runBatch(arguments).status, 2);
    EXPECT_EQ(readBytes(folder.file("victim.txt")), "kept");
}
