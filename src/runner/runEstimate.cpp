#include "runner/runEstimate.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "files/systemEncoding.h"
#include "language/language.h"
#include "runner/plan/taskPlan.h"

namespace {

double bytesOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<double>(size);
}

}  // namespace

TaskWork workOf(const plan::TaskPlan& plan) {
    TaskWork work;
    work.toolRuns = plan.toolRunCount();
    if (plan.stages.empty()) {
        return work;
    }
    const plan::Stage& first = plan.stages.front();
    for (const std::string& input : first.inputs) {
        work.sourceBytes += bytesOf(input);
    }
    work.firstStageRuns = first.toolRunCount();
    return work;
}

RunEstimate::RunEstimate(std::vector<TaskWork> tasks, bool sideBySide, Clock now)
    : tasks_(std::move(tasks)),
      sideBySide_(sideBySide),
      now_(std::move(now)),
      start_(now_()),
      states_(tasks_.size()) {
    for (const TaskWork& work : tasks_) {
        totalBytes_ += work.sourceBytes;
    }
}

RunEstimate::TaskState* RunEstimate::stateOf(int runTask) {
    return runTask >= 0 && runTask < static_cast<int>(states_.size())
               ? &states_[static_cast<std::size_t>(runTask)]
               : nullptr;
}

void RunEstimate::taskStarted(int runTask) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (TaskState* state = stateOf(runTask)) {
        *state = TaskState{};
        state->started = true;
        latestStarted_ = std::max(latestStarted_, runTask);
    }
}

void RunEstimate::toolRunStarted(int runTask) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (TaskState* state = stateOf(runTask)) {
        state->runPercentage = 0;
    }
}

void RunEstimate::toolRunProgress(int runTask, int percentage) {
    std::lock_guard<std::mutex> lock(mutex_);
    TaskState* state = stateOf(runTask);
    if (state && state->runPercentage >= 0) {
        state->runPercentage = std::clamp(percentage, 0, 100);
    }
}

void RunEstimate::toolRunEnded(int runTask) {
    std::lock_guard<std::mutex> lock(mutex_);
    TaskState* state = stateOf(runTask);
    if (!state || state->runPercentage < 0) {
        return;
    }
    state->runPercentage = -1;
    ++state->runsEnded;
    if (state->runsEnded == tasks_[static_cast<std::size_t>(runTask)].firstStageRuns) {
        stageEnded_ = true;
    }
}

void RunEstimate::taskEnded(int runTask) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (TaskState* state = stateOf(runTask)) {
        // A task that ended early still counts whole: its bytes are no longer to come.
        state->ended = true;
        state->runPercentage = -1;
    }
}

double RunEstimate::shareDone(std::size_t runTask) const {
    const TaskState& state = states_[runTask];
    const TaskWork& work = tasks_[runTask];
    if (state.ended) {
        return 1;
    }
    if (!state.started || work.toolRuns == 0) {
        return 0;
    }
    const double runs = std::min<double>(
        state.runsEnded + (state.runPercentage >= 0 ? state.runPercentage / 100.0 : 0.0),
        work.toolRuns);
    return runs / work.toolRuns;
}

RunPosition RunEstimate::position() const {
    std::lock_guard<std::mutex> lock(mutex_);
    RunPosition position;
    position.taskCount = static_cast<int>(tasks_.size());
    position.task = latestStarted_ + 1;
    position.sideBySide = sideBySide_;
    double done = 0;
    double slowestShare = 2;
    for (std::size_t i = 0; i < tasks_.size(); ++i) {
        const double share = shareDone(i);
        done += tasks_[i].sourceBytes * share;
        if (states_[i].ended) {
            ++position.ended;
        } else if (states_[i].started) {
            ++position.running;
            if (share < slowestShare) {
                slowestShare = share;
                position.slowest = static_cast<int>(i);
            }
        }
    }
    if (totalBytes_ <= 0) {
        return position;
    }
    position.percent = std::clamp(static_cast<int>(done * 100 / totalBytes_), 0, 100);
    if (stageEnded_ && done > 0) {
        const double elapsed = std::chrono::duration<double>(now_() - start_).count();
        const double secondsLeft = elapsed * (totalBytes_ - done) / done;
        position.minutesLeft = std::max(1, static_cast<int>(std::ceil(secondsLeft / 60)));
    }
    return position;
}

std::string runPositionText(const RunPosition& position) {
    if (position.task == 0) {
        return std::string();
    }
    std::string text =
        position.sideBySide
            ? platform::systemText(language::runDash) + std::to_string(position.running) +
                  (position.running == 1 ? language::runTaskRunning : language::runTasksRunning) +
                  std::to_string(position.ended) + language::runTaskOf +
                  std::to_string(position.taskCount) + language::runTasksEnded
            : platform::systemText(language::runTaskPosition) + std::to_string(position.task) +
                  language::runTaskOf + std::to_string(position.taskCount);
    if (position.minutesLeft) {
        text +=
            language::runAbout + std::to_string(*position.minutesLeft) + language::runMinutesLeft;
    }
    return text;
}

std::string runCaption(const RunPosition& position) {
    return std::to_string(position.percent) + platform::systemText(language::runCaptionPercent) +
           language::programTitle;
}
