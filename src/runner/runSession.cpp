#include "runner/runSession.h"

#include "files/fileLock.h"
#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "runner/runLog.h"

RunSession::RunSession(const TAllTask& tasks, RunLog& log, Services services, RunView& view)
    : logLock_(FileLock::tryTake(log.path())),
      log_(log),
      view_(view),
      platform_(services.platform) {
    if (!logLock_) {
        throw IoError(language::runLogInUse + log_.path());
    }
    log_.empty();
    const std::string toolsLog = programLocation::toolsLogBeside(log_.path());
    RunLog::emptyFile(toolsLog);
    platform_.setToolOutputLog(toolsLog);
    runner_ = std::make_unique<TprocessThread>(
        tasks,
        TprocessThread::Services{services.settings, services.platform, services.messages,
                                 std::move(services.formats)},
        handlers());
}

RunSession::~RunSession() {
    waitForEnd();
}

TprocessThread::Handlers RunSession::handlers() {
    TprocessThread::Handlers handlers;
    handlers.OnTaskStart = [this](TprocessThread&, const std::string& text, int taskIndex) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++startedTasks_;
        }
        log_.taskStart(text, taskIndex);
        view_.taskStarted(taskIndex);
    };
    handlers.OnStepStart = [this](TprocessThread& runner, const std::string& text, int) {
        onStepStart(runner, text);
    };
    handlers.OnStepDone = [this](TprocessThread&, const std::string& text, int) {
        stopMonitor();
        log_.stepDone(text);
        view_.stepDone(text);
    };
    handlers.OnTaskError = [this](TprocessThread&, const std::string& text, int taskIndex) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            failedTasks_.insert(taskIndex);
        }
        log_.taskError(text);
        view_.taskFailed(text, taskIndex);
    };
    handlers.OnRunFinished = [this] {
        stopMonitor();
        {
            // An abort from now on would log after the end of the run.
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
            if (stoppedQuietly_) {
                return;
            }
        }
        try {
            log_.endOfRun();
        } catch (...) {
            view_.runFinished();
            throw;
        }
        view_.runFinished();
    };
    return handlers;
}

void RunSession::onStepStart(TprocessThread& runner, const std::string& text) {
    log_.stepStart(text);
    view_.stepStarted(text);
    stopMonitor();  // at most one monitor at a time
    monitor_ = std::make_unique<TprogressThread>(
        runner.currentTarget(), runner.expectedSize(), runner.currentTargetIsFolder(),
        [this](TprogressThread&, int percentage) { view_.progress(percentage); }, platform_);
}

void RunSession::stopMonitor() {
    if (monitor_) {
        monitor_->requestStop();
        monitor_.reset();
    }
}

bool RunSession::abort() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (finished_) {
        return false;
    }
    runner_->requestStop();
    log_.abort();
    return true;
}

void RunSession::stopQuietly() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stoppedQuietly_ = true;
    }
    runner_->requestStop();
}

void RunSession::waitForEnd() {
    runner_->waitForEnd();
}

int RunSession::startedTaskCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return startedTasks_;
}

int RunSession::failedTaskCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(failedTasks_.size());
}
