#include "runner/state/taskSelection.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <iterator>
#include <set>
#include <stdexcept>

#include "language/consoleTexts.h"
#include "language/language.h"

namespace taskSelection {

bool isDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

namespace {

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

TaskNumbers common(const TaskNumbers& first, const TaskNumbers& second) {
    TaskNumbers both;
    std::set_intersection(first.begin(), first.end(), second.begin(), second.end(),
                          std::back_inserter(both));
    return both;
}

}  // namespace taskSelection
