#include "runner/plan/taskPlan.h"

#include <algorithm>
#include <cmath>

#include "language/language.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

// What the streams take of the source when the source does not tell: the first AC-3 track and
// the video, the rest being other tracks and the packets' headers.
constexpr double audioShareOfSource = 0.065;
constexpr double videoShareOfSource = 0.9;
// What mplex adds to the streams it multiplexes.
constexpr double streamsOverhead = 1.04;
constexpr double unknownTrackTolerancePercent = 60;
constexpr double tolerancePercent = 5;
// A stream whose size is known from the source's timeline: one written only half is short.
constexpr double knownStreamTolerancePercent = 25;

using plan::Expectation;

bool measuresTracks(const TaskStreams& streams) {
    return streams.keepsEveryAudioTrack ||
           std::any_of(streams.tracks.begin(), streams.tracks.end(),
                       [](const AudioTrack& track) { return track.expectedKb.has_value(); });
}

plan::OutputCheck trackCheck(const AudioTrack& track) {
    if (track.expectedKb) {
        return {track.path, {0, *track.expectedKb}, knownStreamTolerancePercent};
    }
    return {track.path, {audioShareOfSource, 0}, unknownTrackTolerancePercent};
}

// The demultiplexed video leaves what the other streams are expected to take, where the source
// tells what they take; a fixed share of the source otherwise.
Expectation videoExpectation(const TaskStreams& streams,
                             const std::vector<plan::OutputCheck>& otherOutputs) {
    if (!measuresTracks(streams)) {
        return {videoShareOfSource, 0};
    }
    Expectation video{videoShareOfSource + audioShareOfSource, -streams.leftOutAudioKb};
    for (const plan::OutputCheck& output : otherOutputs) {
        video.shareOfReference -= output.expected.shareOfReference;
        video.kb -= output.expected.kb;
    }
    return video;
}

plan::ToolRun checkedRun(const char* message, ToolCommand command, const std::string& target,
                         Expectation expected, double tolerance) {
    plan::ToolRun run;
    run.message = message;
    run.command = std::move(command);
    run.target = target;
    run.check = plan::SizeCheck::File;
    run.expected = expected;
    run.tolerancePercent = tolerance;
    run.clearedFirst = {target};
    return run;
}

// One tool run per stream, each checked as it ends.
void addRunPerStream(plan::Stage& stage, const Ttask& task, const TaskStreams& streams,
                     const SettingsValues& settings) {
    std::vector<plan::OutputCheck> tracks;
    for (const AudioTrack& track : streams.tracks) {
        tracks.push_back(trackCheck(track));
        stage.steps.push_back(checkedRun(language::audioDemuxInProgress,
                                         audioTrackDemuxCommand(task, track, settings), track.path,
                                         tracks.back().expected, tracks.back().tolerancePercent));
    }
    const std::string keptInStep = keptInStepSummary(streams.corrections);
    if (!keptInStep.empty()) {
        stage.steps.push_back(plan::NoteWhenAllDone{keptInStep});
    }
    stage.steps.push_back(checkedRun(language::videoDemuxInProgress,
                                     videoDemuxCommand(task, settings), task.m2vFilePath,
                                     videoExpectation(streams, tracks), tolerancePercent));
}

// Every stream in one reading of the source, each output checked after it.
void addOnePassRun(plan::Stage& stage, const Ttask& task, const TaskStreams& streams,
                   const SettingsValues& settings) {
    plan::ToolRun run;
    run.message = language::streamsDemuxInProgress;
    run.command = streamsDemuxCommand(task, streams.tracks, streams.subtitles, settings);
    run.target = task.m2vFilePath;
    run.clearedFirst = plan::streamPaths(streams);
    run.clearedFirst.push_back(task.m2vFilePath);
    std::vector<plan::OutputCheck> others;
    for (const AudioTrack& track : streams.tracks) {
        others.push_back(trackCheck(track));
    }
    for (const SubtitleStream& stream : streams.subtitles) {
        // A subtitle stream may be a few kilobytes: only what the source's timeline tells is
        // expected of it.
        if (stream.expectedKb) {
            others.push_back({stream.path, {0, *stream.expectedKb}, knownStreamTolerancePercent});
        }
    }
    run.expected = videoExpectation(streams, others);
    run.outputChecks = others;
    run.outputChecks.push_back({task.m2vFilePath, run.expected, tolerancePercent});
    stage.steps.push_back(run);
    const std::string keptInStep = keptInStepSummary(streams.corrections);
    if (!keptInStep.empty()) {
        stage.steps.push_back(plan::NoteWhenAllDone{keptInStep});
    }
}

// A stage reading its inputs, the first of which gives the room it needs where it writes.
plan::Stage stageReading(plan::StageKind kind, std::vector<std::string> inputs,
                         const std::string& writingTo) {
    plan::Stage stage;
    stage.kind = kind;
    stage.inputs = std::move(inputs);
    stage.spaceFor = stage.inputs.front();
    stage.spaceOn = writingTo;
    return stage;
}

plan::Stage demuxStage(const Ttask& task, const TaskStreams& streams,
                       const SettingsValues& settings) {
    plan::Stage stage =
        stageReading(plan::StageKind::Demux, {task.origVobFilePath}, task.m2vFilePath);
    stage.reference.measured = {task.origVobFilePath};
    stage.ownFiles = {task.origVobFilePath};
    if (streams.subtitles.empty()) {
        addRunPerStream(stage, task, streams, settings);
    } else {
        addOnePassRun(stage, task, streams, settings);
    }
    if (task.deleteOrigVob) {
        stage.deletedAfter = {task.origVobFilePath};
    }
    return stage;
}

// Whether the plan fits the task's video to its disc before multiplexing it.
bool fitsVideoNow(const Ttask& task, const TaskStreams& streams,
                  const std::optional<taskChoices::Disc>& disc) {
    return disc && plan::fitsVideo(task) && streams.fittingFactor > 1;
}

// The fitting's summary line: "Video fitted to DVD-5: requantized by 1.284, to 78 % of its size".
std::string fittedSummary(const taskChoices::Disc& disc, double factor) {
    return language::videoFittedTo + disc.name + language::videoFittedFactor + factorText(factor) +
           language::videoFittedShare +
           std::to_string(static_cast<int>(std::lround(100 / factor))) +
           language::videoFittedShareEnd;
}

plan::Stage fitStage(const Ttask& task, const TaskStreams& streams, const taskChoices::Disc& disc,
                     const SettingsValues& settings) {
    const std::string fitted = taskChoices::fittedVideoPath(task);
    plan::Stage stage = stageReading(plan::StageKind::Fit, {task.m2vFilePath}, fitted);
    stage.reference.measured = {task.m2vFilePath};
    stage.ownFiles = {task.m2vFilePath};
    const std::vector<std::string> others = plan::streamPaths(streams);
    stage.ownFiles.insert(stage.ownFiles.end(), others.begin(), others.end());
    if (streams.fittingIsPredicted) {
        stage.steps.push_back(plan::DecideFitting{disc});
    }
    // The requantizer meets the size it is asked for closely.
    stage.steps.push_back(checkedRun(language::fittingInProgress,
                                     fittingCommand(task, streams.fittingFactor, settings), fitted,
                                     {1 / streams.fittingFactor, 0}, tolerancePercent));
    stage.steps.push_back(plan::NoteWhenAllDone{fittedSummary(disc, streams.fittingFactor)});
    return stage;
}

plan::Stage remuxStage(const Ttask& original, const TaskStreams& streams,
                       const std::optional<taskChoices::Disc>& disc,
                       const SettingsValues& settings) {
    // A fitted task multiplexes the fitted video in place of its own.
    Ttask task = original;
    if (fitsVideoNow(original, streams, disc)) {
        task.m2vFilePath = taskChoices::fittedVideoPath(original);
    }
    std::vector<std::string> inputs{task.m2vFilePath};
    const std::vector<std::string> others = plan::streamPaths(streams);
    inputs.insert(inputs.end(), others.begin(), others.end());
    plan::Stage stage = stageReading(plan::StageKind::Remux, inputs, task.vobFilePath);
    // A task whose tracks were measured measures what it keeps: the source also holds what is
    // left out. Otherwise the source's size stands.
    if (!task.doDemux || measuresTracks(streams) || fitsVideoNow(original, streams, disc)) {
        stage.reference = {stage.inputs, streamsOverhead};
    }
    // The source is kept too: a remultiplexed VOB named like it is never taken for an old one.
    stage.ownFiles = stage.inputs;
    stage.ownFiles.push_back(task.origVobFilePath);
    stage.steps.push_back(checkedRun(
        language::remuxInProgress, remuxCommand(task, streams.tracks, streams.subtitles, settings),
        task.vobFilePath, {1, 0}, tolerancePercent));
    if (task.deleteStreams) {
        stage.deletedAfter = stage.inputs;
        // The streams of a task fitted to a disc may be needed for a second fitting: they go
        // once its DVD is found to fit.
        if (fitsVideoNow(original, streams, disc)) {
            stage.deletedAfter.clear();
        }
    }
    return stage;
}

// What the remultiplexing of a task fitted to its disc leaves to delete after the disc check.
std::vector<std::string> streamsDeletedAfterDiscCheck(const Ttask& task,
                                                      const TaskStreams& streams) {
    if (!task.deleteStreams) {
        return {};
    }
    std::vector<std::string> paths{task.m2vFilePath, taskChoices::fittedVideoPath(task)};
    const std::vector<std::string> others = plan::streamPaths(streams);
    paths.insert(paths.end(), others.begin(), others.end());
    return paths;
}

plan::Stage imageStage(const Ttask& task, const std::optional<taskChoices::Disc>& disc,
                       const SettingsValues& settings) {
    plan::Stage stage;
    stage.kind = plan::StageKind::Image;
    const std::string videoTsFolder = plan::videoTsFolderOf(task);
    const std::string image = taskChoices::imagePath(task);
    stage.spaceFor = videoTsFolder;
    stage.spaceOn = image;
    stage.reference.imageOfFolder = videoTsFolder;
    stage.ownFiles = {task.vobFilePath};
    // The image holds at least the folder's files, whichever tool makes it.
    stage.steps.push_back(
        checkedRun(language::imageInProgress, imageCommand(task, settings), image, {1, 0}, 1));
    stage.steps.push_back(plan::ReportImage{image, disc});
    return stage;
}

plan::Stage authorStage(const Ttask& task, const TaskStreams& streams,
                        const std::optional<taskChoices::Disc>& disc,
                        const SettingsValues& settings) {
    plan::Stage stage =
        stageReading(plan::StageKind::Author, {task.vobFilePath}, task.dvdFolderPath);
    if (!task.doDemux && !task.doRemux) {
        stage.reference.measured = {task.vobFilePath};
    }
    const std::string videoTsFolder = plan::videoTsFolderOf(task);
    // The title run would add a second title set beside a DVD that appeared while the earlier
    // stages ran, and the size check would measure the old one.
    stage.emptyFolder = videoTsFolder;
    plan::ToolRun title;
    title.message = language::titleAuthoringInProgress;
    title.target = videoTsFolder;
    title.targetIsFolder = true;
    title.check = plan::SizeCheck::Folder;
    title.expected = {1, 0};
    title.tolerancePercent = tolerancePercent;
    const bool keepsSubtitles = !streams.subtitles.empty();
    if (keepsSubtitles) {
        stage.steps.push_back(plan::WriteAuthoringControl{
            authoringControlPath(task),
            streams.sourceSubtitles ? authoringPalettePath(task) : std::string()});
        title.command = controlledAuthoringCommand(task, authoringControlPath(task), settings);
        // Read by the title run alone: they go with it, whatever it did.
        title.removedAfter = {authoringControlPath(task), authoringPalettePath(task)};
    } else {
        title.command = titleAuthoringCommand(task, plan::authoredTrackList(streams), settings);
    }
    stage.steps.push_back(title);
    // The table of contents is made in the same folder, and its size is not checked.
    plan::ToolRun contents;
    contents.message = language::folderAuthoringInProgress;
    contents.command = tableOfContentsCommand(task, settings);
    contents.target = videoTsFolder;
    contents.targetIsFolder = true;
    contents.expected = {1, 0};
    stage.steps.push_back(contents);
    stage.steps.push_back(plan::CheckAuthoredDvd{videoTsFolder, keepsSubtitles});
    if (disc) {
        const bool canFitAgain = plan::fitsVideo(task) && streams.fittingRounds == 0;
        stage.steps.push_back(plan::CheckDiscFit{*disc, videoTsFolder, canFitAgain});
        if (fitsVideoNow(task, streams, disc)) {
            stage.deletedAfter = streamsDeletedAfterDiscCheck(task, streams);
            stage.deletionNeedsMatchingDvd = !stage.deletedAfter.empty();
        }
    }
    if (task.deleteVob) {
        stage.deletedAfter.push_back(task.vobFilePath);
        stage.deletionNeedsMatchingDvd = true;
    }
    return stage;
}

}  // namespace

TaskStreams surveyedStreams(const Ttask& task) {
    TaskStreams streams;
    streams.keepsEveryAudioTrack = taskChoices::keepsEveryAudioTrack(task);
    streams.tracks = streams.keepsEveryAudioTrack ? everyAudioTrack(task)
                                                  : std::vector<AudioTrack>{firstAc3Track(task)};
    if (taskChoices::keepsEverySubtitleStream(task)) {
        streams.subtitles = everySubtitleStream(task);
        if (const auto titleSet = mpeg::titleSetOfSource(task.origVobFilePath)) {
            streams.sourceIfo = titleSet->ifoPath;
            streams.sourceSubtitles = titleSet->subtitles;
        }
    }
    return streams;
}

void measureAlongTimeline(const Ttask& task, TaskStreams& streams) {
    std::vector<int> subtitleIds;
    for (const SubtitleStream& stream : streams.subtitles) {
        subtitleIds.push_back(stream.streamId);
    }
    const SourceTimeline timeline =
        measureOnTimeline(streams.tracks, task.origVobFilePath, subtitleIds);
    measureSubtitles(streams.subtitles, timeline.subtitles);
    streams.leftOutAudioKb = timeline.leftOutAudioKb;
    streams.corrections = timeline.corrections;
}

namespace plan {

std::vector<std::string> streamPaths(const TaskStreams& streams) {
    std::vector<std::string> paths;
    for (const AudioTrack& track : streams.tracks) {
        paths.push_back(track.path);
    }
    for (const SubtitleStream& stream : streams.subtitles) {
        paths.push_back(stream.path);
    }
    return paths;
}

std::vector<AudioTrack> authoredTrackList(const TaskStreams& streams) {
    return streams.keepsEveryAudioTrack ? streams.tracks : std::vector<AudioTrack>();
}

std::vector<TaskFile> filesOf(const Ttask& task, const TaskStreams& streams) {
    std::vector<TaskFile> files{{task.origVobFilePath, FileRole::Source},
                                {task.m2vFilePath, FileRole::VideoStream},
                                {task.ac3FilePath, FileRole::AudioStream}};
    for (const AudioTrack& track : streams.tracks) {
        files.push_back({track.path, FileRole::AudioStream});
    }
    for (const SubtitleStream& stream : streams.subtitles) {
        files.push_back({stream.path, FileRole::SubtitleStream});
    }
    if (taskChoices::keepsEverySubtitleStream(task)) {
        files.push_back({authoringControlPath(task), FileRole::AuthoringControl});
        files.push_back({authoringPalettePath(task), FileRole::AuthoringControl});
    }
    if (!taskChoices::discName(task).empty() && fitsVideo(task)) {
        files.push_back({taskChoices::fittedVideoPath(task), FileRole::FittedVideo});
    }
    files.push_back({task.vobFilePath, FileRole::RemuxedVob});
    files.push_back({task.dvdFolderPath, FileRole::DvdFolder});
    if (taskChoices::makesImage(task) && task.doAuthor) {
        files.push_back({taskChoices::imagePath(task), FileRole::DiscImage});
    }
    std::vector<TaskFile> named;
    for (TaskFile& file : files) {
        const bool repeated = std::any_of(named.begin(), named.end(), [&](const TaskFile& other) {
            return other.path == file.path;
        });
        if (!file.path.empty() && !repeated) {
            named.push_back(std::move(file));
        }
    }
    return named;
}

double Expectation::of(double referenceKb) const {
    return std::max(shareOfReference * referenceKb + kb, 0.0);
}

int Stage::toolRunCount() const {
    return static_cast<int>(std::count_if(steps.begin(), steps.end(), [](const Step& step) {
        return std::holds_alternative<ToolRun>(step);
    }));
}

int TaskPlan::toolRunCount() const {
    int count = 0;
    for (const Stage& stage : stages) {
        count += stage.toolRunCount();
    }
    return count;
}

TaskPlan planTask(const Ttask& task, const TaskStreams& streams, const SettingsValues& settings) {
    TaskPlan plan;
    plan.streams = streams;
    if (task.doAuthor) {
        plan.emptyDvdFolderAtStart = videoTsFolderOf(task);
    }
    const std::string discName = taskChoices::discName(task);
    plan.disc = taskChoices::discNamed(discName);
    plan.namesUnknownDisc = !discName.empty() && !plan.disc;
    if (task.doDemux) {
        plan.stages.push_back(demuxStage(task, streams, settings));
    }
    if (fitsVideoNow(task, streams, plan.disc)) {
        plan.stages.push_back(fitStage(task, streams, *plan.disc, settings));
    }
    if (task.doRemux) {
        plan.stages.push_back(remuxStage(task, streams, plan.disc, settings));
    }
    if (task.doAuthor) {
        plan.stages.push_back(authorStage(task, streams, plan.disc, settings));
        if (taskChoices::makesImage(task)) {
            plan.stages.push_back(imageStage(task, plan.disc, settings));
        }
    }
    return plan;
}

bool fitsVideo(const Ttask& task) {
    return task.doRemux && task.doAuthor;
}

std::string videoTsFolderOf(const Ttask& task) {
    return task.dvdFolderPath + platform::pathSeparator + "VIDEO_TS" + platform::pathSeparator;
}

Ttask resumedTask(Ttask task, const std::vector<std::string>& deletedEarlier) {
    const auto deleted = [&](const std::string& path) {
        return std::find(deletedEarlier.begin(), deletedEarlier.end(), path) !=
               deletedEarlier.end();
    };
    if (task.doDemux && task.deleteOrigVob && deleted(task.origVobFilePath)) {
        task.doDemux = false;
    }
    if (task.doRemux && task.deleteStreams && deleted(task.m2vFilePath)) {
        // A task fitted to its disc deletes its streams, the fitted video among them, only once
        // its DVD fits.
        if (deleted(taskChoices::fittedVideoPath(task))) {
            task.doAuthor = false;
        }
        task.doDemux = false;
        task.doRemux = false;
    }
    if (task.doAuthor && task.deleteVob && deleted(task.vobFilePath)) {
        task.doDemux = task.doRemux = task.doAuthor = false;
    }
    return task;
}

bool skipsFinishedStages(const Ttask& task, const std::vector<std::string>& deletedEarlier) {
    const Ttask resumed = resumedTask(task, deletedEarlier);
    return resumed.doDemux != task.doDemux || resumed.doRemux != task.doRemux ||
           resumed.doAuthor != task.doAuthor;
}

}  // namespace plan
