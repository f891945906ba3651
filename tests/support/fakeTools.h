#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "messages/messageSink.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "support/ifoImage.h"
#include "task/task.h"

// Stand-ins for the outside tools, written by the tests into their temporary folders: shell
// scripts on POSIX systems, copies of the fake tool program (fakeToolMain.cpp) on Windows.

// Writes an executable shell script at path with the given body (POSIX systems only).
void writeScript(const std::string& path, const std::string& body);

// A tool that writes each of its arguments on its own line into recordPath. On Windows it is
// the fake tool program at path + ".exe", which a command line naming path starts.
void writeRecordingTool(const std::string& path, const std::string& recordPath);

std::vector<std::string> readLines(const std::string& path);

// A task with all three stages on files named after `name` in folderPath ("name.VOB",
// "name.m2v", "name.ac3", "remuxed name.VOB", "name dvd"). Its source VOB is written with
// sourceBytes bytes unless sourceBytes is negative.
TaskRef taskInFolder(const std::string& folderPath, const std::string& name,
                     long long sourceBytes = 100 * 1024);

// The title set that the fake authoring tool writes: 99 chapters, so that any chapter list fits,
// PAL, one AC-3 track.
IfoImage fakeAuthoredDvd();

// Writes the IFO files that the fake authoring tool in folder copies into the DVD it authors.
void writeAuthoredIfoFiles(const std::string& folder, const IfoImage& image);

// Stand-ins for the demultiplexer, the multiplexer and the authoring tool, written into a folder.
// Each records its arguments (one run per line, in calls.txt) and writes outputs of the sizes set
// here; a size of -1 writes nothing. The authoring tool's title run also writes VTS_01_0.IFO and
// its table-of-contents run VIDEO_TS.IFO, as `authored` describes them.
struct FakeDvdTools {
    explicit FakeDvdTools(std::string folder);

    // Writes (or rewrites) the three tools with the current sizes.
    void write() const;
    SettingsValues settings() const;
    std::string callsPath() const { return folder + "/calls.txt"; }
    // While this file exists, the audio demultiplexing waits; so does the one into OUTPUT, and
    // the remultiplexing into OUTPUT, while OUTPUT.gate exists.
    std::string audioGatePath() const { return folder + "/audio.gate"; }

    std::string folder;
    long long audioBytes = 7 * 1024;
    long long videoBytes = 92 * 1024;
    long long remuxBytes = 100 * 1024;
    long long titleBytes = 100 * 1024;
    int remuxExitStatus = 0;
    IfoImage authored = fakeAuthoredDvd();
};

#ifdef _WIN32
// The fake tool program that the test build makes beside the tests.
std::string fakeToolProgram();

// Copies the fake tool into folder as name + ".exe" and returns the copy's path.
std::string installFakeTool(const std::string& folder, const std::string& name);

// The sizes in bytes that the fake bbdmux, mplex and dvdauthor in folder write, and the exit
// status of the fake mplex; also writes the fake DVD's IFO files when there are none yet.
void writeFakeToolSizes(const std::string& folder, long long audio, long long video,
                        long long remux, long long title, int remuxExitStatus = 0);
#endif

// A platform whose free space and failing deletions a test sets; processes start for real.
class SetFreeSpace : public platform::Platform {
public:
    std::optional<int> startTool(const std::string& commandLine,
                                 const std::vector<std::string>& arguments, int showMode,
                                 const std::string& workingFolder) override {
        return real->startTool(commandLine, arguments, showMode, workingFolder);
    }
    std::string toolWorkingFolder(const std::string& destination) override {
        return real->toolWorkingFolder(destination);
    }
    void setToolOutputWhole(bool whole) override { real->setToolOutputWhole(whole); }
    std::string volumeOf(const std::string& destination) override {
        return real->volumeOf(destination);
    }
    void endRunningTools() override { real->endRunningTools(); }
    void setToolOutputLog(const std::string& path) override { real->setToolOutputLog(path); }
    bool collectsToolOutput() const override { return real->collectsToolOutput(); }
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

// Records the messages the core shows, instead of showing boxes.
class RecordedMessages : public MessageSink {
public:
    void showError(const std::string& text) override { errors.push_back(text); }
    void showWarning(const std::string& text) override { warnings.push_back(text); }

    std::vector<std::string> errors;
    std::vector<std::string> warnings;
};
