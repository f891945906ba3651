#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "batch/batchRun.h"
#include "platform/platform.h"
#include "storage/projectFile.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

TEST(ProgressLineTest, ShowsTheTaskOutOfTheTotalAndTheTimeLeftOnATerminal) {
    TempFolder folder;
    FakeDvdTools tools(folder.path());
    const SettingsValues paths = tools.settings();
    writeBytes(folder.file("tools.ini"), "[software path]\r\ndemuxing=" + paths.demuxExePath +
                                             "\r\nmuxing=" + paths.muxExePath +
                                             "\r\nauthoring=" + paths.authorExePath + "\r\n");
    TAllTask tasks;
    for (const char* name : {"a", "b", "c"}) {
        TaskRef task = taskInFolder(folder.path(), name);
        task->doAuthor = false;
        tasks.add(task);
    }
    projectFile::save(folder.file("p.mvk"), tasks);
    BatchOptions options;
    options.settingsPath = folder.file("tools.ini");
    options.logPath = folder.file("run.log");
    options.projectPath = folder.file("p.mvk");
    options.taskList = "1-2";

    std::ostringstream out;
    std::ostringstream err;
    ConsoleReport console(out, err, true);
    const std::unique_ptr<platform::Platform> system = platform::createPlatform();
    BatchRun run(*system, folder.file("marovink-batch"), RegionalFormats{}, console);
    ASSERT_EQ(run.run(options), BatchRun::noTaskFailed) << err.str();

    const std::string text = out.str();
    // The first step of the run shows no estimate yet; after the first stage, every step does.
    const std::string first = "\r    0 % \xe2\x80\x94 task 1 of 2\n";
    EXPECT_NE(text.find(first), std::string::npos) << text;
    EXPECT_GT(text.find("about"), text.find("REMUX in progress")) << text;
    // A run this short is seen coming to its end in seconds.
    EXPECT_TRUE(std::regex_search(
        text, std::regex("\r    0 % \xe2\x80\x94 task 1 of 2, about [0-9]*[05] s left\n")))
        << text;
    EXPECT_TRUE(std::regex_search(text, std::regex("task 2 of 2, about [0-9]*[05] s left")))
        << text;

    // Side by side, each line names its task, and the progress line shows the whole run, what the
    // task furthest from its end does, and how many tasks run.
    std::ostringstream sideBySide;
    ConsoleReport both(sideBySide, err, true);
    options.tasksAtOnce = 2;
    ASSERT_EQ(
        BatchRun(*system, folder.file("marovink-batch"), RegionalFormats{}, both).run(options),
        BatchRun::noTaskFailed)
        << err.str();
    const std::string shown = sideBySide.str();
    EXPECT_NE(shown.find("  Task 2: REMUX in progress..."), std::string::npos) << shown;
    EXPECT_NE(shown.find(" % REMUX in progress... \xe2\x80\x94 "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" tasks running, "), std::string::npos) << shown;
    EXPECT_EQ(shown.find("task 1 of 2"), std::string::npos) << shown;
    options.tasksAtOnce.reset();

    // Not on a file or a pipe: there the lines of the events are all.
    std::ostringstream plain;
    ConsoleReport quiet(plain, err, false);
    BatchRun(*system, folder.file("marovink-batch"), RegionalFormats{}, quiet).run(options);
    EXPECT_EQ(plain.str().find('\r'), std::string::npos);
}
