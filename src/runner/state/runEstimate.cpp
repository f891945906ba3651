#include "runner/state/runEstimate.h"

#include <algorithm>

#include "files/systemEncoding.h"
#include "files/textFile.h"
#include "language/language.h"
#include "runner/plan/taskPlan.h"

TaskWork workOf(const plan::TaskPlan& plan) {
    TaskWork work;
    work.toolRuns = plan.toolRunCount();
    if (plan.stages.empty()) {
        return work;
    }
    const plan::Stage& first = plan.stages.front();
    for (const std::string& input : first.inputs) {
        work.sourceBytes += static_cast<double>(fileBytesOf(input));
    }
    work.firstStageRuns = first.toolRunCount();
    return work;
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
    constexpr int secondsShown = 90;
    constexpr int secondsStep = 5;
    if (position.secondsLeft && *position.secondsLeft < secondsShown) {
        const int seconds = std::max(
            secondsStep, (*position.secondsLeft + secondsStep - 1) / secondsStep * secondsStep);
        text += language::runAbout + std::to_string(seconds) + language::runSecondsLeft;
    } else if (position.minutesLeft) {
        text +=
            language::runAbout + std::to_string(*position.minutesLeft) + language::runMinutesLeft;
    }
    return text;
}

std::string runCaption(const RunPosition& position) {
    return std::to_string(position.percent) + platform::systemText(language::runCaptionPercent) +
           language::programTitle;
}
