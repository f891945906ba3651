#include "batch/chosenTasks.h"

#include <stdexcept>

#include "files/textFile.h"

TaskNumbers chosenTasks(const BatchOptions& options, int count) {
    TaskNumbers chosen = taskSelection::all(count);
    if (!options.taskList.empty()) {
        try {
            chosen = taskSelection::parse(options.taskList, count);
        } catch (const std::invalid_argument& fault) {
            throw std::invalid_argument("--tasks: " + std::string(fault.what()));
        }
    }
    if (!options.failedFromLog.empty()) {
        // Read whole before the run empties its own log, which may be this one.
        std::vector<std::string> lines;
        try {
            TextLineReader reader(options.failedFromLog);
            std::string line;
            while (reader.readLine(line)) {
                lines.push_back(line);
            }
        } catch (const std::exception& failure) {
            throw std::runtime_error("--failed-from " + options.failedFromLog + ": " +
                                     failure.what());
        }
        chosen = taskSelection::common(chosen, taskSelection::unfinishedInLog(lines, count));
    }
    return chosen;
}
