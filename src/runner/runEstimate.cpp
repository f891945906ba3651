#include "runner/runEstimate.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "files/systemEncoding.h"
#include "language/language.h"
#include "task/task.h"

namespace {

double bytesOf(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<double>(size);
}

}  // namespace

TaskWork workOf(const Ttask& task) {
    TaskWork work;
    if (task.doDemux) {
        work.sourceBytes = bytesOf(task.origVobFilePath);
        work.toolRuns += 2;
        work.firstStageRuns = 2;
    }
    if (task.doRemux) {
        if (work.toolRuns == 0) {
            work.sourceBytes = bytesOf(task.m2vFilePath) + bytesOf(task.ac3FilePath);
            work.firstStageRuns = 1;
        }
        work.toolRuns += 1;
    }
    if (task.doAuthor) {
        if (work.toolRuns == 0) {
            work.sourceBytes = bytesOf(task.vobFilePath);
            work.firstStageRuns = 2;
        }
        work.toolRuns += 2;
    }
    return work;
}

RunEstimate::RunEstimate(std::vector<TaskWork> tasks, Clock now)
    : tasks_(std::move(tasks)), now_(std::move(now)), start_(now_()) {
    for (const TaskWork& work : tasks_) {
        totalBytes_ += work.sourceBytes;
    }
}

void RunEstimate::taskStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (task_ >= 0) {
        // A task that ended early still counts whole: its bytes are no longer to come.
        bytesOfEndedTasks_ += tasks_[static_cast<std::size_t>(task_)].sourceBytes;
    }
    ++task_;
    runsEnded_ = 0;
    runPercentage_ = -1;
}

void RunEstimate::toolRunStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    runPercentage_ = 0;
}

void RunEstimate::toolRunProgress(int percentage) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (runPercentage_ >= 0) {
        runPercentage_ = std::clamp(percentage, 0, 100);
    }
}

void RunEstimate::toolRunEnded() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (runPercentage_ < 0 || task_ < 0 || task_ >= static_cast<int>(tasks_.size())) {
        return;
    }
    runPercentage_ = -1;
    ++runsEnded_;
    if (runsEnded_ == tasks_[static_cast<std::size_t>(task_)].firstStageRuns) {
        stageEnded_ = true;
    }
}

double RunEstimate::bytesDone() const {
    if (task_ < 0 || task_ >= static_cast<int>(tasks_.size())) {
        return bytesOfEndedTasks_;
    }
    const TaskWork& work = tasks_[static_cast<std::size_t>(task_)];
    if (work.toolRuns == 0) {
        return bytesOfEndedTasks_;
    }
    const double runs = std::min<double>(
        runsEnded_ + (runPercentage_ >= 0 ? runPercentage_ / 100.0 : 0.0), work.toolRuns);
    return bytesOfEndedTasks_ + work.sourceBytes * runs / work.toolRuns;
}

RunPosition RunEstimate::position() const {
    std::lock_guard<std::mutex> lock(mutex_);
    RunPosition position;
    position.taskCount = static_cast<int>(tasks_.size());
    position.task = std::min(task_ + 1, position.taskCount);
    if (totalBytes_ <= 0) {
        return position;
    }
    const double done = bytesDone();
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
    std::string text = platform::systemText(language::runTaskPosition) +
                       std::to_string(position.task) + language::runTaskOf +
                       std::to_string(position.taskCount);
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
