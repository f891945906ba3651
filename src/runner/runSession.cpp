#include "runner/runSession.h"

#include "files/fileLock.h"
#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "runner/runLog.h"

namespace {

std::vector<TaskWork> workOfTasks(const TAllTask& tasks, const TaskNumbers& chosen) {
    std::vector<TaskWork> work;
    work.reserve(chosen.size());
    for (const int number : chosen) {
        work.push_back(workOf(*tasks.taskAt(number)));
    }
    return work;
}

}  // namespace

RunSession::RunSession(const TAllTask& tasks, RunLog& log, Services services, RunView& view,
                       TaskBoard& board)
    : RunSession(tasks, taskSelection::all(tasks.count()), log, std::move(services), view, board) {}

RunSession::RunSession(const TAllTask& tasks, const TaskNumbers& chosen, RunLog& log,
                       Services services, RunView& view, TaskBoard& board)
    : logLock_(FileLock::tryTakeLockFile(RunLog::lockFileOf(log.path()))),
      log_(log),
      view_(view),
      board_(board),
      platform_(services.platform),
      estimate_(workOfTasks(tasks, chosen)) {
    if (logLock_) {
        // A run of an earlier version locks the log itself.
        earlierVersionsLogLock_ = FileLock::tryTake(log_.path());
    }
    if (!logLock_ || !earlierVersionsLogLock_) {
        throw IoError(language::runLogInUse + log_.path());
    }
    const std::string toolsLog = platform_.collectsToolOutput()
                                     ? programLocation::toolsLogBeside(log_.path())
                                     : std::string();
    log_.empty(toolsLog);
    if (!toolsLog.empty()) {
        platform_.setToolOutputLog(toolsLog);
    }
    board_.runStarted(tasks, chosen);
    runner_ = std::make_unique<TprocessThread>(
        tasks, chosen,
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
        estimate_.taskStarted();
        writeLog([&] { log_.taskStart(text, taskIndex); });
        board_.taskStarted(taskIndex);
        view_.taskStarted(taskIndex);
        showPosition();
    };
    handlers.OnStepStart = [this](TprocessThread& runner, const std::string& text, int) {
        onStepStart(runner, text);
    };
    handlers.OnStepDone = [this](TprocessThread&, const std::string& text, int) {
        stopMonitor();
        estimate_.toolRunEnded();
        writeLog([&] { log_.stepDone(text); });
        board_.stepDone();
        view_.stepDone(text);
        showPosition();
    };
    handlers.OnTaskError = [this](TprocessThread&, const std::string& text, int taskIndex) {
        writeLog([&] { log_.taskError(text); });
        board_.taskFailed(taskIndex);
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
            writeLog([this] { log_.endOfRun(); });
        } catch (...) {
            view_.runFinished();
            throw;
        }
        view_.runFinished();
    };
    return handlers;
}

void RunSession::onStepStart(TprocessThread& runner, const std::string& text) {
    estimate_.toolRunStarted();
    writeLog([&] { log_.stepStart(text); });
    board_.stepStarted(text);
    view_.stepStarted(text);
    showPosition();
    stopMonitor();  // at most one monitor at a time
    monitor_ = std::make_unique<TprogressThread>(
        runner.currentTarget(), runner.expectedSize(), runner.currentTargetIsFolder(),
        [this](TprogressThread&, int percentage) {
            estimate_.toolRunProgress(percentage);
            board_.progress(percentage);
            view_.progress(percentage);
            showPosition();
        },
        platform_);
}

void RunSession::writeLog(const std::function<void()>& write) {
    try {
        write();
    } catch (const IoError&) {
        logWriteFailed_ = true;
        throw;
    }
}

void RunSession::stopMonitor() {
    if (monitor_) {
        monitor_->requestStop();
        monitor_.reset();
    }
}

void RunSession::showPosition() {
    const RunPosition position = estimate_.position();
    board_.positionChanged(position);
    view_.runPosition(position);
}

bool RunSession::abort() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (finished_) {
        return false;
    }
    runner_->requestStop();
    board_.abortRequested();
    writeLog([this] { log_.abort(); });
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
    std::lock_guard<std::mutex> lock(mutex_);
    if (!endReported_) {
        endReported_ = true;
        board_.runEnded(runner_->cutShortTaskIndex(), !runner_->runFailure().empty());
    }
}
