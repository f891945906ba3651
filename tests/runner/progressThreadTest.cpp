#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "platform/platform.h"
#include "runner/exec/progressThreadUnit.h"
#include "support/tempFolder.h"

namespace {

using namespace std::chrono_literals;

class ProgressTest : public ::testing::Test {
protected:
    TprogressThread::ProgressHandler recorder() {
        return [this](TprogressThread&, int percentage) {
            std::lock_guard<std::mutex> lock(mutex);
            reports.push_back(percentage);
            reported.notify_all();
        };
    }

    // Waits until `count` reports have come, at most `limit`.
    bool waitForReports(std::size_t count, std::chrono::milliseconds limit) {
        std::unique_lock<std::mutex> lock(mutex);
        return reported.wait_for(lock, limit, [&] { return reports.size() >= count; });
    }

    std::unique_ptr<platform::Platform> system = platform::createPlatform();
    TempFolder folder;
    std::mutex mutex;
    std::condition_variable reported;
    std::vector<int> reports;
};

}  // namespace

TEST(ProgressPercentage, RoundsHalvesToEvenAndCapsAtOneHundred) {
    EXPECT_EQ(TprogressThread::percentage(50.5, 100), 50);
    EXPECT_EQ(TprogressThread::percentage(51.5, 100), 52);
    EXPECT_EQ(TprogressThread::percentage(51.6, 100), 52);
    EXPECT_EQ(TprogressThread::percentage(0, 100), 0);
    EXPECT_EQ(TprogressThread::percentage(200, 100), 100);
    EXPECT_EQ(TprogressThread::percentage(6.5, 6.5), 100);
}

TEST_F(ProgressTest, MeasuresOnceASecondAndStopsAtOnce) {
    writeBytes(folder.file("out.m2v"), std::string(512, 'x'));
    const auto start = std::chrono::steady_clock::now();
    {
        TprogressThread monitor(folder.file("out.m2v"), 1, false, recorder(), *system);
        ASSERT_TRUE(waitForReports(2, 5s));
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_GE(elapsed, 1900ms);
        EXPECT_LT(elapsed, 3500ms);
        monitor.requestStop();
    }
    // The destructor returned promptly after the stop request, not at the next second.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
    EXPECT_LE(reports.size(), 3u);
    EXPECT_EQ(reports.front(), 50);
}

TEST_F(ProgressTest, FolderMissingFileAndZeroExpectedSize) {
    const std::string videoTs = folder.path() + "/";
    writeBytes(folder.file("VTS_01_1.VOB"), std::string(1024, 'x'));
    writeBytes(folder.file("VTS_01_2.VOB"), std::string(1024, 'x'));
    {
        TprogressThread monitor(videoTs, 8, true, recorder(), *system);
        ASSERT_TRUE(waitForReports(1, 3s));
    }
    EXPECT_EQ(reports.front(), 25);

    reports.clear();
    {
        TprogressThread monitor(folder.file("missing"), 8, false, recorder(), *system);
        ASSERT_TRUE(waitForReports(1, 3s));
    }
    EXPECT_EQ(reports.front(), 0);

    reports.clear();
    {
        TprogressThread monitor(folder.file("VTS_01_1.VOB"), 0, false, recorder(), *system);
        EXPECT_FALSE(waitForReports(1, 1500ms));
    }
    EXPECT_TRUE(reports.empty());
}
