#include "runner/state/runEvent.h"

#include "language/language.h"

namespace {

RunEvent eventOf(RunEvent::Kind kind, int task, std::string message = {}) {
    RunEvent event;
    event.kind = kind;
    event.task = task;
    event.message = std::move(message);
    return event;
}

}  // namespace

RunEvent RunEvent::taskStart(int task) {
    return eventOf(Kind::taskStarted, task);
}

RunEvent RunEvent::stepStart(int task, std::string message, std::string command, std::string target,
                             bool targetIsFolder, double expectedKb) {
    RunEvent event = eventOf(Kind::stepStarted, task, std::move(message));
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
    return eventOf(Kind::stepDone, task, std::move(message));
}

RunEvent RunEvent::deletion(int task, const std::string& path) {
    RunEvent event = done(task, path + language::fileDeleted);
    event.deletedPath = path;
    return event;
}

RunEvent RunEvent::error(int task, std::string message) {
    return eventOf(Kind::taskError, task, std::move(message));
}

RunEvent RunEvent::progressOf(int task, int percent) {
    RunEvent event = eventOf(Kind::progress, task);
    event.percent = percent;
    return event;
}

RunEvent RunEvent::taskEnd(int task, bool cutShort) {
    RunEvent event = eventOf(Kind::taskEnded, task);
    event.cutShort = cutShort;
    return event;
}

RunEvent RunEvent::abort() {
    return eventOf(Kind::abortRequested, -1);
}

RunEvent RunEvent::stopAfterRunning() {
    return eventOf(Kind::stopAfterRunningRequested, -1);
}

RunEvent RunEvent::runEnd() {
    return eventOf(Kind::runEnded, -1);
}

std::string eventText(const RunEvent& event) {
    if (event.kind == RunEvent::Kind::stepStarted) {
        return event.message + language::stepSeparator + event.command;
    }
    return event.message;
}
