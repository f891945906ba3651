#include "runner/state/runEvent.h"

#include "language/language.h"

RunEvent RunEvent::taskStart(int task) {
    RunEvent event;
    event.kind = Kind::taskStarted;
    event.task = task;
    return event;
}

RunEvent RunEvent::stepStart(int task, std::string message, std::string command, std::string target,
                             bool targetIsFolder, double expectedKb) {
    RunEvent event;
    event.kind = Kind::stepStarted;
    event.task = task;
    event.message = std::move(message);
    event.command = std::move(command);
    event.target = std::move(target);
    event.targetIsFolder = targetIsFolder;
    event.expectedKb = expectedKb;
    return event;
}

RunEvent RunEvent::toolEnd(int task, std::optional<int> exitStatus) {
    RunEvent event = done(task, language::stepDone);
    event.endsToolRun = true;
    event.exitStatus = exitStatus;
    return event;
}

RunEvent RunEvent::done(int task, std::string message) {
    RunEvent event;
    event.kind = Kind::stepDone;
    event.task = task;
    event.message = std::move(message);
    return event;
}

RunEvent RunEvent::deletion(int task, const std::string& path) {
    RunEvent event = done(task, path + language::fileDeleted);
    event.deletedPath = path;
    return event;
}

RunEvent RunEvent::error(int task, std::string message) {
    RunEvent event;
    event.kind = Kind::taskError;
    event.task = task;
    event.message = std::move(message);
    return event;
}

RunEvent RunEvent::progressOf(int task, int percent) {
    RunEvent event;
    event.kind = Kind::progress;
    event.task = task;
    event.percent = percent;
    return event;
}

RunEvent RunEvent::taskEnd(int task, bool cutShort) {
    RunEvent event;
    event.kind = Kind::taskEnded;
    event.task = task;
    event.cutShort = cutShort;
    return event;
}

RunEvent RunEvent::abort() {
    RunEvent event;
    event.kind = Kind::abortRequested;
    return event;
}

RunEvent RunEvent::stopAfterRunning() {
    RunEvent event;
    event.kind = Kind::stopAfterRunningRequested;
    return event;
}

RunEvent RunEvent::runEnd() {
    RunEvent event;
    event.kind = Kind::runEnded;
    return event;
}

std::string eventText(const RunEvent& event) {
    if (event.kind == RunEvent::Kind::stepStarted) {
        return event.message + language::stepSeparator + event.command;
    }
    return event.message;
}
