// How much processor time the program itself spends while a tool runs: the runner waits for a
// fake tool that grows its output for N seconds (20 by default) while a progress monitor follows
// it, as in a real run. Prints the wall time and the program's own user and system time.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "messages/messageSink.h"
#include "platform/platform.h"
#include "runner/processThreadUnit.h"
#include "runner/progressThreadUnit.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

class Silent : public MessageSink {
public:
    void showError(const std::string&) override {}
    void showWarning(const std::string&) override {}
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
    const std::string folder = std::filesystem::temp_directory_path() / "marovink-monitor-bench";
    std::filesystem::create_directories(folder);
    const std::string tool = folder + "/bbdmux";
    {
        std::ofstream script(tool);
        script << "#!/bin/sh\n[ \"$2\" = 0xbd ] || exit 0\nfor i in $(seq " << seconds
               << "); do head -c 65536 /dev/zero >> \"$3\"; sleep 1; done\n";
    }
    std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
    std::ofstream(folder + "/source.VOB") << std::string(1 << 20, 'v');
    std::filesystem::remove(folder + "/out.ac3");

    auto task = std::make_shared<Ttask>();
    task->origVobFilePath = folder + "/source.VOB";
    task->ac3FilePath = folder + "/out.ac3";
    task->m2vFilePath = folder + "/out.m2v";
    task->doRemux = task->doAuthor = false;
    TAllTask tasks;
    tasks.add(task);

    const std::unique_ptr<platform::Platform> system = platform::createPlatform();
    Settings settings(folder + "/none.ini", folder + "/");
    settings.setValues({tool, tool, tool, "PAL"});
    Silent silent;
    std::unique_ptr<TprogressThread> monitor;
    int reports = 0;
    int lastPercentage = 0;

    TprocessThread::Handlers handlers;
    handlers.OnStepStart = [&](TprocessThread& runner, const std::string&, int) {
        monitor = std::make_unique<TprogressThread>(
            runner.currentTarget(), runner.expectedSize(), runner.currentTargetIsFolder(),
            [&](TprogressThread&, int percentage) {
                ++reports;
                lastPercentage = percentage;
            },
            *system);
    };
    handlers.OnStepDone = [&](TprocessThread&, const std::string&, int) { monitor.reset(); };

    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    {
        // The video run ends at once: its tool exits without writing anything.
        TprocessThread runner(tasks, {settings, *system, silent, RegionalFormats()}, handlers);
        runner.waitForEnd();
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("wall time %.1f s, program CPU time %.1f ms, %d progress reports (last %d %%)\n",
                wall, cpu * 1000, reports, lastPercentage);
    std::filesystem::remove_all(folder);
    return 0;
}
