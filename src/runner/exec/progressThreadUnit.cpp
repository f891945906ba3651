#include "runner/exec/progressThreadUnit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>

#include "platform/platform.h"
#include "runner/exec/globalMethods.h"

TprogressThread::TprogressThread(std::string targetPath, double expectedSize, bool targetIsFolder,
                                 ProgressHandler onProgress, platform::Platform& platform)
    : targetPath_(std::move(targetPath)),
      expectedSize_(expectedSize),
      targetIsFolder_(targetIsFolder),
      onProgress_(std::move(onProgress)),
      platform_(platform),
      thread_([this] { run(); }) {}

TprogressThread::~TprogressThread() {
    requestStop();
    thread_.join();
}

void TprogressThread::requestStop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    stopped_.notify_all();
}

int TprogressThread::percentage(double size, double expectedSize) {
    const double share = std::min(size / expectedSize * 100, 100.0);
    // Halves go to the even neighbour, as the gauge has always shown them.
    const double whole = std::floor(share);
    const double fraction = share - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2) != 0)) {
        return static_cast<int>(whole) + 1;
    }
    return static_cast<int>(whole);
}

void TprogressThread::run() {
    platform_.setCurrentThreadPriority(platform::ThreadPriority::BelowNormal);
    using Clock = std::chrono::steady_clock;
    auto nextMeasurement = Clock::now() + std::chrono::seconds(1);
    std::unique_lock<std::mutex> lock(mutex_);
    // Sleep until the next second is due; a stop request wakes the wait at once.
    while (!stopped_.wait_until(lock, nextMeasurement, [this] { return stopRequested_; })) {
        lock.unlock();
        if (expectedSize_ == 0) {
            return;  // nothing to compare with: no percentage is reported
        }
        const double size = targetIsFolder_ ? vobSetSizeKb(targetPath_) : fileSizeKb(targetPath_);
        if (onProgress_) {
            try {
                onProgress_(*this, percentage(size, expectedSize_));
            } catch (const std::exception&) {
                return;  // a gauge that cannot be updated ends the monitor, never the program
            }
        }
        nextMeasurement = Clock::now() + std::chrono::seconds(1);
        lock.lock();
    }
}
