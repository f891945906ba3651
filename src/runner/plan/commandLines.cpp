#include "runner/plan/commandLines.h"

#include <algorithm>
#include <cmath>

#include "platform/commandLineSplit.h"
#include "runner/plan/audioTracks.h"
#include "runner/plan/subtitleStreams.h"
#include "storage/settings.h"
#include "task/task.h"
#include "task/taskChoices.h"

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

// mplex takes its output name as a printf format, to number the files of a split output: a '%'
// in the path would make it write, or overwrite, some other file. Doubled, each stands for itself.
std::string multiplexerOutputName(const std::string& path) {
    std::string name;
    for (const char c : path) {
        name += c;
        if (c == '%') {
            name += '%';
        }
    }
    return name;
}

std::string hexByte(int value) {
    const char* const digits = "0123456789abcdef";
    return std::string("0x") + digits[(value >> 4) & 15] + digits[value & 15];
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
    return audioTrackDemuxCommand(task, firstAc3Track(task), settings);
}

ToolCommand audioTrackDemuxCommand(const Ttask& task, const AudioTrack& track,
                                   const SettingsValues& settings) {
    // MPEG audio is a stream of its own; the other formats are sub-streams of private stream 1.
    if (track.format == mpeg::AudioFormat::MpegAudio) {
        return build({path(settings.demuxExePath), path(task.origVobFilePath),
                      word(hexByte(track.streamId)), path(track.path)});
    }
    return build({path(settings.demuxExePath), path(task.origVobFilePath), word("0xbd"),
                  path(track.path), word(hexByte(track.streamId))});
}

ToolCommand videoDemuxCommand(const Ttask& task, const SettingsValues& settings) {
    return build({path(settings.demuxExePath), path(task.origVobFilePath), word("0xe0"),
                  path(task.m2vFilePath)});
}

std::string factorText(double factor) {
    // In thousandths, so that no locale puts a comma in it; the requantizer takes no more.
    const long thousandths = std::lround(std::min(factor, 999.0) * 1000);
    std::string fraction = std::to_string(thousandths % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    return std::to_string(thousandths / 1000) + "." + fraction;
}

ToolCommand fittingCommand(const Ttask& task, double factor, const SettingsValues& settings) {
    return build({path(settings.requantizerExePath), word(factorText(factor)),
                  path(task.m2vFilePath), path(taskChoices::fittedVideoPath(task))});
}

ToolCommand imageCommand(const Ttask& task, const SettingsValues& settings) {
    return build({path(settings.imagerExePath), word("-quiet"), word("-dvd-video"), word("-udf"),
                  word("-o"), path(taskChoices::imagePath(task)), path(task.dvdFolderPath)});
}

ToolCommand remuxCommand(const Ttask& task, const SettingsValues& settings) {
    return remuxCommand(task, {firstAc3Track(task)}, settings);
}

ToolCommand remuxCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                         const SettingsValues& settings) {
    return remuxCommand(task, tracks, std::vector<SubtitleStream>(), settings);
}

ToolCommand streamsDemuxCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                                const std::vector<SubtitleStream>& subtitles,
                                const SettingsValues& settings) {
    std::vector<Piece> pieces{path(settings.demuxExePath), path(task.origVobFilePath),
                              word("--streams"), word("0xe0"), path(task.m2vFilePath)};
    for (const AudioTrack& track : tracks) {
        pieces.push_back(word(hexByte(track.streamId)));
        pieces.push_back(path(track.path));
    }
    for (const SubtitleStream& stream : subtitles) {
        pieces.push_back(word(hexByte(stream.streamId)));
        pieces.push_back(path(stream.path));
    }
    return build(pieces);
}

ToolCommand controlledAuthoringCommand(const Ttask& task, const std::string& controlFilePath,
                                       const SettingsValues& settings) {
    return build({path(settings.authorExePath), word("-o"), path(task.dvdFolderPath), word("-x"),
                  path(controlFilePath)});
}

ToolCommand remuxCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                         const std::vector<SubtitleStream>& subtitles,
                         const SettingsValues& settings) {
    std::vector<Piece> pieces{path(settings.muxExePath),
                              word("-f"),
                              word("8"),
                              word("-V"),
                              word("-o"),
                              path(multiplexerOutputName(task.vobFilePath)),
                              path(task.m2vFilePath)};
    for (const AudioTrack& track : tracks) {
        pieces.push_back(path(track.path));
    }
    for (const SubtitleStream& stream : subtitles) {
        pieces.push_back(path(stream.path));
    }
    return build(pieces);
}

ToolCommand titleAuthoringCommand(const Ttask& task, const SettingsValues& settings) {
    return titleAuthoringCommand(task, std::vector<AudioTrack>(), settings);
}

ToolCommand titleAuthoringCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                                  const SettingsValues& settings) {
    std::vector<Piece> pieces{path(settings.authorExePath), word("-o"), path(task.dvdFolderPath),
                              word("-t")};
    if (!tracks.empty()) {
        pieces.push_back(word("-a"));
        pieces.push_back(word(authoringAudioList(tracks)));
    }
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
