#include "runner/taskSelection.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <stdexcept>

#include "files/systemEncoding.h"
#include "language/consoleTexts.h"
#include "language/language.h"

namespace taskSelection {

namespace {

// A task number of the list text: decimal digits only, within int.
int number(const std::string& text, const std::string& item) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        throw std::invalid_argument("'" + item + language::batchNotATaskNumber);
    }
    return std::stoi(text);
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

}  // namespace

TaskNumbers all(int count) {
    TaskNumbers numbers;
    for (int i = 0; i < count; ++i) {
        numbers.push_back(i);
    }
    return numbers;
}

TaskNumbers parse(const std::string& text, int count) {
    std::set<int> chosen;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string item = text.substr(start, end - start);
        const std::size_t dash = item.find('-');
        const int first = number(item.substr(0, dash), item);
        const int last = dash == std::string::npos ? first : number(item.substr(dash + 1), item);
        if (last < first) {
            throw std::invalid_argument("'" + item + language::batchRangeBackwards);
        }
        for (int i = first; i <= last && i < count; ++i) {
            chosen.insert(i);
        }
        start = end + 1;
    }
    return TaskNumbers(chosen.begin(), chosen.end());
}

TaskNumbers unfinishedInLog(const std::vector<std::string>& logLines, int count) {
    const std::string taskStart = "    " + platform::systemText(language::logTaskStarted);
    const std::string error = language::logTaskError;
    const std::string abort = language::logAborted;
    const std::string endOfRun = language::logAllTasksFinished;
    std::set<int> finished;
    int current = -1;
    bool currentFailed = false;
    const auto closeCurrent = [&](bool cutShort) {
        if (current >= 0 && !currentFailed && !cutShort) {
            finished.insert(current);
        }
        current = -1;
    };
    for (std::size_t i = 0; i < logLines.size(); ++i) {
        const std::string& line = logLines[i];
        // A task start is the line after a rule of 90 underscores.
        if (startsWith(line, taskStart) && i > 0 && logLines[i - 1] == std::string(90, '_')) {
            closeCurrent(false);
            const std::string digits = line.substr(taskStart.size());
            try {
                current = number(digits, digits);
            } catch (const std::invalid_argument&) {
                current = -1;
            }
            currentFailed = false;
        } else if (startsWith(line, error)) {
            currentFailed = true;
        } else if (line == abort) {
            closeCurrent(true);
        } else if (line == endOfRun) {
            closeCurrent(false);
        }
    }
    // A log that stops within a task: the run ended before that task did.
    closeCurrent(true);
    TaskNumbers unfinished;
    for (int i = 0; i < count; ++i) {
        if (finished.count(i) == 0) {
            unfinished.push_back(i);
        }
    }
    return unfinished;
}

TaskNumbers common(const TaskNumbers& first, const TaskNumbers& second) {
    TaskNumbers both;
    std::set_intersection(first.begin(), first.end(), second.begin(), second.end(),
                          std::back_inserter(both));
    return both;
}

}  // namespace taskSelection
