#include "storage/projectFile.h"

#include <cctype>
#include <climits>
#include <memory>

#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "platform/platform.h"
#include "task/task.h"

namespace projectFile {

namespace {

const char* const separatorLine = "____________________________________";
// The first line after the flags holds the task's extra choices; the rest are reserved.
constexpr int reservedLineCount = 7;
// The most of a line an error message quotes; no whole number is nearly as long.
constexpr std::size_t longestQuote = 100;

const char* flagText(bool flag) {
    return flag ? "True" : "False";
}

ConversionError notAWholeNumber(const std::string& text) {
    return ConversionError(formatMessage(platform::systemText(language::notAnInteger).c_str(),
                                         text.substr(0, longestQuote)));
}

// A whole number as the runtime's conversion takes it: optional leading blanks, an optional
// sign, decimal digits, within the 32-bit range.
int toInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            break;
        }
    }
    if (i == firstDigit || i != text.size() || (negative ? -value < INT_MIN : value > INT_MAX)) {
        throw notAWholeNumber(text);
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::string serialize(const TAllTask& tasks) {
    const std::string lineEnd = "\r\n";
    std::string bytes = std::to_string(tasks.count()) + lineEnd;
    for (int i = 0; i < tasks.count(); ++i) {
        const Ttask& task = *tasks.taskAt(i);
        bytes.append(separatorLine).append(lineEnd);
        for (const std::string* text :
             {&task.origVobFilePath, &task.m2vFilePath, &task.ac3FilePath, &task.vobFilePath,
              &task.dvdFolderPath, &task.chapterList}) {
            bytes.append(*text).append(lineEnd);
        }
        for (bool flag : {task.doDemux, task.doRemux, task.doAuthor, task.deleteOrigVob,
                          task.deleteStreams, task.deleteVob}) {
            bytes.append(flagText(flag)).append(lineEnd);
        }
        bytes.append(task.extraChoices).append(lineEnd);
        for (int line = 0; line < reservedLineCount; ++line) {
            bytes.append(lineEnd);
        }
    }
    return bytes;
}

void save(const std::string& path, const TAllTask& tasks) {
    writeFileReplacing(path, serialize(tasks));
}

void load(const std::string& path, TAllTask& tasks) {
    TextLineReader reader(path);
    std::string line;
    // The count line is read no further than an error would quote it: a longer one is no whole
    // number, and a file of one endless line costs no memory.
    if (!reader.readShortLine(line, longestQuote)) {
        throw notAWholeNumber(line);
    }
    const int count = toInteger(line);

    for (int i = 0; i < count; ++i) {
        if (!reader.readBoundedLine(line)) {
            return;  // the file ends where this block would begin
        }
        auto task = std::make_shared<Ttask>();
        for (std::string* text : {&task->origVobFilePath, &task->m2vFilePath, &task->ac3FilePath,
                                  &task->vobFilePath, &task->dvdFolderPath, &task->chapterList}) {
            reader.readBoundedLine(*text);
        }
        for (bool* flag : {&task->doDemux, &task->doRemux, &task->doAuthor, &task->deleteOrigVob,
                           &task->deleteStreams, &task->deleteVob}) {
            reader.readBoundedLine(line);
            *flag = line == "True";
        }
        reader.readBoundedLine(task->extraChoices);
        for (int reserved = 0; reserved < reservedLineCount; ++reserved) {
            reader.readBoundedLine(line);
        }
        tasks.add(std::move(task));
    }
}

}  // namespace projectFile
