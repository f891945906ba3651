// How much processor time the program itself spends while tools run: a run of N tasks side by side
// (1 by default) waits for fake tools that grow their outputs for S seconds (20 by default) while
// a progress monitor follows each, as in a real run, with the run log, the estimate and the task
// board. Prints the wall time and the program's own user and system time, in all and per task.
//   monitor_benchmark [SECONDS] [TASKS]
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "messages/messageSink.h"
#include "platform/platform.h"
#include "runner/runSession.h"
#include "runner/state/runLog.h"
#include "runner/state/taskBoard.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

class Silent : public MessageSink {
public:
    void showError(const std::string&) override {}
    void showWarning(const std::string&) override {}
};

// Counts the monitors' reports and shows nothing.
class CountingView : public RunView {
public:
    void runEvent(const RunEvent&) override {}
    void progress(int) override { ++reports; }
    void runFinished() override {}

    std::atomic<int> reports{0};
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    const int taskCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    const std::string folder = std::filesystem::temp_directory_path() / "marovink-monitor-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string tool = folder + "/bbdmux";
    {
        std::ofstream script(tool);
        script << "#!/bin/sh\n[ \"$2\" = 0xbd ] || exit 0\nfor i in $(seq " << seconds
               << "); do head -c 65536 /dev/zero >> \"$3\"; sleep 1; done\n";
    }
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);

    TAllTask tasks;
    for (int i = 0; i < taskCount; ++i) {
        const std::string name = folder + "/" + std::to_string(i);
        std::ofstream(name + ".VOB") << std::string(1 << 20, 'v');
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = name + ".VOB";
        task->ac3FilePath = name + ".ac3";
        task->m2vFilePath = name + ".m2v";
        task->doRemux = task->doAuthor = false;
        tasks.add(task);
    }

    const std::unique_ptr<platform::Platform> system = platform::createPlatform();
    Settings settings(folder + "/none.ini", folder + "/");
    settings.setValues({tool, tool, tool, "PAL"});
    Silent silent;
    CountingView view;
    TaskBoard board;
    RunLog log(folder + "/run.log", RegionalFormats());

    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    {
        // The video runs end at once: their tool exits without writing anything.
        RunSession session(tasks, log, {settings, *system, silent, RegionalFormats(), taskCount},
                           view, board);
        session.waitForEnd();
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf(
        "%d task(s) at once: wall time %.1f s, program CPU time %.1f ms (%.1f ms per task), "
        "%d progress reports\n",
        taskCount, wall, cpu * 1000, cpu * 1000 / taskCount, view.reports.load());
    std::filesystem::remove_all(folder);
    return 0;
}
