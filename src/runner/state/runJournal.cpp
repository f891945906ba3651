#include "runner/state/runJournal.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

#include "files/textFile.h"

// Each record is a line "+TASK LENGTH" followed by LENGTH bytes of entries, or a line "=TASK"
// once the task's block is in the run log.

RunJournal::RunJournal(std::string path) : path_(std::move(path)) {
    writeToFileItself(path_, std::string(), false);
}

void RunJournal::entry(int task, const std::string& text) {
    writeToFileItself(
        path_, "+" + std::to_string(task) + " " + std::to_string(text.size()) + "\n" + text, true);
}

void RunJournal::blockWritten(int task) {
    writeToFileItself(path_, "=" + std::to_string(task) + "\n", true);
}

void RunJournal::remove() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

namespace {

// Reads the number at `at`, moving past it; false when none is there.
bool readNumber(const std::string& text, std::size_t& at, unsigned long long& number) {
    const std::size_t start = at;
    number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 18) {
        number = number * 10 + static_cast<unsigned long long>(text[at] - '0');
        ++at;
    }
    return at > start;
}

}  // namespace

HeldBlocks heldBlocksBeside(const std::string& logPath) {
    HeldBlocks held;
    const std::string path = RunJournal::pathOf(logPath);
    if (!isExistingFile(path)) {
        return held;
    }
    std::ifstream file(path, std::ios::binary);
    const std::string journal{std::istreambuf_iterator<char>(file),
                              std::istreambuf_iterator<char>()};
    held.found = true;
    std::vector<unsigned long long> order;
    std::map<unsigned long long, std::string> blocks;
    std::size_t at = 0;
    while (at < journal.size()) {
        const char kind = journal[at++];
        unsigned long long task = 0;
        if ((kind != '+' && kind != '=') || !readNumber(journal, at, task)) {
            break;
        }
        if (kind == '=') {
            if (at >= journal.size() || journal[at++] != '\n') {
                break;
            }
            blocks.erase(task);
            continue;
        }
        unsigned long long length = 0;
        if (at >= journal.size() || journal[at++] != ' ' || !readNumber(journal, at, length) ||
            at >= journal.size() || journal[at++] != '\n' || journal.size() - at < length) {
            break;
        }
        if (blocks.count(task) == 0) {
            order.push_back(task);
        }
        blocks[task] += journal.substr(at, static_cast<std::size_t>(length));
        at += static_cast<std::size_t>(length);
    }
    for (const unsigned long long task : order) {
        const auto block = blocks.find(task);
        if (block != blocks.end()) {
            held.blocks.push_back(block->second);
            blocks.erase(block);
        }
    }
    return held;
}
