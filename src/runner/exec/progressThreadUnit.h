#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace platform {
class Platform;
}

// Follows the output of the tool that is running: once a second it measures the file (or the VOB
// set of a VIDEO_TS folder) and reports how far it has grown, as a whole percentage of the
// expected size, capped at 100.
class TprogressThread {
public:
    using ProgressHandler = std::function<void(TprogressThread& sender, int percentage)>;

    // Starts at once, one priority step above the runner. targetPath ends with a separator when
    // targetIsFolder.
    TprogressThread(std::string targetPath, double expectedSize, bool targetIsFolder,
                    ProgressHandler onProgress, platform::Platform& platform);
    // Asks the monitor to stop and waits for it; a measurement under way is finished first.
    ~TprogressThread();
    TprogressThread(const TprogressThread&) = delete;
    TprogressThread& operator=(const TprogressThread&) = delete;

    // Returns at once. At most one OnProgress follows: that of a measurement under way.
    void requestStop();

    // A measurement as a percentage: rounded to the nearest whole number, halves to even.
    static int percentage(double size, double expectedSize);

private:
    void run();

    const std::string targetPath_;
    const double expectedSize_;
    const bool targetIsFolder_;
    const ProgressHandler onProgress_;
    platform::Platform& platform_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopRequested_ = false;
    std::thread thread_;
};
