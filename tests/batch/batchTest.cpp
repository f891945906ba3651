#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <thread>

#include "batch/batchOptions.h"
#include "storage/projectFile.h"
#include "storage/textFile.h"
#include "support/fakeDvdTools.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

using namespace std::chrono_literals;

struct Outcome {
    int status = -1;
    std::string output;
};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

class BatchTest : public ::testing::Test {
protected:
    BatchTest() {
        const SettingsValues paths = tools.settings();
        writeBytes(folder.file("marovink.ini"),
                   "[software path]\r\ndemuxing=" + paths.demuxExePath + "\r\nmuxing=" +
                       paths.muxExePath + "\r\nauthoring=" + paths.authorExePath + "\r\n");
    }

    TaskRef addTask(const std::string& name) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = folder.file(name + ".VOB");
        task->m2vFilePath = folder.file(name + ".m2v");
        task->ac3FilePath = folder.file(name + ".ac3");
        task->vobFilePath = folder.file("remuxed" + name + ".VOB");
        task->dvdFolderPath = folder.file(name + " dvd");
        writeBytes(task->origVobFilePath, std::string(100 * 1024, 'v'));
        tasks.add(task);
        return task;
    }

    std::string command(const std::string& arguments) const {
        return "exec " + quoted(MAROVINK_BATCH_PATH) + " " + arguments + " 2>" +
               quoted(folder.file("stderr.txt"));
    }

    std::string projectArguments() {
        projectFile::save(folder.file("p.mvk"), tasks);
        return "--settings " + quoted(folder.file("marovink.ini")) + " --log " +
               quoted(folder.file("run.log")) + " " + quoted(folder.file("p.mvk"));
    }

    // Runs the batch runner; `whileRunning` gets its process id once it has started.
    Outcome runBatch(const std::string& arguments,
                     const std::function<void(pid_t)>& whileRunning = nullptr) const {
        Outcome outcome;
        std::FILE* pipe = popen(("echo $$; " + command(arguments)).c_str(), "r");
        char buffer[4096];
        std::string all;
        ssize_t count = 0;
        pid_t pid = 0;
        while ((count = read(fileno(pipe), buffer, sizeof buffer)) > 0) {
            all.append(buffer, static_cast<std::size_t>(count));
            if (pid == 0 && all.find('\n') != std::string::npos) {
                pid = std::stoi(all.substr(0, all.find('\n')));
                if (whileRunning) {
                    whileRunning(pid);
                }
            }
        }
        const int status = pclose(pipe);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.output = all.substr(all.find('\n') + 1);
        return outcome;
    }

    std::vector<std::string> logLines() const {
        std::vector<std::string> lines;
        TextLineReader reader(folder.file("run.log"));
        for (std::string line; reader.readLine(line);) {
            // Time stamps and durations vary from run to run.
            line = std::regex_replace(line, std::regex("^    .* : "), "    STAMP : ");
            line = std::regex_replace(line, std::regex("after [0-9]+s $"), "after Ns ");
            lines.push_back(line);
        }
        return lines;
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

    const Outcome outcome = runBatch(projectArguments());
    EXPECT_EQ(outcome.status, 1) << readBytes(folder.file("stderr.txt"));
    EXPECT_NE(outcome.output.find("Task 0 started\n  Audio stream DEMUX in progress...\n"),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("All tasks finished: 2 task(s), 1 with errors."),
              std::string::npos);

    const std::string bar = "    ______________________";
    const SettingsValues paths = tools.settings();
    const auto q = [](const std::string& path) { return "\"" + path + "\""; };
    std::vector<std::string> expected{
        "", "", "", std::string(90, '_'), "    New Task started, task N\xc2\xb0 0", ""};
    const std::vector<std::pair<std::string, std::string>> steps{
        {"Audio stream DEMUX in progress...", q(paths.demuxExePath) + " " +
                                                  q(full->origVobFilePath) + " 0xbd " +
                                                  q(full->ac3FilePath) + " 0x80"},
        {"Video stream DEMUX in progress...",
         q(paths.demuxExePath) + " " + q(full->origVobFilePath) + " 0xe0 " + q(full->m2vFilePath)},
        {"REMUX in progress...", q(paths.muxExePath) + " -f 8 -V -o " + q(full->vobFilePath) + " " +
                                     q(full->m2vFilePath) + " " + q(full->ac3FilePath)},
        {"TITLE authoring (VTS_01_n.IFO) in progress...",
         q(paths.authorExePath) + " -o " + q(full->dvdFolderPath) + " -t -c 00:00:00,00:05:00 -f " +
             q(full->vobFilePath)},
        {"DVD FOLDER authoring (VIDEO_TS.IFO) in progress...",
         q(paths.authorExePath) + " -o " + q(full->dvdFolderPath) + " -T"},
    };
    const std::vector<std::vector<std::string>> deletionsAfterStep{
        {},
        {full->origVobFilePath},
        {full->m2vFilePath, full->ac3FilePath},
        {},
        {full->vobFilePath}};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        expected.insert(expected.end(), {"    STAMP : " + steps[i].first, "    " + steps[i].second,
                                         "    Done after Ns ", bar});
        for (const std::string& deleted : deletionsAfterStep[i]) {
            expected.insert(expected.end(), {"    " + deleted + " deleted after Ns ", bar});
        }
    }
    expected.insert(expected.end(),
                    {"", "", "", std::string(90, '_'), "    New Task started, task N\xc2\xb0 1", "",
                     "ERROR !!!! ==>>> " + missing->origVobFilePath + " file doesn't exists !",
                     "This task will abort.", "", "", "", "", "", "", std::string(66, '_'),
                     "      ---   All Tasks finished !!!   ---"});
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(readBytes(folder.file("run.log")).find("\n\n"), std::string::npos)
        << "every line ends with CR LF";
    // The tools' own output is kept beside the run log, after each command line.
    const std::vector<std::string> toolLines = readLines(folder.file("run.tools.log"));
    EXPECT_EQ(std::count_if(toolLines.begin(), toolLines.end(),
                            [](const std::string& line) { return line.rfind(">>> ", 0) == 0; }),
              5);
}

TEST_F(BatchTest, CleanRunExitsWithZeroAndUsesTheSettingsBesideTheProgram) {
    TaskRef task = addTask("ok");
    task->doRemux = task->doAuthor = false;
    EXPECT_EQ(runBatch(projectArguments()).status, 0) << readBytes(folder.file("stderr.txt"));
    EXPECT_TRUE(isExistingFile(task->m2vFilePath));

    // Without --settings the tools beside marovink-batch are looked for, and reported missing;
    // the run goes on and the task's tool then fails to start.
    const Outcome outcome =
        runBatch("--log " + quoted(folder.file("run.log")) + " " + quoted(folder.file("p.mvk")));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(readBytes(folder.file("stderr.txt"))
                  .find(" program file is missing,\ncheck the path and re-enter it"),
              std::string::npos);
}

TEST_F(BatchTest, UsageAndUnreadableFilesExitWithTwo) {
    const Outcome help = runBatch("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("Usage: marovink-batch", 0), 0u);
    EXPECT_EQ(runBatch("--version").output, "marovink-batch 1.3.3\n");

    EXPECT_EQ(runBatch("").status, 2);
    EXPECT_EQ(runBatch(quoted(folder.file("missing.mvk"))).status, 2);
    writeBytes(folder.file("bad.mvk"), "many\r\n");
    EXPECT_EQ(
        runBatch("--log " + quoted(folder.file("run.log")) + " " + quoted(folder.file("bad.mvk")))
            .status,
        2);
    EXPECT_NE(readBytes(folder.file("stderr.txt")).find("'many' n'est pas une valeur enti"),
              std::string::npos);
    addTask("x");
    EXPECT_EQ(
        runBatch("--settings " + quoted(folder.file("marovink.ini")) + " --log " +
                 quoted(folder.file("no folder/run.log")) + " " + quoted(folder.file("p.mvk")))
            .status,
        2);
}

TEST_F(BatchTest, FirstInterruptAbortsAfterTheRunningTool) {
    writeBytes(tools.audioGatePath(), "");
    addTask("one");
    addTask("two");
    const Outcome outcome = runBatch(projectArguments(), [this](pid_t pid) {
        for (int i = 0; i < 500 && !isExistingFile(tools.callsPath()); ++i) {
            std::this_thread::sleep_for(10ms);
        }
        kill(pid, SIGINT);
        std::this_thread::sleep_for(200ms);
        std::filesystem::remove(tools.audioGatePath());
    });
    EXPECT_EQ(outcome.status, 0);
    const std::vector<std::string> lines = logLines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "==>> Tasks process aborted by user !!!!!!!!!!!"),
        lines.end());
    EXPECT_EQ(lines.back(), "      ---   All Tasks finished !!!   ---");
    // The audio tool ran to its end; nothing ran after it.
    EXPECT_EQ(readLines(tools.callsPath()).size(), 1u);
    EXPECT_TRUE(isExistingFile(folder.file("one.ac3")));
}
