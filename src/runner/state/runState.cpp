#include "runner/state/runState.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "language/language.h"

namespace {

bool hasStarted(RunState::Status status) {
    return status != RunState::Status::notInRun && status != RunState::Status::waiting &&
           status != RunState::Status::notReached;
}

}  // namespace

RunState::RunState(int listCount, TaskNumbers chosen, std::vector<TaskWork> work, bool sideBySide)
    : tasks_(static_cast<std::size_t>(std::max(listCount, 0))),
      chosen_(std::move(chosen)),
      work_(std::move(work)),
      sideBySide_(sideBySide),
      running_(true) {
    work_.resize(chosen_.size());
    for (const int number : chosen_) {
        if (Task* task = taskAt(number)) {
            task->status = Status::waiting;
        }
    }
}

RunState::Task* RunState::taskAt(int taskIndex) {
    return taskIndex >= 0 && taskIndex < listCount() ? &tasks_[static_cast<std::size_t>(taskIndex)]
                                                     : nullptr;
}

const RunState::Task& RunState::task(int taskIndex) const {
    static const Task outside;
    return taskIndex >= 0 && taskIndex < listCount() ? tasks_[static_cast<std::size_t>(taskIndex)]
                                                     : outside;
}

int RunState::placeOf(int taskIndex) const {
    const auto place = std::lower_bound(chosen_.begin(), chosen_.end(), taskIndex);
    return place != chosen_.end() && *place == taskIndex ? static_cast<int>(place - chosen_.begin())
                                                         : -1;
}

void RunState::apply(const RunEvent& event) {
    using Kind = RunEvent::Kind;
    if (event.kind == Kind::abortRequested) {
        aborted_ = true;
        return;
    }
    if (event.kind == Kind::stopAfterRunningRequested) {
        stopsAfterRunning_ = true;
        return;
    }
    if (event.kind == Kind::runEnded) {
        for (Task& task : tasks_) {
            if (task.status == Status::waiting) {
                task.status = Status::notReached;
            }
            task.stage.clear();
            task.toolPercent.reset();
        }
        running_ = false;
        return;
    }
    const int place = placeOf(event.task);
    if (Task* task = place < 0 ? nullptr : taskAt(event.task)) {
        applyToTask(event, place, *task);
    }
}

void RunState::applyToTask(const RunEvent& event, int place, Task& task) {
    using Kind = RunEvent::Kind;
    switch (event.kind) {
        case Kind::taskStarted:
            task = Task{};
            task.status = Status::running;
            latestStarted_ = std::max(latestStarted_, place);
            break;
        case Kind::stepStarted:
            task.stage = event.message;
            task.toolPercent = 0;
            latestStep_ = event.task;
            break;
        case Kind::progress:
            if (task.toolPercent) {
                task.toolPercent = std::clamp(event.percent, 0, 100);
            }
            break;
        case Kind::stepDone:
            task.stage.clear();
            if (!event.deletedPath.empty()) {
                task.deletedInputs.push_back(event.deletedPath);
            }
            if (event.endsToolRun && task.toolPercent) {
                ++task.toolRunsEnded;
                firstStageEnded_ = firstStageEnded_ ||
                                   task.toolRunsEnded == work_[std::size_t(place)].firstStageRuns;
            }
            task.toolPercent.reset();
            break;
        case Kind::taskError:
            task.status = Status::doneWithErrors;
            if (task.firstError.empty()) {
                task.firstError = event.message;
            }
            break;
        case Kind::taskEnded:
            // A task is done only when it ran to its end without an error.
            if (task.status == Status::running) {
                task.status = event.cutShort ? Status::cutShort : Status::done;
            }
            task.ended = true;
            task.stage.clear();
            task.toolPercent.reset();
            break;
        case Kind::abortRequested:
        case Kind::stopAfterRunningRequested:
        case Kind::runEnded:
            break;
    }
}

RunState::Tally RunState::tally() const {
    Tally tally;
    for (const Task& task : tasks_) {
        tally.notReached += task.status == Status::notReached ? 1 : 0;
        tally.done += task.status == Status::done ? 1 : 0;
        tally.cutShort += task.status == Status::cutShort ? 1 : 0;
        tally.withErrors += task.status == Status::doneWithErrors ? 1 : 0;
        tally.started += hasStarted(task.status) ? 1 : 0;
    }
    return tally;
}

TaskNumbers RunState::unfinished() const {
    TaskNumbers numbers;
    for (const int number : chosen_) {
        if (task(number).status != Status::done) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

double RunState::shareDone(std::size_t place) const {
    const Task& state = task(chosen_[place]);
    const TaskWork& work = work_[place];
    if (state.ended) {
        // A task that ended early still counts whole: its bytes are no longer to come.
        return 1;
    }
    if (!hasStarted(state.status) || work.toolRuns == 0) {
        return 0;
    }
    const double runs = std::min<double>(
        state.toolRunsEnded + state.toolPercent.value_or(0) / 100.0, work.toolRuns);
    return runs / work.toolRuns;
}

RunPosition RunState::position(double elapsedSeconds) const {
    RunPosition position;
    position.taskCount = static_cast<int>(chosen_.size());
    position.task = latestStarted_ + 1;
    position.sideBySide = sideBySide_;
    double total = 0;
    double done = 0;
    double slowestShare = 2;
    for (std::size_t place = 0; place < chosen_.size(); ++place) {
        const double share = shareDone(place);
        const Task& state = task(chosen_[place]);
        total += work_[place].sourceBytes;
        done += work_[place].sourceBytes * share;
        if (state.ended) {
            ++position.ended;
        } else if (hasStarted(state.status)) {
            ++position.running;
            if (share < slowestShare) {
                slowestShare = share;
                position.slowest = static_cast<int>(place);
            }
        }
    }
    if (total <= 0) {
        return position;
    }
    position.percent = std::clamp(static_cast<int>(done * 100 / total), 0, 100);
    if (firstStageEnded_ && done > 0) {
        const double secondsLeft = elapsedSeconds * (total - done) / done;
        position.minutesLeft = std::max(1, static_cast<int>(std::ceil(secondsLeft / 60)));
        position.secondsLeft = static_cast<int>(std::ceil(secondsLeft));
    }
    return position;
}

std::string RunState::shownStage() const {
    const int slowest = position(0).slowest;
    if (slowest >= 0 && !task(chosen_[std::size_t(slowest)]).stage.empty()) {
        return task(chosen_[std::size_t(slowest)]).stage;
    }
    for (const int number : chosen_) {
        if (!task(number).stage.empty()) {
            return task(number).stage;
        }
    }
    return std::string();
}

std::optional<int> RunState::toolPercent() const {
    return task(latestStep_).toolPercent;
}

std::optional<int> RunState::taskPercent(int taskIndex) const {
    const int place = placeOf(taskIndex);
    if (place < 0 || task(taskIndex).status != Status::running) {
        return std::nullopt;
    }
    return std::clamp(static_cast<int>(shareDone(std::size_t(place)) * 100), 0, 100);
}

std::string runSummary(const RunState::Tally& tally) {
    const int count = tally.started + tally.notReached;
    std::string text = std::to_string(count) +
                       (count == 1 ? language::runSummaryTask : language::runSummaryTasks) +
                       std::to_string(tally.done) + language::runSummaryDone;
    const std::pair<int, const char*> others[] = {
        {tally.withErrors, language::runSummaryWithErrors},
        {tally.cutShort, language::runSummaryCutShort},
        {tally.notReached, language::runSummaryNotStarted}};
    for (const auto& other : others) {
        if (other.first > 0) {
            text += language::runSummarySeparator + std::to_string(other.first) + other.second;
        }
    }
    return text;
}
