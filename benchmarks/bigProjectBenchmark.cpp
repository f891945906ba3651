// A project of 100,000 tasks: its save, its load, and a run of its tasks (without stages, so that
// only the program's own work is measured). Prints the three times; fails when the loaded list or
// the run does not hold every task.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "messages/messageSink.h"
#include "platform/platform.h"
#include "runner/exec/processThreadUnit.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

constexpr int taskCount = 100000;

class Silent : public MessageSink {
public:
    void showError(const std::string&) override {}
    void showWarning(const std::string&) override {}
};

double msBetween(std::chrono::steady_clock::time_point from,
                 std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "marovink-big-project-benchmark";
    std::filesystem::create_directories(folder);
    const std::string project = (folder / "big.mvk").string();
    TAllTask tasks;
    for (int i = 0; i < taskCount; ++i) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = "/media/dvd/title " + std::to_string(i) + "/VTS_01_1.VOB";
        task->doDemux = task->doRemux = task->doAuthor = false;
        tasks.add(task);
    }

    const auto start = std::chrono::steady_clock::now();
    projectFile::save(project, tasks);
    const auto saved = std::chrono::steady_clock::now();
    TAllTask loaded;
    projectFile::load(project, loaded);
    const auto read = std::chrono::steady_clock::now();

    const std::unique_ptr<platform::Platform> system = platform::createPlatform();
    Settings settings((folder / "none.ini").string(), folder.string() + "/");
    Silent silent;
    std::atomic<int> started{0};
    TprocessThread::Handlers handlers;
    handlers.OnTaskStart = [&started](TprocessThread&, const std::string&, int) { ++started; };
    {
        TprocessThread runner(loaded, {settings, *system, silent, RegionalFormats()}, handlers);
        runner.waitForEnd();
    }
    const auto ran = std::chrono::steady_clock::now();
    std::filesystem::remove_all(folder);

    std::printf("100,000 tasks: save %.0f ms, load %.0f ms, run of tasks without stages %.0f ms\n",
                msBetween(start, saved), msBetween(saved, read), msBetween(read, ran));
    if (loaded.count() != taskCount || started != taskCount) {
        std::fprintf(stderr, "wrong result: %d tasks loaded, %d started\n", loaded.count(),
                     started.load());
        return 1;
    }
    return 0;
}
