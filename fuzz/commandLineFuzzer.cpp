#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/commandLineSplit.h"
#include "runner/plan/commandLines.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program and its arguments as a Windows program receives them, written here from
// Microsoft's description of the C runtime's parsing, apart from the program's own splitter:
// - the program name runs to the next double quote when it begins with one, else to a blank;
// - arguments are separated by blanks outside double quotes; a double quote opens or closes a
//   quoted part, and inside one a doubled double quote stands for one;
// - 2n backslashes before a double quote give n backslashes and the quote opens or closes;
//   2n+1 give n backslashes and a literal double quote; other backslashes are literal.
std::vector<std::string> windowsArguments(const std::string& line) {
    std::vector<std::string> result;
    std::size_t i = 0;
    std::string program;
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        program = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        i = close == std::string::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !isBlank(line[i])) {
            program += line[i++];
        }
    }
    result.push_back(program);
    for (;;) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i == line.size()) {
            return result;
        }
        std::string argument;
        bool inQuotes = false;
        while (i < line.size() && (inQuotes || !isBlank(line[i]))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (inQuotes && i + 1 < line.size() && line[i + 1] == '"') {
                    argument += '"';
                    ++i;
                } else {
                    inQuotes = !inQuotes;
                }
                ++i;
            } else {
                argument.append(backslashes, '\\');
                if (i < line.size() && (inQuotes || !isBlank(line[i]))) {
                    argument += line[i++];
                }
            }
        }
        result.push_back(argument);
    }
}

bool reachesAsItself(const std::string& path) {
    return path.find('\0') == std::string::npos && (path.empty() || path[0] != '-');
}

// A path that nothing about a command line should refuse.
bool isPlain(const std::string& path) {
    return reachesAsItself(path) && path.find('"') == std::string::npos &&
           (path.empty() || path.back() != '\\');
}

// What mplex is given for its output: its name is a printf format, where %% stands for %.
std::string withPercentsDoubled(const std::string& path) {
    std::string doubled;
    for (char c : path) {
        doubled += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return doubled;
}

std::string withoutBlanks(const std::string& text) {
    std::string kept;
    for (char c : text) {
        if (static_cast<unsigned char>(c) > ' ') {
            kept += c;
        }
    }
    return kept;
}

struct Expected {
    ToolCommand command;
    std::vector<std::string> arguments;
    std::vector<std::string> paths;  // the task's texts among them
};

}  // namespace

// Any command line splits. Whatever the texts of a task, a tool's command line is refused, or a
// Windows program receives from it exactly the task's texts, none of which it could take for an
// option or find cut short; and a command of plain paths is never refused.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (splitCommandLine(text).empty()) {
        std::abort();
    }

    Ttask task;
    std::string* fields[] = {&task.origVobFilePath, &task.m2vFilePath,   &task.ac3FilePath,
                             &task.vobFilePath,     &task.dvdFolderPath, &task.chapterList};
    std::size_t field = 0;
    for (char c : text) {
        if (c == '\n' && field + 1 < std::size(fields)) {
            ++field;
        } else {
            fields[field]->push_back(c);
        }
    }
    const SettingsValues tools{"/usr/bin/bbdmux", "/usr/bin/mplex", "/usr/bin/dvd author", "PAL"};
    const std::string chapters = withoutBlanks(task.chapterList);
    std::vector<std::string> title{tools.authorExePath, "-o", task.dvdFolderPath, "-t"};
    if (!chapters.empty()) {
        title.insert(title.end(), {"-c", chapters});
    }
    title.insert(title.end(), {"-f", task.vobFilePath});
    const Expected commands[] = {
        {audioDemuxCommand(task, tools),
         {tools.demuxExePath, task.origVobFilePath, "0xbd", task.ac3FilePath, "0x80"},
         {task.origVobFilePath, task.ac3FilePath}},
        {videoDemuxCommand(task, tools),
         {tools.demuxExePath, task.origVobFilePath, "0xe0", task.m2vFilePath},
         {task.origVobFilePath, task.m2vFilePath}},
        {remuxCommand(task, tools),
         {tools.muxExePath, "-f", "8", "-V", "-o", withPercentsDoubled(task.vobFilePath),
          task.m2vFilePath, task.ac3FilePath},
         {task.vobFilePath, task.m2vFilePath, task.ac3FilePath}},
        {titleAuthoringCommand(task, tools), title, {task.dvdFolderPath, task.vobFilePath}},
        {tableOfContentsCommand(task, tools),
         {tools.authorExePath, "-o", task.dvdFolderPath, "-T"},
         {task.dvdFolderPath}},
    };
    for (const Expected& expected : commands) {
        bool plain = chapters.find('"') == std::string::npos;
        for (const std::string& path : expected.paths) {
            plain = plain && isPlain(path);
        }
        if (!expected.command.isSafe()) {
            if (plain) {
                std::abort();  // refused for no reason
            }
            continue;
        }
        if (windowsArguments(expected.command.commandLine) != expected.arguments) {
            std::abort();
        }
        for (const std::string& path : expected.paths) {
            if (!reachesAsItself(path)) {
                std::abort();
            }
        }
    }
    return 0;
}
