#include "support/expectedLog.h"

#include <regex>

#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/commandLines.h"
#include "storage/settings.h"
#include "task/task.h"

namespace expectedLog {

namespace {

const std::string stepRule = "    ______________________";

std::vector<std::string> taskStart(int taskIndex) {
    return {"",
            "",
            "",
            std::string(90, '_'),
            "    " + platform::systemText(language::logTaskStarted) + std::to_string(taskIndex),
            ""};
}

}  // namespace

std::vector<std::string> fullTask(const Ttask& task, const SettingsValues& tools, int taskIndex) {
    std::vector<std::string> lines = taskStart(taskIndex);
    const std::vector<std::pair<std::string, ToolCommand>> steps{
        {"Audio stream DEMUX in progress...", audioDemuxCommand(task, tools)},
        {"Video stream DEMUX in progress...", videoDemuxCommand(task, tools)},
        {"REMUX in progress...", remuxCommand(task, tools)},
        {"TITLE authoring (VTS_01_n.IFO) in progress...", titleAuthoringCommand(task, tools)},
        {"DVD FOLDER authoring (VIDEO_TS.IFO) in progress...", tableOfContentsCommand(task, tools)},
    };
    const std::vector<std::vector<std::string>> deletionsAfterStep{
        {}, {task.origVobFilePath}, {task.m2vFilePath, task.ac3FilePath}, {}, {task.vobFilePath}};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        lines.insert(lines.end(),
                     {"    STAMP : " + steps[i].first, "    " + steps[i].second.commandLine,
                      "    Done after Ns ", stepRule});
        for (const std::string& deleted : deletionsAfterStep[i]) {
            lines.insert(lines.end(), {"    " + deleted + " deleted after Ns ", stepRule});
        }
    }
    return lines;
}

std::vector<std::string> missingSource(const Ttask& task, int taskIndex) {
    std::vector<std::string> lines = taskStart(taskIndex);
    lines.insert(lines.end(),
                 {"ERROR !!!! ==>>> " + task.origVobFilePath + " file doesn't exists !",
                  "This task will abort.", "", "", "", "", "", ""});
    return lines;
}

std::vector<std::string> endOfRun() {
    return {std::string(66, '_'), "      ---   All Tasks finished !!!   ---"};
}

}  // namespace expectedLog

std::vector<std::string> maskedLogLines(const std::string& logPath) {
    const std::regex stamp("^    .* : ");
    const std::regex duration("after [0-9]+s $");
    std::vector<std::string> lines;
    TextLineReader reader(logPath);
    for (std::string line; reader.readLine(line);) {
        line = std::regex_replace(line, stamp, "    STAMP : ");
        lines.push_back(std::regex_replace(line, duration, "after Ns "));
    }
    return lines;
}
