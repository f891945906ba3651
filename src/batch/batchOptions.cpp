#include "batch/batchOptions.h"

#include "language/consoleTexts.h"

BatchOptions parseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    const auto fail = [&options](const std::string& error) {
        options.action = BatchOptions::Action::UsageError;
        options.error = error;
        return options;
    };
    bool onlyFilesFollow = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isOption = !onlyFilesFollow && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            if (!options.projectPath.empty()) {
                return fail(language::batchOneProjectOnly);
            }
            options.projectPath = argument;
        } else if (argument == "--") {
            onlyFilesFollow = true;
        } else if (argument == "--help" || argument == "-h") {
            options.action = BatchOptions::Action::Help;
            return options;
        } else if (argument == "--version") {
            options.action = BatchOptions::Action::Version;
            return options;
        } else if (argument == "--settings" || argument == "--log" || argument == "--tasks" ||
                   argument == "--failed-from") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                return fail(argument + (argument == "--tasks" ? language::batchNeedsTaskList
                                                              : language::batchNeedsFileName));
            }
            std::string& value = argument == "--settings" ? options.settingsPath
                                 : argument == "--log"    ? options.logPath
                                 : argument == "--tasks"  ? options.taskList
                                                          : options.failedFromLog;
            value = arguments[++i];
        } else {
            return fail(language::batchUnknownOption + argument);
        }
    }
    if (options.projectPath.empty()) {
        return fail(language::batchNoProject);
    }
    return options;
}
