#include "runner/runSession.h"

#include <algorithm>

#include "files/fileLock.h"
#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "runner/plan/taskPlan.h"
#include "runner/runLog.h"
#include "storage/settings.h"

namespace {

std::vector<TaskWork> workOfTasks(const TAllTask& tasks, const TaskNumbers& chosen,
                                  const SettingsValues& settings) {
    std::vector<TaskWork> work;
    work.reserve(chosen.size());
    for (const int number : chosen) {
        const Ttask& task = *tasks.taskAt(number);
        work.push_back(workOf(plan::planTask(task, surveyedStreams(task), settings)));
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
      chosen_(chosen),
      sideBySide_(services.tasksAtOnce > 1),
      estimate_(workOfTasks(tasks, chosen, services.settings.values()), sideBySide_) {
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
    if (sideBySide_) {
        log_.startJournal();
    }
    if (!toolsLog.empty()) {
        platform_.setToolOutputLog(toolsLog);
        // Tools running side by side would interleave their output line by line.
        platform_.setToolOutputWhole(sideBySide_);
    }
    board_.runStarted(tasks, chosen, sideBySide_);
    run_ = std::make_unique<ParallelRun>(
        tasks, chosen, services.tasksAtOnce,
        TprocessThread::Services{services.settings, services.platform, services.messages,
                                 std::move(services.formats)},
        handlers(), [this](int taskIndex, bool cutShort) { onTaskEnd(taskIndex, cutShort); });
}

RunSession::~RunSession() {
    waitForEnd();
}

int RunSession::runTaskOf(int taskIndex) const {
    const auto place = std::lower_bound(chosen_.begin(), chosen_.end(), taskIndex);
    return place != chosen_.end() && *place == taskIndex ? static_cast<int>(place - chosen_.begin())
                                                         : -1;
}

void RunSession::writeEntry(int taskIndex, const std::function<void(RunLog::Block*)>& write) {
    writeLog([&] {
        if (!sideBySide_) {
            write(nullptr);
            return;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        write(&blocks_.try_emplace(taskIndex, taskIndex).first->second);
    });
}

TprocessThread::Handlers RunSession::handlers() {
    TprocessThread::Handlers handlers;
    handlers.OnTaskStart = [this](TprocessThread&, const std::string& text, int taskIndex) {
        estimate_.taskStarted(runTaskOf(taskIndex));
        writeEntry(taskIndex,
                   [&](RunLog::Block* block) { log_.taskStart(text, taskIndex, block); });
        board_.taskStarted(taskIndex);
        view_.taskStarted(taskIndex);
        showPosition();
    };
    handlers.OnStepStart = [this](TprocessThread& runner, const std::string& text, int taskIndex) {
        onStepStart(runner, text, taskIndex);
    };
    handlers.OnStepDone = [this](TprocessThread&, const std::string& text, int taskIndex) {
        stopMonitor(taskIndex);
        estimate_.toolRunEnded(runTaskOf(taskIndex));
        writeEntry(taskIndex, [&](RunLog::Block* block) { log_.stepDone(text, block); });
        board_.stepDone(taskIndex);
        view_.stepDone(text, taskIndex);
        showPosition();
    };
    handlers.OnTaskError = [this](TprocessThread&, const std::string& text, int taskIndex) {
        writeEntry(taskIndex, [&](RunLog::Block* block) { log_.taskError(text, block); });
        board_.taskFailed(taskIndex);
        view_.taskFailed(text, taskIndex);
    };
    handlers.OnRunFinished = [this] { onRunFinished(); };
    return handlers;
}

void RunSession::onStepStart(TprocessThread& runner, const std::string& text, int taskIndex) {
    const int runTask = runTaskOf(taskIndex);
    estimate_.toolRunStarted(runTask);
    writeEntry(taskIndex, [&](RunLog::Block* block) { log_.stepStart(text, block); });
    board_.stepStarted(taskIndex, text);
    view_.stepStarted(text, taskIndex);
    showPosition();
    stopMonitor(taskIndex);  // at most one monitor per task at a time
    monitors_[taskIndex] = std::make_unique<TprogressThread>(
        runner.currentTarget(), runner.expectedSize(), runner.currentTargetIsFolder(),
        [this, runTask](TprogressThread&, int percentage) {
            estimate_.toolRunProgress(runTask, percentage);
            if (sideBySide_) {
                // The gauge shows the whole run, not this step.
                const RunPosition position = estimate_.position();
                board_.positionChanged(position);
                view_.progress(position.percent);
                view_.runPosition(position);
            } else {
                board_.progress(percentage);
                view_.progress(percentage);
                showPosition();
            }
        },
        platform_);
}

void RunSession::onTaskEnd(int taskIndex, bool cutShort) {
    stopMonitor(taskIndex);
    estimate_.taskEnded(runTaskOf(taskIndex));
    board_.taskEnded(taskIndex, cutShort);
    if (sideBySide_) {
        RunLog::Block block;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto held = blocks_.find(taskIndex);
            if (held != blocks_.end()) {
                block = std::move(held->second);
                blocks_.erase(held);
            }
        }
        writeLog([&] { log_.writeBlock(block); });
    }
    showPosition();
}

void RunSession::onRunFinished() {
    for (auto& monitor : monitors_) {
        monitor.second->requestStop();
    }
    monitors_.clear();
    int abortsToLog = 0;
    {
        // An abort from now on would log after the end of the run.
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        if (stoppedQuietly_) {
            return;
        }
        abortsToLog = abortsToLog_;
    }
    try {
        writeLog([this, abortsToLog] {
            for (int i = 0; i < abortsToLog; ++i) {
                log_.abort();
            }
            log_.endOfRun();
        });
    } catch (...) {
        view_.runFinished();
        throw;
    }
    view_.runFinished();
}

void RunSession::writeLog(const std::function<void()>& write) {
    try {
        write();
    } catch (const IoError&) {
        logWriteFailed_ = true;
        throw;
    }
}

void RunSession::stopMonitor(int taskIndex) {
    const auto monitor = monitors_.find(taskIndex);
    if (monitor != monitors_.end()) {
        monitor->second->requestStop();
        monitors_.erase(monitor);
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
    run_->requestStop();
    board_.abortRequested();
    if (sideBySide_) {
        // Each block shows where its task stood, so that a retry finds the tasks cut short.
        writeLog([this] {
            for (auto& block : blocks_) {
                log_.abort(&block.second);
            }
        });
        ++abortsToLog_;
    } else {
        writeLog([this] { log_.abort(); });
    }
    return true;
}

void RunSession::stopQuietly() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stoppedQuietly_ = true;
    }
    run_->requestStop();
}

void RunSession::waitForEnd() {
    run_->waitForEnd();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!endReported_) {
        endReported_ = true;
        board_.runEnded();
    }
}
