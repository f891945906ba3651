#include <cstdlib>
#include <string>

#include "platform/commandLineSplit.h"
#include "runner/commandLines.h"
#include "storage/settings.h"
#include "task/task.h"

// Any command line splits; and whatever the texts of a task, a tool's command line either gives
// the tool exactly the task's texts as arguments or is refused before it runs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (splitCommandLine(text).empty()) {
        std::abort();
    }

    Ttask task;
    std::string* fields[] = {&task.origVobFilePath, &task.vobFilePath, &task.dvdFolderPath,
                             &task.chapterList};
    std::size_t field = 0;
    for (char c : text) {
        if (c == '\n' && field + 1 < std::size(fields)) {
            ++field;
        } else {
            fields[field]->push_back(c);
        }
    }
    const SettingsValues tools{"/usr/bin/bbdmux", "/usr/bin/mplex", "/usr/bin/dvd author", "PAL"};
    for (const ToolCommand& command :
         {audioDemuxCommand(task, tools), remuxCommand(task, tools),
          titleAuthoringCommand(task, tools), tableOfContentsCommand(task, tools)}) {
        if (command.isSafe() && splitCommandLine(command.commandLine) != command.arguments) {
            std::abort();
        }
        if (command.arguments[0] != "/usr/bin/bbdmux" && command.arguments[0] != "/usr/bin/mplex" &&
            command.arguments[0] != "/usr/bin/dvd author") {
            std::abort();
        }
    }
    return 0;
}
