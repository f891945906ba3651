#include "batch/batchOptions.h"

const char* const batchUsage =
    "Usage: marovink-batch [--settings FILE] [--log FILE] PROJECT.mvk\n"
    "Runs every task of a Marovink project without a window.\n"
    "\n"
    "  --settings FILE  settings file to use (default: the window program's marovink.ini)\n"
    "  --log FILE       run log to write (default: the window program's marovink.log)\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 when no task reported an error, 1 when any did, 2 when the command line,\n"
    "the project, the settings or the log cannot be used.\n"
    "Ctrl-C aborts the run once the running tool has ended; a second Ctrl-C ends at once.\n"
    "\n"
    "marovink.ini and marovink.log lie beside the program when its folder can be written;\n"
    "otherwise in the user's folders ($XDG_CONFIG_HOME/marovink/, $XDG_STATE_HOME/marovink/,\n"
    "%APPDATA%\\Marovink\\ on Windows).\n";

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
                return fail("only one project can be run at a time");
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
        } else if (argument == "--settings" || argument == "--log") {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                return fail(argument + " needs a file name");
            }
            (argument == "--settings" ? options.settingsPath : options.logPath) = arguments[++i];
        } else {
            return fail("unknown option " + argument);
        }
    }
    if (options.projectPath.empty()) {
        return fail("no project file given");
    }
    return options;
}
