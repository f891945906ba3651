#include "runner/state/runLogReading.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "language/consoleTexts.h"
#include "language/language.h"

namespace taskSelection {

namespace {

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

const std::string taskRule(90, '_');
const std::string endRule(66, '_');

// "    New Task started, task N" and what follows the N: the degree sign, which is one byte in a
// Windows code page and two in UTF-8, a blank and the number.
int taskStartNumber(const std::string& line) {
    const std::string entry = language::logTaskStarted;
    const std::string before = "    " + entry.substr(0, entry.rfind('N') + 1);
    if (!startsWith(line, before)) {
        return -1;
    }
    const std::size_t blank = line.find(' ', before.size());
    const std::size_t signLength = blank - before.size();
    if (blank == std::string::npos || signLength < 1 || signLength > 2) {
        return -1;
    }
    const std::string digits = line.substr(blank + 1);
    if (!isDigits(digits) || digits.size() > 10) {
        return -1;
    }
    const long long value = std::stoll(digits);
    return value > INT_MAX ? -1 : static_cast<int>(value);
}

// The input a stage deleted, from the entry "    PATH deleted ", which may end with the time the
// step took: "after 12s ".
std::optional<std::string> deletedPathIn(const std::string& line) {
    const std::string deleted = language::fileDeleted;
    const std::size_t at = line.rfind(deleted);
    if (!startsWith(line, "    ") || at == std::string::npos || at <= 4) {
        return std::nullopt;
    }
    const std::string rest = line.substr(at + deleted.size());
    const std::string after = language::logStepDoneAfter;
    const bool timed = startsWith(rest, after) && rest.size() > after.size() + 2 &&
                       rest.compare(rest.size() - 2, 2, "s ") == 0 &&
                       isDigits(rest.substr(after.size(), rest.size() - after.size() - 2));
    if (!rest.empty() && !timed) {
        return std::nullopt;
    }
    return line.substr(4, at - 4);
}

}  // namespace

LogReading::LogReading(int count) : count_(count), state_(count, all(count)) {}

void LogReading::endCurrent(bool cutShort) {
    if (current_ >= 0) {
        state_.apply(RunEvent::taskEnd(current_, cutShort));
    }
    current_ = -1;
}

void LogReading::line(const std::string& text) {
    const bool afterTaskRule = previousWasTaskRule_;
    previousWasTaskRule_ = text == taskRule;
    const int started = afterTaskRule ? taskStartNumber(text) : -1;
    const std::string carried = language::batchLogFinishedEarlier;
    if (started >= 0) {
        endCurrent(false);
        current_ = started;
        state_.apply(RunEvent::taskStart(current_));
    } else if (startsWith(text, language::logTaskError)) {
        state_.apply(RunEvent::error(current_, text.substr(std::strlen(language::logTaskError))));
    } else if (text == language::logAborted) {
        endCurrent(true);
    } else if (text == language::logAllTasksFinished || text == language::logStoppedAfterRunning) {
        endCurrent(false);
    } else if (const std::optional<std::string> deleted = deletedPathIn(text)) {
        state_.apply(RunEvent::deletion(current_, *deleted));
    } else if (startsWith(text, carried)) {
        try {
            for (const int number : parse(text.substr(carried.size()), count_)) {
                carriedForward_.insert(number);
            }
        } catch (const std::invalid_argument&) {
            // Not an entry of ours after all: it proves nothing.
        }
    }
}

std::set<int> LogReading::finished() {
    // A log that stops within a task: the run ended before that task did.
    endCurrent(true);
    std::set<int> finished = carriedForward_;
    const TaskNumbers unfinished = state_.unfinished();
    for (int i = 0; i < count_; ++i) {
        if (!std::binary_search(unfinished.begin(), unfinished.end(), i)) {
            finished.insert(i);
        }
    }
    return finished;
}

bool opensRunLog(const std::string& firstLineWithText) {
    return firstLineWithText == taskRule || firstLineWithText == endRule ||
           firstLineWithText == language::logAborted ||
           firstLineWithText == language::logStoppedAfterRunning ||
           startsWith(firstLineWithText, language::batchLogFinishedEarlier);
}

std::string carriedForwardEntry(const TaskNumbers& numbers) {
    return std::string(language::batchLogFinishedEarlier) + listText(numbers);
}

TaskNumbers unfinished(const std::set<int>& finished, int count) {
    TaskNumbers result;
    for (int i = 0; i < count; ++i) {
        if (finished.count(i) == 0) {
            result.push_back(i);
        }
    }
    return result;
}

TaskNumbers unfinishedInLog(const std::vector<std::string>& logLines, int count) {
    LogReading reading(count);
    for (const std::string& line : logLines) {
        reading.line(line);
    }
    return unfinished(reading.finished(), count);
}

}  // namespace taskSelection
