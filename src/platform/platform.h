#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/systemEncoding.h"
#include "platform/commandLineSplit.h"
#include "regional/regionalFormats.h"

namespace platform {

// Names of the tools beside the program, with the executable suffix of the system.
extern const char* const defaultDemuxerName;
extern const char* const defaultMultiplexerName;
extern const char* const defaultRequantizerName;
extern const char* const defaultImagerName;
extern const char* const defaultAuthoringName;

// The separator of folders in a path.
extern const char* const pathSeparator;

// What ends the name of a program file (".exe"), empty where programs carry no suffix.
extern const char* const programFileSuffix;

enum class ThreadPriority { Lowest, BelowNormal };

// Show mode of a tool's window: shown normally.
constexpr int showNormal = 1;

// The operating system as the core needs it. One implementation per system.
class Platform {
public:
    virtual ~Platform() = default;

    // Starts a tool as a process of its own, in workingFolder (empty: the program's own current
    // folder), and waits for it to end: the program with its arguments (the program first) where
    // the system starts a process from a list, the command line that writes them where it starts
    // one from a text (Windows). The tools log shows the command line. The program's current
    // folder is never changed, so that tools of several tasks can start at once. Gives the tool's
    // exit status (128 + the signal for a POSIX tool killed by one), nothing when it cannot be
    // started. Throws IoError when the tools log cannot be written.
    virtual std::optional<int> startTool(const std::string& commandLine,
                                         const std::vector<std::string>& arguments, int showMode,
                                         const std::string& workingFolder) = 0;
    // The same for a command line alone, split as Windows splits it.
    std::optional<int> startAndWait(const std::string& commandLine, int showMode,
                                    const std::string& workingFolder = std::string()) {
        return startTool(commandLine, splitCommandLine(commandLine), showMode, workingFolder);
    }
    // The folder a tool writing to destinationPath works in: the root of its drive on Windows,
    // where a tool has always started there; empty (the program's own) elsewhere.
    virtual std::string toolWorkingFolder(const std::string& destinationPath) = 0;

    // Ends every tool that startAndWait is waiting for, without waiting itself: the program is
    // about to end at once and must leave no tool running behind it.
    virtual void endRunningTools() = 0;

    // Where systems without a console window per tool keep the tools' output: each tool's
    // standard output and error are appended to this file after a line with its command line.
    // Empty: the tools write where the program does. Systems that give every tool a console
    // window of its own ignore it.
    virtual void setToolOutputLog(const std::string& path) = 0;
    // Whether the tools log is written at all: a run makes none where nothing would go into it.
    virtual bool collectsToolOutput() const = 0;
    // With tools of several tasks running at once, each tool's output goes into the tools log
    // whole, once the tool has ended, instead of as it comes.
    virtual void setToolOutputWhole(bool whole) = 0;

    // A name for the file system destinationPath would be written to: two paths on one drive
    // give the same name. Empty when it cannot be told.
    virtual std::string volumeOf(const std::string& destinationPath) = 0;

    // Bytes available to the user where destinationPath would be written; -1 when they cannot be
    // obtained. Throws IoError when the destination names no place that can be measured.
    virtual std::int64_t freeBytesAvailable(const std::string& destinationPath) = 0;

    // Deletes the file. False, with the system's reason, when it is still there; a folder at that
    // path is never removed in a file's stead.
    virtual bool deleteFile(const std::string& path, std::string& reason) = 0;

    // Sets the priority of the calling thread, relative to the priority of the thread that
    // created the platform, whatever the calling thread's own priority is.
    virtual void setCurrentThreadPriority(ThreadPriority priority) = 0;

    // Asks the system to switch the computer off, without forcing programs to close. True when
    // the system accepted the request.
    virtual bool requestPowerOff() = 0;
};

// The platform of the system the program runs on. Create it early, on the main thread.
std::unique_ptr<Platform> createPlatform();

// The user's regional formats for numbers, dates and times, from the system's settings.
RegionalFormats systemRegionalFormats();

// Full path of the running program file.
std::string runningProgramPath();

// The calendar time of a moment in the user's time zone.
std::tm localTime(std::time_t seconds);

}  // namespace platform
