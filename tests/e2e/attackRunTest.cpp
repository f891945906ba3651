// Runs attacked as a hostile user would, through a project and marovink-batch with the real
// tools: each attack must change no file that no task names, lose no source, and end with the
// status and the message that say what happened, in bounded memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "support/batchProcess.h"
#include "support/fakeTools.h"
#include "support/syncMaterial.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

namespace fs = std::filesystem;

constexpr long memoryBoundKb = 64 * 1024;
constexpr std::uintmax_t toolOutputCap = 16 << 20;

// The peak memory of a running process, in kB, as the system counts it.
long peakMemoryKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

struct Scene {
    TAllTask tasks;
    std::string options;                // of marovink-batch, before the project
    std::vector<std::string> kept;      // files that must be left exactly as they were
    std::vector<std::string> absent;    // paths nothing may be written to
    std::vector<std::string> produced;  // files the run must write
};

TaskRef sourceTask(const TempFolder& folder, const std::string& name) {
    TaskRef task = taskInFolder(folder.path(), name, -1);
    task->chapterList = "00:00:00";
    return task;
}

}  // namespace

TEST(RunAttackTest, EveryAttackLeavesWhatNoTaskNamesAndSaysWhatHappened) {
    TempFolder material;
    const std::string made = material.file("made.VOB");
    ASSERT_TRUE(makeSyncSource(made, 6));
    struct Attack {
        const char* name;
        std::function<Scene(const TempFolder&)> scene;
        int status;
        const char* logSays;  // empty: nothing to look for
    };
    // A task whose video stream's path is a link: to its source, or to `target` in the folder,
    // where nothing may be written.
    const auto linkedVideo = [&](const std::string& name, const std::string& target) {
        return [&made, name, target](const TempFolder& folder) {
            Scene scene;
            TaskRef task = sourceTask(folder, name);
            fs::copy_file(made, task->origVobFilePath);
            const std::string linked = target.empty() ? task->origVobFilePath : folder.file(target);
            fs::create_directories(fs::path(linked).parent_path());
            fs::create_symlink(linked, folder.file("link.m2v"));
            task->m2vFilePath = folder.file("link.m2v");
            scene.tasks.add(task);
            scene.kept = {task->origVobFilePath};
            if (!target.empty()) {
                scene.absent = {linked};
            }
            return scene;
        };
    };
    const Attack attacks[] = {
        {"a % in the remuxed VOB's path",
         [&](const TempFolder& folder) {
             Scene scene;
             TaskRef task = sourceTask(folder, "pct");
             fs::copy_file(made, task->origVobFilePath);
             // mplex would take the name as a format and write the project file.
             task->vobFilePath = folder.file("p.mvk%.0s");
             scene.tasks.add(task);
             scene.produced = {task->vobFilePath};
             return scene;
         },
         0, ""},
        {"the video stream's path a link to the source", linkedVideo("linked", ""), 1,
         " would be written over the task's source VOB "},
        {"a link to nothing at the video stream's path",
         linkedVideo("dangling", "elsewhere/video.m2v"), 1, " is a symbolic link to nothing"},
        {"one destination with and without a trailing slash, side by side",
         [&](const TempFolder& folder) {
             Scene scene;
             for (const char* name : {"first", "second"}) {
                 TaskRef task = sourceTask(folder, name);
                 fs::copy_file(made, task->origVobFilePath);
                 task->dvdFolderPath =
                     folder.file("outdvd") + (scene.tasks.count() == 0 ? "" : "/");
                 task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
                 scene.tasks.add(task);
             }
             scene.options = "--jobs 2";
             // The later one waits for the first, then finds its DVD there and deletes nothing.
             scene.kept = {scene.tasks.taskAt(1)->origVobFilePath};
             scene.absent = {folder.file("outdvd/VIDEO_TS/VTS_02_0.IFO")};
             return scene;
         },
         1, " folder already holds a DVD !"},
        {"audio time stamps ten hours after the video",
         [&](const TempFolder& folder) {
             Scene scene;
             TaskRef task = sourceTask(folder, "late");
             EXPECT_TRUE(delayAudio(made, task->origVobFilePath, 36000));
             scene.tasks.add(task);
             scene.kept = {task->origVobFilePath};
             scene.absent = {task->ac3FilePath};
             return scene;
         },
         1, "ended with exit status 1"},
        {"tools that write without end, side by side",
         [&](const TempFolder& folder) {
             Scene scene;
             // The bundled demultiplexer, after 40 MiB of chatter.
             const std::string chatty = folder.file("chatty-bbdmux");
             writeScript(
                 chatty,
                 "head -c 41943040 /dev/zero | tr '\\0' x\nexec " +
                     shellQuoted(
                         fs::path(MAROVINK_BATCH_PATH).replace_filename("bbdmux").string()) +
                     " \"$@\"\n");
             const fs::path bundle = fs::path(MAROVINK_BATCH_PATH).parent_path();
             writeBytes(folder.file("chatty.ini"),
                        "[software path]\r\ndemuxing=" + chatty +
                            "\r\nmuxing=" + (bundle / "mplex").string() +
                            "\r\nauthoring=" + (bundle / "dvdauthor").string() + "\r\n");
             for (const char* name : {"talk1", "talk2"}) {
                 TaskRef task = sourceTask(folder, name);
                 fs::copy_file(made, task->origVobFilePath);
                 scene.tasks.add(task);
             }
             scene.options = "--jobs 2 --settings " + shellQuoted(folder.file("chatty.ini"));
             return scene;
         },
         0, ""},
    };
    for (const Attack& attack : attacks) {
        SCOPED_TRACE(attack.name);
        TempFolder folder;
        const Scene scene = attack.scene(folder);
        std::vector<std::string> before;
        for (const std::string& file : scene.kept) {
            before.push_back(readBytes(file));
        }
        std::atomic<long> peak{0};
        std::thread watcher;
        const BatchOutcome outcome =
            runWithBundledTools(folder, scene.tasks, scene.options, [&](pid_t pid) {
                watcher = std::thread([pid, &peak] {
                    while (kill(pid, 0) == 0) {
                        peak = std::max(peak.load(), peakMemoryKb(pid));
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    }
                });
            });
        if (watcher.joinable()) {
            watcher.join();
        }
        const std::string log = readBytes(folder.file("run.log"));
        EXPECT_EQ(outcome.status, attack.status) << log << readBytes(folder.file("stderr.txt"));
        if (*attack.logSays != '\0') {
            EXPECT_NE(log.find(attack.logSays), std::string::npos) << log;
        }
        EXPECT_NE(readBytes(folder.file("p.mvk")).rfind(std::string("\x00\x00\x01\xba", 4), 0), 0u)
            << "the project file was written over";
        for (std::size_t index = 0; index < scene.kept.size(); ++index) {
            EXPECT_TRUE(readBytes(scene.kept[index]) == before[index]) << scene.kept[index];
        }
        for (const std::string& path : scene.absent) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
        }
        for (const std::string& path : scene.produced) {
            EXPECT_TRUE(fs::is_regular_file(path)) << path;
        }
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
        }
#ifndef MAROVINK_SANITIZED  // sanitizers reserve memory of their own
        EXPECT_LT(peak.load(), memoryBoundKb);
#endif
        const std::uintmax_t toolsLog = fs::file_size(folder.file("run.tools.log"));
        EXPECT_LT(toolsLog, 4 * toolOutputCap + (1 << 20));
        RecordProperty(attack.name, "peak " + std::to_string(peak.load()) + " kB, tools log " +
                                        std::to_string(toolsLog) + " bytes");
    }
}
