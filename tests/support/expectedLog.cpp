#include "support/expectedLog.h"

#include <algorithm>
#include <regex>

#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/plan/commandLines.h"
#include "storage/settings.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace expectedLog {

namespace {

const std::string stepRule = "    ______________________";

std::vector<std::string> step(const std::string& message, const ToolCommand& command) {
    return {"    STAMP : " + message, "    " + command.commandLine, "    Done after Ns ", stepRule};
}

}  // namespace

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

bool everyLineEndsWithCrLf(const std::string& path) {
    const std::string bytes = readBytes(path);
    std::size_t lineEnds = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2)) {
        ++lineEnds;
    }
    const auto lineFeeds = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    return lineEnds == lineFeeds && bytes.size() >= 2 &&
           bytes.compare(bytes.size() - 2, 2, "\r\n") == 0;
}

std::vector<std::string> taskStart(int taskIndex) {
    return {"",
            "",
            "",
            std::string(90, '_'),
            "    " + platform::systemText(language::logTaskStarted) + std::to_string(taskIndex),
            ""};
}

const char* const fakeDvdChecked =
    "DVD checked: 1 title, 99 chapters, 0:00:00, 1 audio track, PAL ";

std::vector<std::string> fullTask(const Ttask& task, const SettingsValues& tools, int taskIndex,
                                  const std::string& dvdChecked) {
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
        const std::vector<std::string> stepLines = step(steps[i].first, steps[i].second);
        lines.insert(lines.end(), stepLines.begin(), stepLines.end());
        if (i + 1 == steps.size()) {
            lines.insert(lines.end(), {"    " + dvdChecked + "after Ns ", stepRule});
        }
        for (const std::string& deleted : deletionsAfterStep[i]) {
            lines.insert(lines.end(), {"    " + deleted + " deleted after Ns ", stepRule});
        }
    }
    return lines;
}

std::vector<std::string> demuxOnly(const Ttask& task, const SettingsValues& tools, int taskIndex) {
    std::vector<std::string> lines = taskStart(taskIndex);
    for (const auto& stepLines :
         {step("Audio stream DEMUX in progress...", audioDemuxCommand(task, tools)),
          step("Video stream DEMUX in progress...", videoDemuxCommand(task, tools))}) {
        lines.insert(lines.end(), stepLines.begin(), stepLines.end());
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

std::vector<std::string> blocksInLoggedOrder(
    const std::vector<std::string>& loggedLines, int taskCount,
    const std::function<std::vector<std::string>(int)>& blockOf) {
    std::vector<std::string> blocks;
    for (const std::string& line : loggedLines) {
        for (int task = 0; task < taskCount; ++task) {
            if (line == taskStart(task)[4]) {
                const std::vector<std::string> block = blockOf(task);
                blocks.insert(blocks.end(), block.begin(), block.end());
            }
        }
    }
    return blocks;
}

}  // namespace expectedLog
