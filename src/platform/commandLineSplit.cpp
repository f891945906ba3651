#include "platform/commandLineSplit.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = commandLine.size();

    // The program name takes no escapes: a quoted one runs to the next quote.
    std::string program;
    if (i < n && commandLine[i] == '"') {
        ++i;
        while (i < n && commandLine[i] != '"') {
            program.push_back(commandLine[i++]);
        }
        if (i < n) {
            ++i;
        }
    } else {
        while (i < n && !isBlank(commandLine[i])) {
            program.push_back(commandLine[i++]);
        }
    }
    arguments.push_back(program);

    for (;;) {
        while (i < n && isBlank(commandLine[i])) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(commandLine[i]))) {
            if (commandLine[i] == '\\') {
                std::size_t backslashes = 0;
                while (i < n && commandLine[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && commandLine[i] == '"') {
                    // 2n backslashes and a quote: n backslashes, and the quote delimits;
                    // 2n+1 backslashes and a quote: n backslashes and a literal quote.
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back('"');
                        ++i;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (commandLine[i] == '"') {
                if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
                    argument.push_back('"');  // "" inside quotes is a literal quote
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.push_back(commandLine[i++]);
            }
        }
        arguments.push_back(argument);
    }
    return arguments;
}
