#include "runner/runSession.h"

#include "files/fileLock.h"
#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "runner/plan/taskPlan.h"
#include "runner/state/runLog.h"
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

// The list the runner takes: each task as the run goes on with it.
TAllTask resumedList(const TAllTask& tasks,
                     const std::map<int, std::vector<std::string>>& deletedEarlier) {
    TAllTask list;
    for (int i = 0; i < tasks.count(); ++i) {
        const auto deleted = deletedEarlier.find(i);
        list.add(deleted == deletedEarlier.end() ? tasks.taskAt(i)
                                                 : std::make_shared<Ttask>(plan::resumedTask(
                                                       *tasks.taskAt(i), deleted->second)));
    }
    return list;
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
      start_(std::chrono::steady_clock::now()) {
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
    const TAllTask runTasks = resumedList(tasks, services.deletedEarlier);
    board_.runStarted(tasks, chosen, workOfTasks(runTasks, chosen, services.settings.values()),
                      sideBySide_);
    TprocessThread::Handlers handlers;
    handlers.OnEvent = [this](const RunEvent& event) { onEvent(event); };
    handlers.OnRunFinished = [this] { onRunFinished(); };
    run_ = std::make_unique<ParallelRun>(
        runTasks, chosen, services.tasksAtOnce,
        TprocessThread::Services{services.settings, services.platform, services.messages,
                                 std::move(services.formats)},
        std::move(handlers));
}

RunSession::~RunSession() {
    waitForEnd();
}

double RunSession::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
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

void RunSession::onEvent(const RunEvent& event) {
    if (event.kind == RunEvent::Kind::taskEnded) {
        onTaskEnd(event);
        return;
    }
    if (event.kind == RunEvent::Kind::stepDone) {
        stopMonitor(event.task);
    }
    logEvent(event);
    show(event);
    if (event.kind == RunEvent::Kind::stepStarted) {
        startMonitor(event);
    }
}

void RunSession::logEvent(const RunEvent& event) {
    const std::string text = eventText(event);
    writeEntry(event.task, [&](RunLog::Block* block) {
        switch (event.kind) {
            case RunEvent::Kind::taskStarted:
                log_.taskStart(text, event.task, block);
                break;
            case RunEvent::Kind::stepStarted:
                log_.stepStart(text, block);
                break;
            case RunEvent::Kind::stepDone:
                log_.stepDone(text, block);
                break;
            case RunEvent::Kind::taskError:
                log_.taskError(text, block);
                break;
            default:
                break;
        }
    });
}

void RunSession::show(const RunEvent& event) {
    const RunPosition position = board_.apply(event, elapsedSeconds());
    view_.runEvent(event);
    view_.runPosition(position);
}

void RunSession::startMonitor(const RunEvent& stepStart) {
    const int taskIndex = stepStart.task;
    stopMonitor(taskIndex);  // at most one monitor per task at a time
    monitors_[taskIndex] = std::make_unique<TprogressThread>(
        stepStart.target, stepStart.expectedKb, stepStart.targetIsFolder,
        [this, taskIndex](TprogressThread&, int percentage) { onProgress(taskIndex, percentage); },
        platform_);
}

void RunSession::onProgress(int taskIndex, int percentage) {
    const RunPosition position =
        board_.apply(RunEvent::progressOf(taskIndex, percentage), elapsedSeconds());
    // With several tasks at once, the gauge shows the whole run, not this step.
    view_.progress(sideBySide_ ? position.percent : percentage);
    view_.runPosition(position);
}

void RunSession::onTaskEnd(const RunEvent& event) {
    stopMonitor(event.task);
    if (sideBySide_) {
        RunLog::Block block;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto held = blocks_.find(event.task);
            if (held != blocks_.end()) {
                block = std::move(held->second);
                blocks_.erase(held);
            }
        }
        writeLog([&] { log_.writeBlock(block); });
    }
    show(event);
}

void RunSession::onRunFinished() {
    for (auto& monitor : monitors_) {
        monitor.second->requestStop();
    }
    monitors_.clear();
    int abortsToLog = 0;
    bool stopAfterRunningToLog = false;
    {
        // An abort from now on would log after the end of the run.
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        if (stoppedQuietly_) {
            return;
        }
        abortsToLog = abortsToLog_;
        stopAfterRunningToLog = stopAfterRunningToLog_;
    }
    try {
        writeLog([this, abortsToLog, stopAfterRunningToLog] {
            for (int i = 0; i < abortsToLog; ++i) {
                log_.abort();
            }
            if (stopAfterRunningToLog) {
                // After every block of the tasks that ran: each ended whole.
                log_.stoppedAfterRunningTasks();
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

bool RunSession::abort() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (finished_) {
        return false;
    }
    run_->requestStop();
    board_.apply(RunEvent::abort(), elapsedSeconds());
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

bool RunSession::stopAfterRunningTasks() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (finished_ || stopAfterRunningToLog_) {
        return false;
    }
    stopAfterRunningToLog_ = true;
    run_->stopStarting();
    board_.apply(RunEvent::stopAfterRunning(), elapsedSeconds());
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
        board_.apply(RunEvent::runEnd());
    }
}
