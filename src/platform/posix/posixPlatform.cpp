#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "files/ioError.h"
#include "files/textFile.h"
#include "platform/fileDeletion.h"
#include "platform/platform.h"

extern char** environ;

namespace platform {

const char* const defaultDemuxerName = "bbdmux";
const char* const defaultMultiplexerName = "mplex";
const char* const defaultRequantizerName = "m2vrequantiser";
const char* const defaultImagerName = "genisoimage";
const char* const defaultAuthoringName = "dvdauthor";
const char* const pathSeparator = "/";
const char* const programFileSuffix = "";

namespace {

// What the tools log keeps of one tool's output, and the block it is copied in.
constexpr std::size_t toolOutputCap = 16 << 20;
constexpr std::size_t outputBlockBytes = 64 << 10;
// How often a tool that still holds its output open is looked at to see whether it has ended.
constexpr int pollMilliseconds = 200;

// Nice values added to the process's own for the two lowered priorities.
constexpr int lowestNiceStep = 10;
constexpr int belowNormalNiceStep = 5;

// A child inherits the nice value of the thread that creates it, and an unprivileged process can
// never raise it again. The runner thread runs at a lowered priority, yet the tools must run at
// normal priority: so every tool is created by this thread, which keeps the priority of the thread
// that created the platform.
class ProcessLauncher {
public:
    ProcessLauncher() : thread_([this] { serve(); }) {}

    ~ProcessLauncher() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wakeUp_.notify_all();
        thread_.join();
    }

    // The new process's id, or -1 with errorNumber set when it cannot be created. output: the
    // descriptor its standard output and error go to, -1 for the program's own.
    pid_t spawn(const std::vector<std::string>& arguments, int output,
                const std::string& workingFolder, int& errorNumber) {
        Request request{arguments, output, workingFolder};
        std::unique_lock<std::mutex> lock(mutex_);
        queue_.push_back(&request);
        wakeUp_.notify_all();
        done_.wait(lock, [&] { return request.finished; });
        errorNumber = request.errorNumber;
        return request.pid;
    }

private:
    struct Request {
        const std::vector<std::string>& arguments;
        int output;
        const std::string& workingFolder;
        pid_t pid = -1;
        int errorNumber = 0;
        bool finished = false;
    };

    void serve() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wakeUp_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                return;
            }
            Request* request = queue_.front();
            queue_.pop_front();
            lock.unlock();
            request->errorNumber = spawnProcess(request->arguments, request->output,
                                                request->workingFolder, request->pid);
            lock.lock();
            request->finished = true;
            done_.notify_all();
        }
    }

    static int spawnProcess(const std::vector<std::string>& arguments, int output,
                            const std::string& workingFolder, pid_t& pid) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);

        // The tool starts with default signal handling and an empty signal mask, reads nothing
        // from the terminal, and sits in a process group of its own, so that a Ctrl-C meant for
        // the program does not interrupt it: an abort lets the running tool finish.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        posix_spawnattr_setpgroup(&attributes, 0);
        posix_spawnattr_setflags(
            &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
        posix_spawn_file_actions_t fileActions;
        posix_spawn_file_actions_init(&fileActions);
        posix_spawn_file_actions_addopen(&fileActions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        if (output >= 0) {
            posix_spawn_file_actions_adddup2(&fileActions, output, STDOUT_FILENO);
            posix_spawn_file_actions_adddup2(&fileActions, output, STDERR_FILENO);
        }
        // In the child only: the program's own folder stays, for the other tasks' tools.
        if (!workingFolder.empty()) {
            posix_spawn_file_actions_addchdir_np(&fileActions, workingFolder.c_str());
        }

        const int result =
            posix_spawn(&pid, argv[0], &fileActions, &attributes, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fileActions);
        posix_spawnattr_destroy(&attributes);
        if (result != 0) {
            pid = -1;
        }
        return result;
    }

    std::mutex mutex_;
    std::condition_variable wakeUp_;
    std::condition_variable done_;
    std::deque<Request*> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

// The destination may not exist yet: the nearest folder of it that does.
std::filesystem::path nearestFolder(const std::string& destinationPath, std::error_code& error) {
    namespace fs = std::filesystem;
    fs::path place = fs::absolute(destinationPath, error);
    // A place that does not exist is no error here: its folder is looked at next.
    std::error_code missing;
    while (!error && !fs::is_directory(place, missing) && place.has_relative_path()) {
        place = place.parent_path();
    }
    return place;
}

bool isExecutableFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

// The program of that name in the folders of PATH; empty when there is none.
std::string findInPath(const std::string& name) {
    const char* const variable = std::getenv("PATH");
    std::string folders = variable != nullptr ? variable : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (end > start && isExecutableFile(candidate)) {
            return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

// A tool's standard output and error, through a pipe, appended to its file as they come, up to
// toolOutputCap bytes: a tool that writes without end fills neither the memory nor the disk.
class ToolOutputPipe {
public:
    // Throws IoError when the pipe cannot be made or the file cannot be opened.
    explicit ToolOutputPipe(const std::string& path) {
        if (pipe2(ends_, O_CLOEXEC) != 0) {
            throw ioErrorFromErrno(errno);
        }
        file_ = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
        if (file_ < 0) {
            const int failure = errno;
            close(ends_[0]);
            close(ends_[1]);
            throw ioErrorFromErrno(failure);
        }
    }
    ~ToolOutputPipe() {
        if (leftOut_ > 0) {
            const std::string note = "\r\n>>> " + std::to_string(leftOut_) +
                                     " more bytes of this tool's output left out: at most " +
                                     std::to_string(toolOutputCap) +
                                     " bytes of each tool's output are kept\r\n";
            writeAll(note.data(), note.size());
        }
        closeWriteEnd();
        close(ends_[0]);
        close(file_);
    }
    ToolOutputPipe(const ToolOutputPipe&) = delete;
    ToolOutputPipe& operator=(const ToolOutputPipe&) = delete;

    int writeEnd() const { return ends_[1]; }
    void closeWriteEnd() {
        if (ends_[1] >= 0) {
            close(ends_[1]);
            ends_[1] = -1;
        }
    }

    // Copies what the tool writes until the pipe ends. A tool that ends while something it
    // started still holds the pipe is not waited for beyond what is already there: true, with
    // its status, when the tool was reaped here.
    bool copyUntilEnd(pid_t pid, int& status) {
        std::vector<char> block(outputBlockBytes);
        bool ended = false;
        for (;;) {
            pollfd waiting{ends_[0], POLLIN, 0};
            const int ready = poll(&waiting, 1, ended ? 0 : pollMilliseconds);
            if (ready < 0 && errno != EINTR) {
                break;
            }
            if (ready > 0) {
                const ssize_t got = read(ends_[0], block.data(), block.size());
                if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {
                    break;
                }
                if (got > 0) {
                    keep(block.data(), static_cast<std::size_t>(got));
                }
                continue;
            }
            if (ended) {
                break;
            }
            ended = waitpid(pid, &status, WNOHANG) == pid;
        }
        return ended || waitpid(pid, &status, WNOHANG) == pid;
    }

private:
    void keep(const char* data, std::size_t size) {
        const std::size_t room = toolOutputCap - std::min(kept_, toolOutputCap);
        const std::size_t taken = std::min(room, size);
        writeAll(data, taken);
        kept_ += taken;
        leftOut_ += size - taken;
    }

    void writeAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t written = write(file_, data, size);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return;  // a full disk: the tool's own outputs will show it
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }

    int ends_[2] = {-1, -1};
    int file_ = -1;
    std::size_t kept_ = 0;
    std::uint64_t leftOut_ = 0;
};

class PosixPlatform : public Platform {
public:
    std::optional<int> startTool(const std::string& commandLine,
                                 const std::vector<std::string>& arguments, int /*showMode*/,
                                 const std::string& workingFolder) override {
        // A folder or a file without execute permission is no program, whatever exec says.
        if (arguments.front().empty() || !isExecutableFile(arguments.front())) {
            return std::nullopt;
        }
        const auto [outputLog, whole] = toolOutput();
        const std::string header = "\r\n>>> " + commandLine + "\r\n";
        // Output kept whole goes to a file of the tool's own first, beside the log.
        const std::string toolOutput = outputLog.empty() || !whole
                                           ? outputLog
                                           : outputLog + "." + std::to_string(getpid()) + "-" +
                                                 std::to_string(nextOutputNumber_.fetch_add(1)) +
                                                 ".part";
        std::optional<ToolOutputPipe> pipe;
        if (!outputLog.empty()) {
            writeToFileItself(toolOutput, header, !whole);
            pipe.emplace(toolOutput);
        }
        int errorNumber = 0;
        const pid_t pid =
            launcher_.spawn(arguments, pipe ? pipe->writeEnd() : -1, workingFolder, errorNumber);
        if (pipe) {
            pipe->closeWriteEnd();
        }
        if (pid < 0) {
            pipe.reset();
            appendWhole(outputLog, toolOutput);
            return std::nullopt;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            runningTools_.insert(pid);
            if (endingTools_) {
                kill(-pid, SIGTERM);
            }
        }
        int status = 0;
        bool ended = false;
        if (pipe) {
            ended = pipe->copyUntilEnd(pid, status);
        }
        pid_t waited = ended ? pid : -1;
        while (!ended && (waited = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            runningTools_.erase(pid);
        }
        pipe.reset();
        appendWhole(outputLog, toolOutput);
        if (waited == pid && WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        // As a shell reports a tool that a signal ended.
        if (waited == pid && WIFSIGNALED(status)) {
            return 128 + WTERMSIG(status);
        }
        return -1;
    }

    void endRunningTools() override {
        std::lock_guard<std::mutex> lock(mutex_);
        endingTools_ = true;
        // Each tool leads a process group of its own: the group takes whatever the tool started.
        for (const pid_t pid : runningTools_) {
            kill(-pid, SIGTERM);
        }
    }

    void setToolOutputLog(const std::string& path) override {
        std::lock_guard<std::mutex> lock(mutex_);
        toolOutputLog_ = path;
    }

    bool collectsToolOutput() const override { return true; }

    void setToolOutputWhole(bool whole) override {
        std::lock_guard<std::mutex> lock(mutex_);
        toolOutputWhole_ = whole;
    }

    // A tool works in the program's own folder, as it always has here.
    std::string toolWorkingFolder(const std::string&) override { return std::string(); }

    std::string volumeOf(const std::string& destinationPath) override {
        struct stat status {};
        std::error_code error;
        const std::filesystem::path place = nearestFolder(destinationPath, error);
        if (error || ::stat(place.c_str(), &status) != 0) {
            return std::string();
        }
        return std::to_string(static_cast<unsigned long long>(status.st_dev));
    }

    std::int64_t freeBytesAvailable(const std::string& destinationPath) override {
        if (destinationPath.empty()) {
            throw ioErrorFromErrno(ENOENT);
        }
        std::error_code error;
        const std::filesystem::path place = nearestFolder(destinationPath, error);
        if (error) {
            throw ioErrorFromErrno(error.value());
        }
        struct statvfs fileSystem {};
        if (statvfs(place.c_str(), &fileSystem) != 0) {
            return -1;
        }
        return static_cast<std::int64_t>(fileSystem.f_bavail) *
               static_cast<std::int64_t>(fileSystem.f_frsize);
    }

    bool deleteFile(const std::string& path, std::string& reason) override {
        return deleteFileFromDisk(path, reason);
    }

    void setCurrentThreadPriority(ThreadPriority priority) override {
        if (!baseNice_) {
            return;
        }
        const int step = priority == ThreadPriority::Lowest ? lowestNiceStep : belowNormalNiceStep;
        // On Linux a thread id names that thread alone, so only the calling thread changes.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), *baseNice_ + step);
    }

    // Non-interactive: at the end of an unattended run nobody is there to type a password.
    // logind takes the request when the user's session allows it; a system without it may
    // still take it from systemctl.
    bool requestPowerOff() override {
        return runToSuccess({"busctl", "call", "org.freedesktop.login1", "/org/freedesktop/login1",
                             "org.freedesktop.login1.Manager", "PowerOff", "b", "false"}) ||
               runToSuccess({"systemctl", "poweroff", "--no-ask-password"});
    }

private:
    // True when the program, looked up in PATH, ran and exited with status 0.
    bool runToSuccess(std::vector<std::string> arguments) {
        arguments.front() = findInPath(arguments.front());
        if (arguments.front().empty()) {
            return false;
        }
        int errorNumber = 0;
        const pid_t pid = launcher_.spawn(arguments, -1, std::string(), errorNumber);
        if (pid < 0) {
            return false;
        }
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return false;
            }
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::pair<std::string, bool> toolOutput() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return {toolOutputLog_, toolOutputWhole_};
    }

    // Moves a tool's own output file to the end of the tools log, one tool at a time.
    void appendWhole(const std::string& outputLog, const std::string& toolOutput) {
        if (toolOutput == outputLog) {
            return;
        }
        std::lock_guard<std::mutex> lock(appendMutex_);
        try {
            // In blocks: a tool's output is never held whole in memory.
            std::ifstream in(toolOutput, std::ios::binary);
            std::string block(outputBlockBytes, '\0');
            while (in.read(block.data(), static_cast<std::streamsize>(block.size())) ||
                   in.gcount() > 0) {
                writeToFileItself(outputLog, block.substr(0, static_cast<std::size_t>(in.gcount())),
                                  true);
            }
        } catch (...) {
            std::remove(toolOutput.c_str());
            throw;
        }
        std::remove(toolOutput.c_str());
    }

    // The nice value of the thread that created the platform. A thread inherits the value of the
    // thread that creates it, so a monitor made on the lowered runner thread must not count from
    // its own.
    static std::optional<int> creatorNice() {
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
        return errno == 0 ? std::optional<int>(nice) : std::nullopt;
    }

    mutable std::mutex mutex_;
    std::string toolOutputLog_;
    bool toolOutputWhole_ = false;
    std::atomic<unsigned> nextOutputNumber_{0};
    std::mutex appendMutex_;
    std::set<pid_t> runningTools_;
    bool endingTools_ = false;
    const std::optional<int> baseNice_ = creatorNice();
    ProcessLauncher launcher_;
};

}  // namespace

std::unique_ptr<Platform> createPlatform() {
    return std::make_unique<PosixPlatform>();
}

std::string runningProgramPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::tm localTime(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

}  // namespace platform
