#include "batch/chosenTasks.h"

#include "files/textFile.h"

std::set<int> finishedInRunLog(const std::string& path, int count) {
    TextLineReader reader(path);
    taskSelection::LogReading reading(count);
    std::string line;
    // A run log begins with at most three empty lines; reading no further than its first entry
    // keeps a large file of another kind from being read whole.
    constexpr std::size_t longestOpening = 100;
    bool opened = false;
    for (int i = 0; i < 4 && !opened; ++i) {
        if (!reader.readShortLine(line, longestOpening) ||
            (!line.empty() && !taskSelection::opensRunLog(line))) {
            throw NotARunLog(path);
        }
        opened = !line.empty();
        reading.line(line);
    }
    if (!opened) {
        throw NotARunLog(path);
    }
    while (reader.readLine(line)) {
        reading.line(line);
    }
    return reading.finished();
}

TaskChoice chosenTasks(const BatchOptions& options, int count,
                       const std::set<int>& finishedEarlier) {
    TaskChoice choice;
    choice.toRun = options.taskList.empty() ? taskSelection::all(count)
                                            : taskSelection::parse(options.taskList, count);
    if (!options.failedFromLog.empty()) {
        choice.toRun =
            taskSelection::common(choice.toRun, taskSelection::unfinished(finishedEarlier, count));
        choice.finishedEarlier.assign(finishedEarlier.begin(), finishedEarlier.end());
    }
    return choice;
}
