#pragma once

#include <string>
#include <vector>

class Ttask;
struct AudioTrack;
struct SettingsValues;
struct SubtitleStream;

// A tool's command line and the arguments it is meant to give the tool. A text of the task that
// would change them (a double quote in a path) makes the two disagree, and the tool is not run;
// so does a path the tool would take for an option (a leading '-') or one the system would cut
// short (a NUL byte).
struct ToolCommand {
    std::string commandLine;
    std::vector<std::string> arguments;  // the program first
    bool pathLooksLikeOption = false;

    bool isSafe() const;
};

ToolCommand audioDemuxCommand(const Ttask& task, const SettingsValues& settings);
ToolCommand videoDemuxCommand(const Ttask& task, const SettingsValues& settings);
ToolCommand remuxCommand(const Ttask& task, const SettingsValues& settings);
ToolCommand titleAuthoringCommand(const Ttask& task, const SettingsValues& settings);
ToolCommand tableOfContentsCommand(const Ttask& task, const SettingsValues& settings);

// The same for a task that keeps every audio track: one demultiplexing per track, every track
// multiplexed after the video in the tracks' order, and the title told each track's format and
// language in that order (no list when there is no track).
ToolCommand audioTrackDemuxCommand(const Ttask& task, const AudioTrack& track,
                                   const SettingsValues& settings);
ToolCommand remuxCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                         const SettingsValues& settings);
ToolCommand titleAuthoringCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                                  const SettingsValues& settings);

// The same for a task that keeps every subtitle stream: its video, audio tracks and subtitle
// streams demultiplexed in one reading of the source, multiplexed in that order, and the title
// authored from a control file that names the subtitles' languages, modes and palette.
ToolCommand streamsDemuxCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                                const std::vector<SubtitleStream>& subtitles,
                                const SettingsValues& settings);
ToolCommand remuxCommand(const Ttask& task, const std::vector<AudioTrack>& tracks,
                         const std::vector<SubtitleStream>& subtitles,
                         const SettingsValues& settings);
ToolCommand controlledAuthoringCommand(const Ttask& task, const std::string& controlFilePath,
                                       const SettingsValues& settings);

// The requantizer making the fitted video of the task's video stream, each coefficient divided
// by `factor` (written with three decimals and a point); the image tool making the DVD
// folder's image, with both file systems a player needs.
std::string factorText(double factor);
ToolCommand fittingCommand(const Ttask& task, double factor, const SettingsValues& settings);
ToolCommand imageCommand(const Ttask& task, const SettingsValues& settings);

// The chapter list as it goes on the command line: blanks carry no meaning in a time and would
// split the argument, so they are left out.
std::string chapterArgument(const std::string& chapterList);
