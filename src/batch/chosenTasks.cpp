#include "batch/chosenTasks.h"

#include "files/textFile.h"
#include "language/language.h"
#include "runner/state/runJournal.h"

EarlierRun readEarlierRun(const std::string& path, int count) {
    TextLineReader reader(path);
    taskSelection::LogReading reading(count);
    // A run killed while its tasks ran side by side may have written nothing to its log yet: its
    // journal holds the rest of its record.
    const HeldBlocks held = heldBlocksBeside(path);
    std::string line;
    // A run log begins with at most three empty lines; reading no further than its first entry
    // keeps a large file of another kind from being read whole.
    constexpr std::size_t longestOpening = 100;
    bool opened = false;
    for (int i = 0; i < 4 && !opened; ++i) {
        if (!reader.readShortLine(line, longestOpening)) {
            // Only a log with its journal beside it may hold no entry yet.
            if (!line.empty() || !held.found) {
                throw NotARunLog(path);
            }
            break;
        }
        if (!line.empty() && !taskSelection::opensRunLog(line)) {
            throw NotARunLog(path);
        }
        opened = !line.empty();
        reading.line(line);
    }
    if (!opened && !held.found) {
        throw NotARunLog(path);
    }
    while (reader.readLine(line)) {
        reading.line(line);
    }
    if (held.found) {
        reading.blockEnded();
        // Each held block's task was running when the run ended: it was cut short.
        for (const std::string& block : held.blocks) {
            std::size_t start = 0;
            for (std::size_t end; (end = block.find('\n', start)) != std::string::npos;
                 start = end + 1) {
                const std::size_t length =
                    end > start && block[end - 1] == '\r' ? end - start - 1 : end - start;
                reading.line(block.substr(start, length));
            }
            reading.line(language::logAborted);
        }
    }
    EarlierRun earlier{reading.finished(), {}};
    for (const int number : reading.state().unfinished()) {
        const std::vector<std::string>& deleted = reading.state().task(number).deletedInputs;
        if (!deleted.empty()) {
            earlier.deletedInputs[number] = deleted;
        }
    }
    return earlier;
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
