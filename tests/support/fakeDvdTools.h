#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "storage/settings.h"
#include "task/task.h"

// A task with all three stages on files named after `name` in folderPath ("name.VOB",
// "name.m2v", "name.ac3", "remuxed name.VOB", "name dvd"). Its source VOB is written with
// sourceBytes bytes unless sourceBytes is negative.
TaskRef taskInFolder(const std::string& folderPath, const std::string& name,
                     long long sourceBytes = 100 * 1024);

// Stand-ins for the demultiplexer, the multiplexer and the authoring tool, written as scripts into
// a folder. Each records its arguments (one run per line, in calls.txt) and writes outputs of the
// sizes set here; a size of -1 writes nothing.
struct FakeDvdTools {
    explicit FakeDvdTools(std::string folder);

    // Writes (or rewrites) the three scripts with the current sizes.
    void write() const;
    SettingsValues settings() const;
    std::string callsPath() const { return folder + "/calls.txt"; }
    // While this file exists, the audio demultiplexing waits.
    std::string audioGatePath() const { return folder + "/audio.gate"; }

    std::string folder;
    long long audioBytes = 7 * 1024;
    long long videoBytes = 92 * 1024;
    long long remuxBytes = 100 * 1024;
    long long titleBytes = 100 * 1024;
};

// A platform whose free space and failing deletions a test sets; processes start for real.
class SetFreeSpace : public platform::Platform {
public:
    bool startAndWait(const std::string& commandLine, int showMode) override {
        return real->startAndWait(commandLine, showMode);
    }
    void endRunningTools() override { real->endRunningTools(); }
    void setToolOutputLog(const std::string& path) override { real->setToolOutputLog(path); }
    std::int64_t freeBytesAvailable(const std::string&) override { return freeBytes; }
    bool deleteFile(const std::string& path, std::string& reason) override {
        if (!deletionFailure.empty()) {
            reason = deletionFailure;
            return false;
        }
        return real->deleteFile(path, reason);
    }
    void setCurrentThreadPriority(platform::ThreadPriority) override {}
    // Never switches the computer off: it counts the requests.
    bool requestPowerOff() override {
        ++powerOffRequests;
        return true;
    }

    std::unique_ptr<platform::Platform> real = platform::createPlatform();
    std::int64_t freeBytes = 1LL << 40;
    // When set, every deletion fails with this reason and leaves the file in place.
    std::string deletionFailure;
    int powerOffRequests = 0;
};
