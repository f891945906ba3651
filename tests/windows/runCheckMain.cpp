// Sets up and checks a run that a Windows program makes as a user would start it, outside any
// test program: the window program clicked under a display, or the installed batch runner.
//
//   marovink_run_check prepare FOLDER SETTINGS       fake tools, sources and FOLDER\project.mvk;
//                                                    SETTINGS names the fake tools
//   marovink_run_check verify FOLDER SETTINGS LOG    LOG is the exact log of a run of the project
//   marovink_run_check prepare-dvd FOLDER NAME       FOLDER\NAME.mvk: one task with every stage,
//                                                    deletion and two chapters on FOLDER\NAME.VOB,
//                                                    real DVD material of five seconds
//   marovink_run_check verify-dvd FOLDER NAME PROGRAM_FOLDER LOG STANDARD
//                                                    LOG is the exact log of that project's run
//                                                    with the tools beside the program in
//                                                    PROGRAM_FOLDER and no settings file, its DVD
//                                                    read back in STANDARD (PAL or NTSC)
//
// Exit status 0 when all is well, 1 when a check fails, 2 for a usage error.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "messages/messageSink.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

class PrintedMessages : public MessageSink {
public:
    void showError(const std::string& text) override { std::printf("error: %s\n", text.c_str()); }
    void showWarning(const std::string& text) override {
        std::printf("warning: %s\n", text.c_str());
    }
};

// Prints each line where the log differs from the expected lines, and the lines' count.
bool compareLog(const std::string& logPath, const std::vector<std::string>& expected) {
    const std::vector<std::string> written = expectedLog::maskedLogLines(logPath);
    const bool same = written == expected;
    for (std::size_t i = 0; i < std::max(written.size(), expected.size()); ++i) {
        const char* got = i < written.size() ? written[i].c_str() : "(none)";
        const char* wanted = i < expected.size() ? expected[i].c_str() : "(none)";
        if (i >= written.size() || i >= expected.size() || written[i] != expected[i]) {
            std::printf("log line %zu:\n  written:  %s\n  expected: %s\n", i + 1, got, wanted);
        }
    }
    std::printf("%s: %zu log lines %s\n", logPath.c_str(), written.size(),
                same ? "as expected" : "differ");
    return same;
}

std::string projectPath(const std::string& folder) {
    return folder + "\\project.mvk";
}

// One task with every stage, deletion and chapters, and one whose source is missing: the log
// then holds every kind of entry a run writes.
void prepare(const std::string& folder, const std::string& settingsPath) {
    const std::string toolsFolder = folder + "\\tools";
    std::filesystem::create_directories(toolsFolder);
    FakeDvdTools tools(toolsFolder);
    Settings settings(settingsPath, folder + "\\");
    settings.setValues(tools.settings());
    settings.save();

    TAllTask tasks;
    TaskRef full = taskInFolder(folder, "VTS_01_1");
    full->chapterList = "00:00:00,00:05:00";
    full->deleteOrigVob = full->deleteStreams = full->deleteVob = true;
    tasks.add(full);
    TaskRef missing = taskInFolder(folder, "gone", -1);
    missing->doRemux = missing->doAuthor = false;
    tasks.add(missing);
    projectFile::save(projectPath(folder), tasks);
}

bool verify(const std::string& folder, const std::string& settingsPath,
            const std::string& logPath) {
    TAllTask tasks;
    projectFile::load(projectPath(folder), tasks);
    Settings settings(settingsPath, folder + "\\");
    PrintedMessages messages;
    settings.load(messages);

    std::vector<std::string> expected =
        expectedLog::fullTask(*tasks.taskAt(0), settings.values(), 0);
    for (const std::vector<std::string>& more :
         {expectedLog::missingSource(*tasks.taskAt(1), 1), expectedLog::endOfRun()}) {
        expected.insert(expected.end(), more.begin(), more.end());
    }
    bool same = compareLog(logPath, expected);
    const std::string authored = tasks.taskAt(0)->dvdFolderPath + "\\VIDEO_TS\\VTS_01_1.VOB";
    if (!std::filesystem::exists(authored)) {
        std::printf("missing: %s\n", authored.c_str());
        same = false;
    }
    return same;
}

std::string dvdProjectPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name + ".mvk";
}

void prepareDvd(const std::string& folder, const std::string& name) {
    TAllTask tasks;
    TaskRef task = taskInFolder(folder, name, -1);
    task->chapterList = "00:00:00,00:00:03";
    task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
    tasks.add(task);
    projectFile::save(dvdProjectPath(folder, name), tasks);
}

bool verifyDvd(const std::string& folder, const std::string& name, const std::string& programFolder,
               const std::string& logPath, const std::string& standard) {
    TAllTask tasks;
    projectFile::load(dvdProjectPath(folder, name), tasks);
    const Ttask& task = *tasks.taskAt(0);
    // The tools a fresh installation runs, with no settings file: the defaults, all three beside
    // the program.
    Settings settings(programFolder + "\\marovink.ini", programFolder + "\\");
    RecordedMessages messages;
    settings.loadDefaults(messages);
    for (const std::string& error : messages.errors) {
        std::printf("error: %s\n", error.c_str());
    }
    if (!messages.errors.empty()) {
        return false;
    }

    std::vector<std::string> expected = expectedLog::fullTask(
        task, settings.values(), 0,
        "DVD checked: 1 title, 2 chapters, 0:00:05, 1 audio track, " + standard + " ");
    const std::vector<std::string> endLines = expectedLog::endOfRun();
    expected.insert(expected.end(), endLines.begin(), endLines.end());
    bool same = compareLog(logPath, expected);
    for (const std::string* gone :
         {&task.origVobFilePath, &task.m2vFilePath, &task.ac3FilePath, &task.vobFilePath}) {
        if (std::filesystem::exists(*gone)) {
            std::printf("not deleted: %s\n", gone->c_str());
            same = false;
        }
    }
    return same;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "prepare") {
            prepare(args[1], args[2]);
            return 0;
        }
        if (args.size() == 4 && args[0] == "verify") {
            return verify(args[1], args[2], args[3]) ? 0 : 1;
        }
        if (args.size() == 3 && args[0] == "prepare-dvd") {
            prepareDvd(args[1], args[2]);
            return 0;
        }
        if (args.size() == 6 && args[0] == "verify-dvd") {
            return verifyDvd(args[1], args[2], args[3], args[4], args[5]) ? 0 : 1;
        }
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: marovink_run_check prepare FOLDER SETTINGS\n"
                 "       marovink_run_check verify FOLDER SETTINGS LOG\n"
                 "       marovink_run_check prepare-dvd FOLDER NAME\n"
                 "       marovink_run_check verify-dvd FOLDER NAME PROGRAM_FOLDER LOG STANDARD\n");
    return 2;
}
