#include "runner/taskBoard.h"

#include <set>

using Lock = std::lock_guard<std::mutex>;

void TaskBoard::listRebuilt(const TAllTask& list) {
    Lock lock(mutex_);
    rows_.clear();
    for (int i = 0; i < list.count(); ++i) {
        rows_.push_back({list.taskAt(i), Mark::none});
    }
}

void TaskBoard::runStarted(const TAllTask& list, const TaskNumbers& chosen, bool sideBySide) {
    Lock lock(mutex_);
    runTasks_.clear();
    for (int i = 0; i < list.count(); ++i) {
        runTasks_.push_back({list.taskAt(i), Status::notInRun});
    }
    for (const int number : chosen) {
        runTasks_.at(static_cast<std::size_t>(number)).status = Status::waiting;
    }
    chosen_ = chosen;
    sideBySide_ = sideBySide;
    running_ = true;
    aborted_ = false;
    stages_.clear();
    stepGauge_.reset();
    position_.reset();
}

void TaskBoard::setStatus(int taskIndex, Status status, Mark mark) {
    RunTask& runTask = runTasks_.at(static_cast<std::size_t>(taskIndex));
    runTask.status = status;
    // On whichever row the task now has, if any.
    for (Row& row : rows_) {
        if (row.task == runTask.task) {
            row.mark = mark;
        }
    }
}

void TaskBoard::taskStarted(int taskIndex) {
    Lock lock(mutex_);
    setStatus(taskIndex, Status::running, Mark::running);
}

void TaskBoard::stepStarted(int taskIndex, const std::string& text) {
    Lock lock(mutex_);
    const std::size_t end = text.find("\r\n");
    stages_[taskIndex] = end == std::string::npos ? std::string() : text.substr(0, end);
    stepGauge_ = 0;
    // The step's own position follows at once.
    positionInLine_ = false;
}

void TaskBoard::stepDone(int taskIndex) {
    Lock lock(mutex_);
    stages_.erase(taskIndex);
    stepGauge_.reset();
}

void TaskBoard::taskFailed(int taskIndex) {
    Lock lock(mutex_);
    setStatus(taskIndex, Status::doneWithErrors, Mark::failed);
}

void TaskBoard::progress(int percentage) {
    Lock lock(mutex_);
    if (stepGauge_) {
        stepGauge_ = percentage;
    }
}

void TaskBoard::positionChanged(const RunPosition& position) {
    Lock lock(mutex_);
    position_ = position;
    positionInLine_ = true;
}

void TaskBoard::abortRequested() {
    Lock lock(mutex_);
    aborted_ = true;
}

void TaskBoard::taskEnded(int taskIndex, bool cutShort) {
    Lock lock(mutex_);
    const Status status = runTasks_.at(static_cast<std::size_t>(taskIndex)).status;
    // A task is done only when it ran to its end without an error.
    if (cutShort) {
        setStatus(taskIndex, status == Status::running ? Status::cutShort : status, Mark::failed);
    } else if (status == Status::running) {
        setStatus(taskIndex, Status::done, Mark::done);
    }
    stages_.erase(taskIndex);
}

void TaskBoard::runEnded() {
    Lock lock(mutex_);
    for (RunTask& runTask : runTasks_) {
        if (runTask.status == Status::waiting) {
            runTask.status = Status::notReached;
        }
    }
    running_ = false;
    stages_.clear();
    stepGauge_.reset();
    position_.reset();
}

bool TaskBoard::isRunning() const {
    Lock lock(mutex_);
    return running_;
}

bool TaskBoard::wasAborted() const {
    Lock lock(mutex_);
    return aborted_;
}

bool TaskBoard::isSideBySide() const {
    Lock lock(mutex_);
    return sideBySide_;
}

int TaskBoard::rowCount() const {
    Lock lock(mutex_);
    return static_cast<int>(rows_.size());
}

TaskBoard::Mark TaskBoard::rowMark(int row) const {
    Lock lock(mutex_);
    return row >= 0 && row < static_cast<int>(rows_.size())
               ? rows_[static_cast<std::size_t>(row)].mark
               : Mark::none;
}

TaskBoard::Status TaskBoard::taskStatus(int taskIndex) const {
    Lock lock(mutex_);
    return runTasks_.at(static_cast<std::size_t>(taskIndex)).status;
}

TaskBoard::Tally TaskBoard::tally() const {
    Lock lock(mutex_);
    Tally tally;
    for (const RunTask& runTask : runTasks_) {
        switch (runTask.status) {
            case Status::notInRun:
            case Status::waiting:
                break;
            case Status::notReached:
                ++tally.notReached;
                break;
            case Status::doneWithErrors:
                ++tally.withErrors;
                ++tally.started;
                break;
            case Status::running:
            case Status::done:
            case Status::cutShort:
                ++tally.started;
                break;
        }
    }
    return tally;
}

TaskBoard::Commands TaskBoard::commands(int selectedRow) const {
    Commands commands;
    const bool hasRows = rowCount() > 0;
    const bool running = isRunning();
    commands.start = hasRows && !running;
    commands.abort = running;
    commands.editSelected = hasRows && selectedRow >= 0 && rowMark(selectedRow) != Mark::running;
    commands.clear = hasRows;
    commands.retry = !running && !rowsToRetry().empty();
    return commands;
}

TaskNumbers TaskBoard::rowsToRetry() const {
    Lock lock(mutex_);
    // By identity: the list may have changed since the run.
    std::set<const Ttask*> retry;
    for (const RunTask& runTask : runTasks_) {
        if (runTask.status == Status::doneWithErrors || runTask.status == Status::cutShort ||
            runTask.status == Status::notReached) {
            retry.insert(runTask.task.get());
        }
    }
    TaskNumbers rows;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (retry.count(rows_[i].task.get()) != 0) {
            rows.push_back(static_cast<int>(i));
        }
    }
    return rows;
}

TaskBoard::StatusLine TaskBoard::statusLine() const {
    Lock lock(mutex_);
    StatusLine line;
    line.stopping = running_ && aborted_;
    line.stage = shownStage();
    if ((line.stopping || !line.stage.empty()) && positionInLine_ && position_) {
        line.position = runPositionText(*position_);
    }
    return line;
}

std::string TaskBoard::shownStage() const {
    if (position_ && position_->slowest >= 0 &&
        position_->slowest < static_cast<int>(chosen_.size())) {
        const auto slowest = stages_.find(chosen_[static_cast<std::size_t>(position_->slowest)]);
        if (slowest != stages_.end()) {
            return slowest->second;
        }
    }
    // Between two steps of the slowest task, another's stage.
    return stages_.empty() ? std::string() : stages_.begin()->second;
}

std::optional<int> TaskBoard::gauge() const {
    Lock lock(mutex_);
    if (sideBySide_) {
        return running_ ? std::optional<int>(position_ ? position_->percent : 0) : std::nullopt;
    }
    return stepGauge_;
}

std::optional<RunPosition> TaskBoard::position() const {
    Lock lock(mutex_);
    return position_;
}
