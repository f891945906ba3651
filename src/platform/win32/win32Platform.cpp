#include <windows.h>

#include <cctype>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "files/ioError.h"
#include "platform/fileDeletion.h"
#include "platform/platform.h"

namespace platform {

const char* const defaultDemuxerName = "bbdmux.exe";
const char* const defaultMultiplexerName = "mplex.exe";
const char* const defaultRequantizerName = "m2vrequantiser.exe";
const char* const defaultImagerName = "dvdimage.exe";
const char* const defaultAuthoringName = "dvdauthor.exe";
const char* const pathSeparator = "\\";
const char* const programFileSuffix = ".exe";

namespace {

// Each tool opens in a console window of its own, in the root of its destination's drive.
constexpr DWORD toolCreationFlags = CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS;

// Lets the process ask for a shut-down; without the privilege ExitWindowsEx is refused.
void enableShutdownPrivilege() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    // Deprecated but exact for what is asked here: only the NT family knows privileges.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
    const BOOL known = GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif
    if (!known || version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        return;
    }
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return;
    }
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

class Win32Platform : public Platform {
public:
    // Windows starts a process from its command line, which writes the arguments.
    std::optional<int> startTool(const std::string& commandLine,
                                 const std::vector<std::string>& /*arguments*/, int showMode,
                                 const std::string& workingFolder) override {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showMode);
        PROCESS_INFORMATION process{};
        // CreateProcessA may write into the command line, so it gets a copy of its own.
        std::vector<char> writable(commandLine.begin(), commandLine.end());
        writable.push_back('\0');
        // The tool's own folder is given to it alone: the program's stays as it is.
        if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, toolCreationFlags,
                            nullptr, workingFolder.empty() ? nullptr : workingFolder.c_str(),
                            &startup, &process)) {
            return std::nullopt;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            runningTools_.insert(process.hProcess);
            if (endingTools_) {
                TerminateProcess(process.hProcess, endedToolStatus);
            }
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            runningTools_.erase(process.hProcess);
        }
        DWORD exitCode = 0;
        const bool known = GetExitCodeProcess(process.hProcess, &exitCode) != 0;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        // An exception code such as 0xC0000005 reads as a negative number.
        return known ? static_cast<int>(exitCode) : -1;
    }

    void endRunningTools() override {
        std::lock_guard<std::mutex> lock(mutex_);
        endingTools_ = true;
        for (HANDLE tool : runningTools_) {
            TerminateProcess(tool, endedToolStatus);
        }
    }

    // Every tool shows its output in its own console window.
    void setToolOutputLog(const std::string&) override {}
    bool collectsToolOutput() const override { return false; }
    void setToolOutputWhole(bool) override {}

    std::int64_t freeBytesAvailable(const std::string& destinationPath) override {
        const std::string driveRoot = toolWorkingFolder(destinationPath);
        // A destination that begins with no drive letter names no drive to measure.
        const DWORD attributes = GetFileAttributesA(driveRoot.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            throw ioErrorFromWindowsError(attributes == INVALID_FILE_ATTRIBUTES ? GetLastError()
                                                                                : ERROR_DIRECTORY);
        }
        ULARGE_INTEGER available{};
        if (!GetDiskFreeSpaceExA(driveRoot.c_str(), &available, nullptr, nullptr)) {
            return -1;
        }
        return static_cast<std::int64_t>(available.QuadPart);
    }

    // The root of the destination's drive, where a tool has always started.
    std::string toolWorkingFolder(const std::string& destinationPath) override {
        return (destinationPath.empty() ? std::string() : destinationPath.substr(0, 1)) + ":\\";
    }

    std::string volumeOf(const std::string& destinationPath) override {
        return destinationPath.empty()
                   ? std::string()
                   : std::string(1, static_cast<char>(std::toupper(
                                        static_cast<unsigned char>(destinationPath[0]))));
    }

    bool deleteFile(const std::string& path, std::string& reason) override {
        return deleteFileFromDisk(path, reason);
    }

    void setCurrentThreadPriority(ThreadPriority priority) override {
        SetThreadPriority(GetCurrentThread(), priority == ThreadPriority::Lowest
                                                  ? THREAD_PRIORITY_LOWEST
                                                  : THREAD_PRIORITY_BELOW_NORMAL);
    }

    bool requestPowerOff() override {
        enableShutdownPrivilege();
        return ExitWindowsEx(EWX_POWEROFF, 0) != FALSE;
    }

private:
    // The status a tool ended by the program exits with.
    static constexpr UINT endedToolStatus = 1;

    std::mutex mutex_;
    std::set<HANDLE> runningTools_;
    bool endingTools_ = false;
};

}  // namespace

std::unique_ptr<Platform> createPlatform() {
    return std::make_unique<Win32Platform>();
}

std::string runningProgramPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);  // the path was cut: try a larger buffer
    }
}

std::tm localTime(std::time_t seconds) {
    std::tm local{};
    localtime_s(&local, &seconds);
    return local;
}

}  // namespace platform
