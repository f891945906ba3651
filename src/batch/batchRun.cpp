#include "batch/batchRun.h"

#include "batch/chosenTasks.h"
#include "files/textFile.h"
#include "language/consoleTexts.h"
#include "platform/programLocation.h"
#include "platform/userFiles.h"
#include "runner/runLog.h"
#include "runner/runSession.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "task/task.h"

BatchRun::BatchRun(platform::Platform& platform, std::string programPath, RegionalFormats formats,
                   ConsoleReport& console)
    : platform_(platform),
      programPath_(std::move(programPath)),
      formats_(std::move(formats)),
      console_(console) {}

BatchRun::~BatchRun() = default;

namespace {

// A batch run shows its events as console lines.
class ConsoleRunView : public RunView {
public:
    explicit ConsoleRunView(ConsoleReport& console) : console_(console) {}

    void taskStarted(int taskIndex) override { console_.taskStart(taskIndex); }
    void stepStarted(const std::string& text) override { console_.stepStart(text); }
    void stepDone(const std::string& text) override { console_.stepDone(text); }
    void taskFailed(const std::string& text, int) override { console_.taskError(text); }
    void progress(int percentage) override { console_.progress(percentage); }
    void runPosition(const RunPosition& position) override {
        console_.runPosition(runPositionText(position));
    }
    void runFinished() override {}

private:
    ConsoleReport& console_;
};

}  // namespace

BatchRun::ExitStatus BatchRun::run(const BatchOptions& options) {
    // By default a batch run shares the settings and the latest log of the window program that
    // lies beside it.
    const userFiles::Locations windowFiles =
        userFiles::locate(programLocation::folderOf(programPath_) + "marovink");
    const std::string settingsPath =
        options.settingsPath.empty() ? windowFiles.settingsFile : options.settingsPath;
    const std::string logPath = options.logPath.empty() ? windowFiles.runLog : options.logPath;
    // A settings file named on purpose and missing is a mistake, not a wish for the defaults.
    if (!options.settingsPath.empty() && !isExistingFile(settingsPath)) {
        console_.failure(language::batchSettingsMissingBefore + settingsPath +
                         language::batchSettingsMissingAfter);
        return cannotRun;
    }
    Settings settings(settingsPath, programLocation::folderOf(programPath_));
    TAllTask tasks;
    RunLog log(logPath, formats_);
    // Each run empties its log: a log that is the project or the settings would destroy them.
    for (const auto& [path, what] : {std::pair{&options.projectPath, "project file"},
                                     std::pair{&settingsPath, "settings file"}}) {
        if (namesSameFile(log.path(), *path)) {
            console_.failure(std::string("--log names the ") + what + ": " + log.path());
            return cannotRun;
        }
    }
    ConsoleRunView view(console_);
    std::unique_ptr<RunSession> session;
    // Each failure names what was being done and with which file, unless its text does.
    std::string doing;
    std::string file;
    try {
        // A missing tool is reported; the run goes on, as in the window.
        doing = language::batchReadingSettings;
        file = settingsPath;
        if (options.defaultSettings) {
            settings.loadDefaults(console_);
        } else {
            settings.load(console_);
        }
        doing = language::batchReadingProject;
        file = options.projectPath;
        projectFile::load(options.projectPath, tasks);
        const TaskNumbers chosen = chosenTasks(options, tasks.count());
        doing = language::batchWritingLog;
        file = logPath;
        session = std::make_unique<RunSession>(
            tasks, chosen, log, RunSession::Services{settings, platform_, console_, formats_},
            view);
    } catch (const std::exception& failure) {
        const std::string text = failure.what();
        console_.failure(text.find(file) != std::string::npos
                             ? text
                             : doing + file + language::batchDoingSeparator + text);
        return cannotRun;
    }
    {
        std::lock_guard<std::mutex> lock(runMutex_);
        session_ = session.get();
        logPath_ = logPath;
    }
    session->waitForEnd();
    {
        std::lock_guard<std::mutex> lock(runMutex_);
        session_ = nullptr;
    }
    const int failedTasks = session->failedTaskCount();
    console_.finished(session->startedTaskCount(), failedTasks);
    if (!session->runFailure().empty()) {
        console_.failure(language::batchRunEndedEarly +
                         (session->logWriteFailed()
                              ? ", " + std::string(language::batchWritingLog) + logPath
                              : std::string()) +
                         language::batchDoingSeparator + session->runFailure());
        return someTaskFailed;
    }
    if (session->aborted()) {
        console_.aborted(session->tasksNotRun());
        return runAborted;
    }
    return failedTasks == 0 ? noTaskFailed : someTaskFailed;
}

void BatchRun::abort() {
    std::lock_guard<std::mutex> lock(runMutex_);
    if (session_ == nullptr) {
        return;
    }
    try {
        if (session_->abort()) {
            console_.aborting();
        }
    } catch (const std::exception& failure) {
        console_.failure(language::batchWritingLog + logPath_ + language::batchDoingSeparator +
                         failure.what());
    }
}
