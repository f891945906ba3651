#include "runner/taskSelection.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iterator>
#include <stdexcept>

#include "language/consoleTexts.h"
#include "language/language.h"

namespace taskSelection {

namespace {

bool isDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// Decimal digits of any length, without their leading zeros; compared by value.
struct Number {
    std::string digits;

    bool operator<(const Number& other) const {
        return digits.size() != other.digits.size() ? digits.size() < other.digits.size()
                                                    : digits < other.digits;
    }
    // INT_MAX for any larger value: past the end of every list.
    int clamped() const {
        return digits.size() > 10 ? INT_MAX
                                  : static_cast<int>(std::min<long long>(
                                        digits.empty() ? 0 : std::stoll(digits), INT_MAX));
    }
};

Number number(const std::string& text, const std::string& item) {
    if (!isDigits(text)) {
        throw std::invalid_argument("'" + item + language::batchNotATaskNumber);
    }
    const std::size_t firstNonZero = text.find_first_not_of('0');
    return Number{firstNonZero == std::string::npos ? std::string() : text.substr(firstNonZero)};
}

struct Range {
    int first;
    int last;
};

std::vector<Range> ranges(const std::string& text) {
    std::vector<Range> result;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string item = text.substr(start, end - start);
        const std::size_t dash = item.find('-');
        const Number first = number(item.substr(0, dash), item);
        const Number last = dash == std::string::npos ? first : number(item.substr(dash + 1), item);
        if (last < first) {
            throw std::invalid_argument("'" + item + language::batchRangeBackwards);
        }
        result.push_back(Range{first.clamped(), last.clamped()});
        start = end + 1;
    }
    return result;
}

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

}  // namespace

TaskNumbers all(int count) {
    TaskNumbers numbers;
    for (int i = 0; i < count; ++i) {
        numbers.push_back(i);
    }
    return numbers;
}

void checkList(const std::string& text) {
    ranges(text);
}

TaskNumbers parse(const std::string& text, int count) {
    std::set<int> chosen;
    for (const Range& range : ranges(text)) {
        for (int i = range.first; i <= range.last && i < count; ++i) {
            chosen.insert(i);
        }
    }
    return TaskNumbers(chosen.begin(), chosen.end());
}

std::string listText(const TaskNumbers& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t last = i;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1) {
            ++last;
        }
        text += (text.empty() ? "" : ",") + std::to_string(numbers[i]);
        if (last > i) {
            text += "-" + std::to_string(numbers[last]);
        }
        i = last + 1;
    }
    return text;
}

void LogReading::closeCurrent(bool cutShort) {
    if (current_ >= 0 && current_ < count_ && !currentFailed_ && !cutShort) {
        finished_.insert(current_);
    }
    current_ = -1;
}

void LogReading::line(const std::string& text) {
    const bool afterTaskRule = previousWasTaskRule_;
    previousWasTaskRule_ = text == taskRule;
    const int started = afterTaskRule ? taskStartNumber(text) : -1;
    const std::string carried = language::batchLogFinishedEarlier;
    if (started >= 0) {
        closeCurrent(false);
        current_ = started;
        currentFailed_ = false;
    } else if (startsWith(text, language::logTaskError)) {
        currentFailed_ = true;
    } else if (text == language::logAborted) {
        closeCurrent(true);
    } else if (text == language::logAllTasksFinished) {
        closeCurrent(false);
    } else if (startsWith(text, carried)) {
        try {
            for (const int number : parse(text.substr(carried.size()), count_)) {
                finished_.insert(number);
            }
        } catch (const std::invalid_argument&) {
            // Not an entry of ours after all: it proves nothing.
        }
    }
}

const std::set<int>& LogReading::finished() {
    // A log that stops within a task: the run ended before that task did.
    closeCurrent(true);
    return finished_;
}

bool opensRunLog(const std::string& firstLineWithText) {
    return firstLineWithText == taskRule || firstLineWithText == endRule ||
           firstLineWithText == language::logAborted ||
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

TaskNumbers common(const TaskNumbers& first, const TaskNumbers& second) {
    TaskNumbers both;
    std::set_intersection(first.begin(), first.end(), second.begin(), second.end(),
                          std::back_inserter(both));
    return both;
}

}  // namespace taskSelection
