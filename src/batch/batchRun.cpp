#include "batch/batchRun.h"

#include "platform/platform.h"
#include "platform/programLocation.h"
#include "platform/userFiles.h"
#include "runner/processThreadUnit.h"
#include "runner/progressThreadUnit.h"
#include "runner/runLog.h"
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

BatchRun::ExitStatus BatchRun::run(const BatchOptions& options) {
    // By default a batch run shares the settings and the latest log of the window program that
    // lies beside it.
    const userFiles::Locations windowFiles =
        userFiles::locate(programLocation::folderOf(programPath_) + "marovink");
    Settings settings(
        options.settingsPath.empty() ? windowFiles.settingsFile : options.settingsPath,
        programLocation::folderOf(programPath_));
    TAllTask tasks;
    try {
        settings.load(console_);  // a missing tool is reported; the run goes on, as in the window
        projectFile::load(options.projectPath, tasks);
        log_ = std::make_unique<RunLog>(
            options.logPath.empty() ? windowFiles.runLog : options.logPath, formats_);
        log_->empty();
        const std::string toolsLog = programLocation::toolsLogBeside(log_->path());
        RunLog::emptyFile(toolsLog);
        platform_.setToolOutputLog(toolsLog);
    } catch (const std::exception& failure) {
        console_.failure(failure.what());
        return cannotRun;
    }

    TprocessThread::Handlers handlers;
    handlers.OnTaskStart = [this](TprocessThread&, const std::string& text, int taskIndex) {
        ++startedTasks_;
        console_.taskStart(taskIndex);
        log_->taskStart(text, taskIndex);
    };
    handlers.OnStepStart = [this](TprocessThread& runner, const std::string& text, int) {
        onStepStart(runner, text);
    };
    handlers.OnStepDone = [this](TprocessThread&, const std::string& text, int) {
        onStepDone(text);
    };
    handlers.OnTaskError = [this](TprocessThread&, const std::string& text, int taskIndex) {
        onTaskError(text, taskIndex);
    };
    handlers.OnRunFinished = [this] {
        monitor_.reset();
        std::lock_guard<std::mutex> lock(runMutex_);
        runner_ = nullptr;
        log_->endOfRun();
    };

    std::string runFailure;
    {
        std::unique_lock<std::mutex> lock(runMutex_);
        TprocessThread runner(tasks, {settings, platform_, console_, formats_}, handlers);
        runner_ = &runner;
        lock.unlock();
        runner.waitForEnd();
        runFailure = runner.runFailure();
        lock.lock();
        runner_ = nullptr;
    }
    console_.finished(startedTasks_, static_cast<int>(failedTasks_.size()));
    if (!runFailure.empty()) {
        console_.failure("the run ended early: " + runFailure);
        return someTaskFailed;
    }
    return failedTasks_.empty() ? noTaskFailed : someTaskFailed;
}

void BatchRun::abort() {
    std::lock_guard<std::mutex> lock(runMutex_);
    if (runner_ == nullptr) {
        return;
    }
    runner_->requestStop();
    console_.aborting();
    try {
        log_->abort();
    } catch (const std::exception& failure) {
        console_.failure(failure.what());
    }
}

void BatchRun::onStepStart(TprocessThread& runner, const std::string& text) {
    console_.stepStart(text);
    log_->stepStart(text);
    monitor_.reset();  // at most one monitor at a time
    monitor_ = std::make_unique<TprogressThread>(
        runner.currentTarget(), runner.expectedSize(), runner.currentTargetIsFolder(),
        [this](TprogressThread&, int percentage) { console_.progress(percentage); }, platform_);
}

void BatchRun::onStepDone(const std::string& text) {
    if (monitor_) {
        monitor_->requestStop();
        monitor_.reset();
    }
    console_.stepDone(text);
    log_->stepDone(text);
}

void BatchRun::onTaskError(const std::string& text, int taskIndex) {
    failedTasks_.insert(taskIndex);
    console_.taskError(text);
    log_->taskError(text);
}
