#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "storage/settings.h"

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

// A platform whose free space a test sets; processes start for real.
class SetFreeSpace : public platform::Platform {
public:
    bool startAndWait(const std::string& commandLine, int showMode) override {
        return real->startAndWait(commandLine, showMode);
    }
    void setToolOutputLog(const std::string& path) override { real->setToolOutputLog(path); }
    std::int64_t freeBytesAvailable(const std::string&) override { return freeBytes; }
    void setCurrentThreadPriority(platform::ThreadPriority) override {}
    bool requestPowerOff() override { return false; }

    std::unique_ptr<platform::Platform> real = platform::createPlatform();
    std::int64_t freeBytes = 1LL << 40;
};
