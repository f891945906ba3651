#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/platform.h"
#include "platform/programLocation.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

class Win32BatchTest : public ::testing::Test {
protected:
    Win32BatchTest() {
        demux = installFakeTool(folderPath, "bbdmux");
        mux = installFakeTool(folderPath, "mplex");
        author = installFakeTool(folderPath, "dvdauthor");
        writeFakeToolSizes(folderPath, 7 * 1024, 92 * 1024, 100 * 1024, 100 * 1024);
        writeBytes(file("marovink.ini"), "[software path]\r\ndemuxing=" + demux + "\r\nmuxing=" +
                                             mux + "\r\nauthoring=" + author + "\r\n");
    }

    std::string file(const std::string& name) const { return folderPath + "\\" + name; }

    TaskRef addTask(const std::string& name) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = file(name + ".VOB");
        task->m2vFilePath = file(name + ".m2v");
        task->ac3FilePath = file(name + ".ac3");
        task->vobFilePath = file("remuxed " + name + ".VOB");
        task->dvdFolderPath = file(name + " dvd");
        writeBytes(task->origVobFilePath, std::string(100 * 1024, 'v'));
        tasks.add(task);
        return task;
    }

    // Runs marovink-batch.exe on the saved task list; its exit status. whileRunning gets the
    // process id once it has started.
    DWORD runBatch(const std::function<void(DWORD)>& whileRunning = nullptr) {
        projectFile::save(file("p.mvk"), tasks);
#ifdef MAROVINK_BATCH_PATH
        const std::string batch = MAROVINK_BATCH_PATH;
#else
        const std::string batch = programLocation::folderOf(platform::runningProgramPath()) +
                                  "..\\bin\\marovink-batch.exe";
#endif
        std::string commandLine = inQuotes(batch) + " --settings " +
                                  inQuotes(file("marovink.ini")) + " --log " +
                                  inQuotes(file("run.log")) + " " + inQuotes(file("p.mvk"));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        // A process group of its own, so that a console break can be sent to it alone.
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                            CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process)) {
            ADD_FAILURE() << "cannot start " << commandLine;
            return 255;
        }
        if (whileRunning) {
            whileRunning(process.dwProcessId);
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD status = 255;
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return status;
    }

    std::vector<std::string> logLines() const {
        return expectedLog::maskedLogLines(file("run.log"));
    }

    TempFolder folder;
    std::string folderPath = std::filesystem::path(folder.path()).make_preferred().string();
    std::string demux, mux, author;
    TAllTask tasks;
};

}  // namespace

TEST_F(Win32BatchTest, FullRunWritesTheExactLog) {
    TaskRef full = addTask("VTS_01_1");
    full->chapterList = "00:00:00,00:05:00";
    full->deleteOrigVob = full->deleteStreams = full->deleteVob = true;
    TaskRef missing = addTask("gone");
    missing->doRemux = missing->doAuthor = false;
    std::filesystem::remove(missing->origVobFilePath);

    EXPECT_EQ(runBatch(), 1u);

    std::vector<std::string> expected =
        expectedLog::fullTask(*full, SettingsValues{demux, mux, author, "PAL"}, 0);
    const std::vector<std::string> missingLines = expectedLog::missingSource(*missing, 1);
    expected.insert(expected.end(), missingLines.begin(), missingLines.end());
    const std::vector<std::string> endLines = expectedLog::endOfRun();
    expected.insert(expected.end(), endLines.begin(), endLines.end());
    EXPECT_EQ(logLines(), expected);
    EXPECT_EQ(readBytes(file("run.log")).find("\n\n"), std::string::npos)
        << "every line ends with CR LF";

    EXPECT_EQ(readLines(file("calls.txt")).size(), 5u);
    EXPECT_TRUE(std::filesystem::exists(full->dvdFolderPath + "\\VIDEO_TS\\VTS_01_1.VOB"));
    EXPECT_TRUE(std::filesystem::exists(full->dvdFolderPath + "\\VIDEO_TS\\VIDEO_TS.IFO"));
    EXPECT_FALSE(std::filesystem::exists(full->vobFilePath));
}

TEST_F(Win32BatchTest, ConsoleBreakAbortsAfterTheRunningTool) {
    writeBytes(file("audio.gate"), "");
    addTask("one");
    addTask("two");
    bool sent = false;
    const DWORD status = runBatch([&](DWORD processId) {
        for (int i = 0; i < 1000 && !std::filesystem::exists(file("calls.txt")); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        sent = GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, processId) != FALSE;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::filesystem::remove(file("audio.gate"));
    });
    if (!sent) {
        GTEST_SKIP() << "no console here to send a break through";
    }
    EXPECT_EQ(status, 3u);  // aborted
    const std::vector<std::string> lines = logLines();
    EXPECT_NE(
        std::find(lines.begin(), lines.end(), "==>> Tasks process aborted by user !!!!!!!!!!!"),
        lines.end());
    EXPECT_EQ(lines.back(), "      ---   All Tasks finished !!!   ---");
    // The audio tool ran to its end; nothing ran after it.
    EXPECT_EQ(readLines(file("calls.txt")).size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(file("one.ac3")));
}
