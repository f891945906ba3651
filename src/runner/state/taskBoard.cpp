#include "runner/state/taskBoard.h"

#include <algorithm>

#include "language/language.h"

using Lock = std::lock_guard<std::mutex>;

namespace {

TaskBoard::Mark markOf(RunState::Status status) {
    switch (status) {
        case RunState::Status::running:
            return TaskBoard::Mark::running;
        case RunState::Status::done:
            return TaskBoard::Mark::done;
        case RunState::Status::doneWithErrors:
            return TaskBoard::Mark::failed;
        case RunState::Status::cutShort:
            return TaskBoard::Mark::cutShort;
        case RunState::Status::notInRun:
        case RunState::Status::waiting:
        case RunState::Status::notReached:
            break;
    }
    return TaskBoard::Mark::none;
}

// An error on one line, short enough for a hover text.
std::string shortenedError(const std::string& error) {
    constexpr std::size_t longest = 160;
    std::string line;
    for (const char c : error) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += ' ';
            }
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    if (line.size() > longest) {
        // Never within a character of several bytes.
        std::size_t cut = longest;
        while (cut > longest - 3 && (static_cast<unsigned char>(line[cut]) & 0xc0) == 0x80) {
            --cut;
        }
        line = line.substr(0, cut) + "...";
    }
    return line;
}

}  // namespace

void TaskBoard::listRebuilt(const TAllTask& list) {
    Lock lock(mutex_);
    rows_.clear();
    for (int i = 0; i < list.count(); ++i) {
        rows_.push_back({list.taskAt(i), Mark::none});
    }
}

void TaskBoard::runStarted(const TAllTask& list, const TaskNumbers& chosen,
                           std::vector<TaskWork> work, bool sideBySide) {
    Lock lock(mutex_);
    runTasks_.clear();
    runNumbers_.clear();
    for (int i = 0; i < list.count(); ++i) {
        runTasks_.push_back(list.taskAt(i));
        runNumbers_.emplace(runTasks_.back().get(), i);
    }
    state_ = RunState(list.count(), chosen, std::move(work), sideBySide);
    position_.reset();
}

RunPosition TaskBoard::apply(const RunEvent& event, double elapsedSeconds) {
    Lock lock(mutex_);
    const RunState::Status before = state_.task(event.task).status;
    state_.apply(event);
    const RunState::Status after = state_.task(event.task).status;
    // A task cut short after an error keeps its status, and shows it failed.
    if (after != before) {
        // On whichever row the task now has, if any.
        const TaskRef& task = runTasks_.at(static_cast<std::size_t>(event.task));
        for (Row& row : rows_) {
            if (row.task == task) {
                row.mark = markOf(after);
            }
        }
    }
    const RunPosition position = state_.position(elapsedSeconds);
    if (state_.isRunning()) {
        position_ = position;
    } else {
        position_.reset();
    }
    return position;
}

bool TaskBoard::isRunning() const {
    Lock lock(mutex_);
    return state_.isRunning();
}

bool TaskBoard::wasAborted() const {
    Lock lock(mutex_);
    return state_.wasAborted();
}

bool TaskBoard::isSideBySide() const {
    Lock lock(mutex_);
    return state_.isSideBySide();
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

int TaskBoard::runTaskOfRow(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) ||
        rows_[static_cast<std::size_t>(row)].mark == Mark::none) {
        return -1;
    }
    const auto found = runNumbers_.find(rows_[static_cast<std::size_t>(row)].task.get());
    return found == runNumbers_.end() ? -1 : found->second;
}

std::optional<int> TaskBoard::rowPercent(int row) const {
    Lock lock(mutex_);
    const int number = runTaskOfRow(row);
    return number < 0 ? std::nullopt : state_.taskPercent(number);
}

std::string TaskBoard::rowNote(int row) const {
    Lock lock(mutex_);
    const int number = runTaskOfRow(row);
    if (number < 0) {
        return std::string();
    }
    const RunState::Task& task = state_.task(number);
    return task.status == Status::cutShort ? language::taskCutShortNote
                                           : shortenedError(task.firstError);
}

TaskBoard::Status TaskBoard::taskStatus(int taskIndex) const {
    Lock lock(mutex_);
    return state_.task(taskIndex).status;
}

TaskBoard::Tally TaskBoard::tally() const {
    Lock lock(mutex_);
    return state_.tally();
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
    Lock lock(mutex_);
    commands.stopAfterRunning = running && !state_.wasAborted() && !state_.stopsAfterRunningTasks();
    return commands;
}

std::map<int, int> TaskBoard::rowsOfUnfinishedTasks() const {
    // By identity: the list may have changed since the run.
    const TaskNumbers unfinished = state_.unfinished();
    std::map<int, int> rows;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const auto found = runNumbers_.find(rows_[i].task.get());
        if (found != runNumbers_.end() &&
            std::binary_search(unfinished.begin(), unfinished.end(), found->second)) {
            rows.emplace(static_cast<int>(i), found->second);
        }
    }
    return rows;
}

TaskNumbers TaskBoard::rowsToRetry() const {
    Lock lock(mutex_);
    TaskNumbers rows;
    for (const auto& row : rowsOfUnfinishedTasks()) {
        rows.push_back(row.first);
    }
    return rows;
}

std::map<int, std::vector<std::string>> TaskBoard::inputsDeletedOfRowsToRetry() const {
    Lock lock(mutex_);
    std::map<int, std::vector<std::string>> deleted;
    for (const auto& row : rowsOfUnfinishedTasks()) {
        const std::vector<std::string>& inputs = state_.task(row.second).deletedInputs;
        if (!inputs.empty()) {
            deleted.emplace(row.first, inputs);
        }
    }
    return deleted;
}

TaskBoard::StatusLine TaskBoard::statusLine() const {
    Lock lock(mutex_);
    StatusLine line;
    line.stopping = state_.isRunning() && state_.wasAborted();
    line.finishing = state_.isRunning() && !line.stopping && state_.stopsAfterRunningTasks();
    line.stage = state_.shownStage();
    if ((line.stopping || line.finishing || !line.stage.empty()) && position_) {
        line.position = runPositionText(*position_);
    }
    if (!state_.isRunning() && !state_.chosen().empty()) {
        line.summary = runSummary(state_.tally());
    }
    return line;
}

std::optional<int> TaskBoard::gauge() const {
    Lock lock(mutex_);
    if (!state_.isRunning()) {
        return std::nullopt;
    }
    if (state_.isSideBySide()) {
        return position_ ? position_->percent : 0;
    }
    return state_.toolPercent();
}

std::optional<RunPosition> TaskBoard::position() const {
    Lock lock(mutex_);
    return position_;
}
