#include "batch/batchOptions.h"

#include <algorithm>
#include <optional>
#include <set>
#include <stdexcept>

#include "language/consoleTexts.h"
#include "runner/state/taskSelection.h"
#include "storage/settings.h"

namespace {

// Digits only: a sign, a blank or a fraction would be a guess at what the user meant.
std::optional<int> taskCount(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    int value = 0;
    for (const char digit : text) {
        value = value * 10 + (digit - '0');
        // Stopping here keeps a value of any length from overflowing.
        if (value > SettingsValues::mostTasksAtOnce) {
            return std::nullopt;
        }
    }
    return value;
}

// Sets the option that takes a value; returns the fault, or nothing.
std::string setValueOption(const std::string& option, const std::string& value,
                           BatchOptions& options) {
    if (option == "--jobs") {
        if (value.empty()) {
            return option + language::batchNeedsTaskCount;
        }
        options.tasksAtOnce = taskCount(value);
        if (!options.tasksAtOnce) {
            return language::batchJobsOption + value + language::batchNotATaskCount +
                   std::to_string(SettingsValues::mostTasksAtOnce) + language::batchTaskCountEnd;
        }
        return std::string();
    }
    if (value.empty()) {
        return option +
               (option == "--tasks" ? language::batchNeedsTaskList : language::batchNeedsFileName);
    }
    std::string& field = option == "--settings" ? options.settingsPath
                         : option == "--log"    ? options.logPath
                         : option == "--tasks"  ? options.taskList
                                                : options.failedFromLog;
    field = value;
    if (option == "--tasks") {
        try {
            taskSelection::checkList(value);
        } catch (const std::invalid_argument& fault) {
            return language::batchTasksOption + std::string(fault.what());
        }
    }
    return std::string();
}

}  // namespace

BatchOptions parseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions options;
    const auto fail = [&options](const std::string& error) {
        options.action = BatchOptions::Action::UsageError;
        options.error = error;
        return options;
    };
    bool onlyFilesFollow = false;
    // A second value would silently win over the first, which may be the one the user meant.
    std::set<std::string> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        const bool isOption = !onlyFilesFollow && argument.size() > 1 && argument[0] == '-';
        std::optional<std::string> attachedValue;
        const std::size_t equals = argument.find('=');
        if (isOption && argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            attachedValue = argument.substr(equals + 1);
            argument.resize(equals);
        }
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
        } else if ((argument == "--settings" || argument == "--log" || argument == "--tasks" ||
                    argument == "--failed-from" || argument == "--default-settings" ||
                    argument == "--jobs") &&
                   !given.insert(argument).second) {
            return fail(argument + language::batchGivenTwice);
        } else if (argument == "--jobs" || argument == "--settings" || argument == "--log" ||
                   argument == "--tasks" || argument == "--failed-from") {
            const std::string value = attachedValue              ? *attachedValue
                                      : i + 1 < arguments.size() ? arguments[++i]
                                                                 : std::string();
            const std::string fault = setValueOption(argument, value, options);
            if (!fault.empty()) {
                return fail(fault);
            }
        } else if (argument == "--default-settings" && !attachedValue) {
            options.defaultSettings = true;
        } else {
            return fail(language::batchUnknownOption + argument);
        }
    }
    if (options.projectPath.empty()) {
        return fail(language::batchNoProject);
    }
    if (options.defaultSettings && !options.settingsPath.empty()) {
        return fail(language::batchSettingsExclusive);
    }
    return options;
}

int resolvedTasksAtOnce(const std::optional<int>& jobs, int fromSettings, unsigned processorCores) {
    if (!jobs) {
        return fromSettings;
    }
    if (*jobs != 0) {
        return *jobs;
    }
    return static_cast<int>(
        std::clamp(processorCores, 1u, static_cast<unsigned>(SettingsValues::mostTasksAtOnce)));
}
