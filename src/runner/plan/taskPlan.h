#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "mpeg/ifoSubtitles.h"
#include "mpeg/titleTimeline.h"
#include "runner/plan/audioTracks.h"
#include "runner/plan/commandLines.h"
#include "runner/plan/subtitleStreams.h"
#include "task/taskChoices.h"

class Ttask;
struct SettingsValues;

// What a task's source holds of the streams the task keeps, and what reading it along its
// timeline told: the facts a plan is made from besides the task and the settings.
struct TaskStreams {
    bool keepsEveryAudioTrack = false;
    std::vector<AudioTrack> tracks;
    // Empty unless the task keeps every subtitle stream.
    std::vector<SubtitleStream> subtitles;
    // What the source's title set says of its subtitles, and which IFO said it.
    std::optional<mpeg::TitleSubtitles> sourceSubtitles;
    std::string sourceIfo;
    // What the source's audio streams that the task leaves out take of it.
    double leftOutAudioKb = 0;
    // Where the kept tracks are kept in step after their start.
    std::vector<mpeg::AudioCorrection> corrections;
    // The title's length as the source's time stamps give it: what the disc's navigation takes.
    double seconds = 0;
    // What the task's disc asks of the video: 1 keeps it as it is; above 1, the factor the
    // requantizer divides it by.
    double fittingFactor = 1;
    // Whether the factor is still the one predicted from the source, to be worked out again
    // from the demultiplexed streams before the video is fitted.
    bool fittingIsPredicted = true;
    // How often the authored DVD was found too big for its disc and fitted once more.
    int fittingRounds = 0;
};

// The streams as a survey of the source (its head and tail) tells them, without sizes: enough to
// name every file the task touches.
TaskStreams surveyedStreams(const Ttask& task);
// Adds each stream's size and the corrections from one reading of the whole source along its
// timeline, as a run needs them; a source that cannot be read leaves them unknown.
void measureAlongTimeline(const Ttask& task, TaskStreams& streams);

namespace plan {

enum class SizeCheck { None, File, Folder };

// A size a step expects, in kibibytes: a share of its stage's reference size plus a fixed part,
// never below nothing.
struct Expectation {
    double shareOfReference = 0;
    double kb = 0;

    double of(double referenceKb) const;
};

// One more output of a tool that writes several, measured after it.
struct OutputCheck {
    std::string path;
    Expectation expected;
    double tolerancePercent = 0;
};

// A tool run: the message its step starts with, its command, the output its monitor watches and
// its size check measures, and what the run removes before and after it.
struct ToolRun {
    const char* message = "";
    ToolCommand command;
    std::string target;
    bool targetIsFolder = false;
    SizeCheck check = SizeCheck::None;
    Expectation expected;
    double tolerancePercent = 0;
    // Files an earlier run left where this one writes: removed first, so that only what this run
    // writes is measured.
    std::vector<std::string> clearedFirst;
    // Every further output, each checked after the run.
    std::vector<OutputCheck> outputChecks;
    // Files that only this run reads: removed after it, however it ended.
    std::vector<std::string> removedAfter;
};

// A line for the run log once every earlier step of its stage has ended without a fault.
struct NoteWhenAllDone {
    std::string text;
};

// The title run's control file and palette for the subtitles, written before it.
struct WriteAuthoringControl {
    std::string controlPath;
    std::string palettePath;  // empty: no IFO gave one, and dvdauthor takes its own
};

// The authored DVD read back and compared with the VOB it was made from.
struct CheckAuthoredDvd {
    std::string videoTsFolder;
    // Whether the DVD must carry the subtitle streams the title run was given.
    bool checksSubtitles = false;
};

// The fitting factor worked out from the demultiplexed streams: the plan is made again with it.
struct DecideFitting {
    taskChoices::Disc disc;
};

// The authored DVD measured as an image against the task's disc. Too big, it is fitted once
// more where the task fits its video and has not done so twice.
struct CheckDiscFit {
    taskChoices::Disc disc;
    std::string videoTsFolder;
    bool canFitAgain = false;
};

// The image's size in the run log, against the disc when the task names one.
struct ReportImage {
    std::string imagePath;
    std::optional<taskChoices::Disc> disc;
};

using Step = std::variant<ToolRun, NoteWhenAllDone, WriteAuthoringControl, CheckAuthoredDvd,
                          DecideFitting, CheckDiscFit, ReportImage>;

// The size a stage's expectations are shares of: the files it measures when it starts, times a
// factor, or, with no files, the reference of the stage before it.
struct Reference {
    std::vector<std::string> measured;
    double factor = 1;
    // A VIDEO_TS folder whose files, each to the sector, are the reference instead: what any
    // image of them holds at least.
    std::string imageOfFolder{};
};

// In the order a task runs them.
enum class StageKind { Demux, Fit, Remux, Author, Image };

// One stage: the inputs that must exist, the room it needs, its steps, and the inputs it deletes
// afterwards when the task asks for it.
struct Stage {
    StageKind kind = StageKind::Demux;
    std::vector<std::string> inputs;
    Reference reference;
    // The room checked on the destination's drive, for the size of the first input (or of the
    // files of a folder).
    std::string spaceFor;
    std::string spaceOn;
    // A folder that must be empty when the stage starts, as a DVD's is before it is authored.
    std::string emptyFolder;
    // The stage's own files, besides its outputs: never taken for an earlier run's.
    std::vector<std::string> ownFiles;
    std::vector<Step> steps;
    std::vector<std::string> deletedAfter;
    // Deleted only when the DVD check found the DVD as its VOB: it may be all that is left to
    // author the DVD again from.
    bool deletionNeedsMatchingDvd = false;

    int toolRunCount() const;
};

// What a file or folder is to its task.
enum class FileRole {
    Source,
    VideoStream,
    AudioStream,
    SubtitleStream,
    RemuxedVob,
    AuthoringControl,
    DvdFolder,
    FittedVideo,
    DiscImage
};

struct TaskFile {
    std::string path;
    FileRole role;
};

// Every file and folder the task reads or writes, whatever its stages, as its record and its
// streams name them; empty paths left out.
std::vector<TaskFile> filesOf(const Ttask& task, const TaskStreams& streams);
// What the demultiplexing writes besides the video: the tracks, then the subtitle streams.
std::vector<std::string> streamPaths(const TaskStreams& streams);
// The tracks the title is told of: none for a task keeping only its first AC-3 track, which
// leaves the formats to the authoring tool.
std::vector<AudioTrack> authoredTrackList(const TaskStreams& streams);

struct TaskPlan {
    TaskStreams streams;
    // The disc the DVD must fit, when the task names one this program knows.
    std::optional<taskChoices::Disc> disc;
    // The task names a disc this program does not know: nothing is run.
    bool namesUnknownDisc = false;
    // A DVD already there would make the authoring fail at the end: looked for at the start,
    // before hours of work and the deletions that go with them. Empty when the task authors none.
    std::string emptyDvdFolderAtStart;
    std::vector<Stage> stages;

    int toolRunCount() const;
};

// The stages and steps of a task, from its record, the settings and its streams; reads no file.
TaskPlan planTask(const Ttask& task, const TaskStreams& streams, const SettingsValues& settings);

// Whether the task can fit its video to a disc: it multiplexes the video and authors the DVD.
bool fitsVideo(const Ttask& task);

// The DVD's VIDEO_TS folder of a task, with a separator at its end.
std::string videoTsFolderOf(const Ttask& task);

// The task as a retry runs it: without the stages whose inputs its earlier run deleted. A stage
// deletes its inputs only once its outputs are whole (the authoring's, once the DVD matched its
// VOB), so those stages finished; running them again would fail on the missing input.
Ttask resumedTask(Ttask task, const std::vector<std::string>& deletedEarlier);
// Whether that leaves out a stage the task would run.
bool skipsFinishedStages(const Ttask& task, const std::vector<std::string>& deletedEarlier);

}  // namespace plan
