#include "runner/commandLines.h"

#include <algorithm>

#include "platform/commandLineSplit.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

// An argument as it is written on the command line.
struct Piece {
    std::string text;
    bool quoted;
};

Piece path(const std::string& text) {
    return {text, true};
}

Piece word(const std::string& text) {
    return {text, false};
}

ToolCommand build(const std::vector<Piece>& pieces) {
    ToolCommand command;
    for (const Piece& piece : pieces) {
        if (!command.commandLine.empty()) {
            command.commandLine += ' ';
        }
        command.commandLine += piece.quoted ? "\"" + piece.text + "\"" : piece.text;
        command.arguments.push_back(piece.text);
        const bool isProgram = command.arguments.size() == 1;
        if (piece.quoted && !isProgram && !piece.text.empty() && piece.text.front() == '-') {
            command.pathLooksLikeOption = true;
        }
    }
    return command;
}

}  // namespace

bool ToolCommand::isSafe() const {
    return !pathLooksLikeOption && commandLine.find('\0') == std::string::npos &&
           splitCommandLine(commandLine) == arguments;
}

std::string chapterArgument(const std::string& chapterList) {
    std::string argument;
    std::copy_if(chapterList.begin(), chapterList.end(), std::back_inserter(argument),
                 [](char c) { return static_cast<unsigned char>(c) > ' '; });
    return argument;
}

ToolCommand audioDemuxCommand(const Ttask& task, const SettingsValues& settings) {
    return build({path(settings.demuxExePath), path(task.origVobFilePath), word("0xbd"),
                  path(task.ac3FilePath), word("0x80")});
}

ToolCommand videoDemuxCommand(const Ttask& task, const SettingsValues& settings) {
    return build({path(settings.demuxExePath), path(task.origVobFilePath), word("0xe0"),
                  path(task.m2vFilePath)});
}

ToolCommand remuxCommand(const Ttask& task, const SettingsValues& settings) {
    return build({path(settings.muxExePath), word("-f"), word("8"), word("-V"), word("-o"),
                  path(task.vobFilePath), path(task.m2vFilePath), path(task.ac3FilePath)});
}

ToolCommand titleAuthoringCommand(const Ttask& task, const SettingsValues& settings) {
    std::vector<Piece> pieces{path(settings.authorExePath), word("-o"), path(task.dvdFolderPath),
                              word("-t")};
    const std::string chapters = chapterArgument(task.chapterList);
    if (!chapters.empty()) {
        pieces.push_back(word("-c"));
        pieces.push_back(word(chapters));
    }
    pieces.push_back(word("-f"));
    pieces.push_back(path(task.vobFilePath));
    return build(pieces);
}

ToolCommand tableOfContentsCommand(const Ttask& task, const SettingsValues& settings) {
    return build({path(settings.authorExePath), word("-o"), path(task.dvdFolderPath), word("-T")});
}
