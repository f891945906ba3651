#include "runner/processThreadUnit.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "mpeg/streamSurvey.h"
#include "platform/platform.h"
#include "runner/audioTracks.h"
#include "runner/commandLines.h"
#include "runner/dvdCheck.h"
#include "runner/globalMethods.h"
#include "runner/taskFiles.h"
#include "storage/settings.h"
#include "task/taskChoices.h"

namespace {

constexpr double audioShareOfSource = 0.065;
constexpr double videoShareOfSource = 0.9;
constexpr double streamsOverhead = 1.04;
constexpr double audioTolerancePercent = 60;
constexpr double tolerancePercent = 5;
// A track whose size is known from its bit rate and length: a track written only half is short.
constexpr double knownTrackTolerancePercent = 25;

}  // namespace

namespace {

std::vector<Ttask> chosenCopies(const TAllTask& tasks, const TaskNumbers& chosen) {
    std::vector<Ttask> copies;
    copies.reserve(chosen.size());
    for (const int number : chosen) {
        copies.push_back(*tasks.taskAt(number));
    }
    return copies;
}

}  // namespace

TprocessThread::TprocessThread(const TAllTask& tasks, Services services, Handlers handlers)
    : TprocessThread(tasks, taskSelection::all(tasks.count()), std::move(services),
                     std::move(handlers)) {}

TprocessThread::TprocessThread(const TAllTask& tasks, const TaskNumbers& chosen, Services services,
                               Handlers handlers)
    : TprocessThread(chosenCopies(tasks, chosen), chosen, std::move(services),
                     std::move(handlers)) {}

TprocessThread::TprocessThread(std::vector<Ttask> tasks, TaskNumbers numbers, Services services,
                               Handlers handlers)
    : tasks_(std::move(tasks)),
      taskNumbers_(std::move(numbers)),
      services_(std::move(services)),
      handlers_(std::move(handlers)),
      tools_(
          services_.platform, services_.messages,
          [this](const std::string& text) { raise(handlers_.OnTaskError, text); },
          services_.reservations),
      thread_([this] { run(); }) {}

TprocessThread::~TprocessThread() {
    waitForEnd();
}

void TprocessThread::waitForEnd() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

void TprocessThread::run() {
    services_.platform.setCurrentThreadPriority(platform::ThreadPriority::Lowest);
    try {
        const int count = static_cast<int>(tasks_.size());
        for (int i = 0; i < count; ++i) {
            currentTaskIndex_ = taskNumbers_[static_cast<std::size_t>(i)];
            raise(handlers_.OnTaskStart, std::string());
            runTask(tasks_[static_cast<std::size_t>(i)]);
            if (stopRequested_.load()) {
                break;
            }
        }
    } catch (const std::exception& failure) {
        runFailure_ = failure.what();
    }
    if (handlers_.OnRunFinished) {
        try {
            handlers_.OnRunFinished();
        } catch (const std::exception& failure) {
            if (runFailure_.empty()) {
                runFailure_ = failure.what();
            }
        }
    }
}

void TprocessThread::runTask(const Ttask& task) {
    // A DVD already in the destination would make the authoring fail at the end: found now, before
    // hours of work and the deletions that go with them.
    if (task.doAuthor && holdsFiles(videoTsFolderOf(task))) {
        raise(handlers_.OnTaskError, videoTsFolderOf(task) + language::videoTsNotEmptyAtStart);
        return;
    }
    keepsEveryAudioTrack_ = taskChoices::keepsEveryAudioTrack(task);
    audioTracks_ = keepsEveryAudioTrack_ ? everyAudioTrack(task)
                                         : std::vector<AudioTrack>{firstAc3Track(task)};
    subtitleStreams_.clear();
    sourceSubtitles_.reset();
    sourceIfo_.clear();
    if (taskChoices::keepsEverySubtitleStream(task)) {
        subtitleStreams_ = everySubtitleStream(task);
        if (const auto titleSet = mpeg::titleSetOfSource(task.origVobFilePath)) {
            sourceIfo_ = titleSet->ifoPath;
            sourceSubtitles_ = titleSet->subtitles;
        }
    }
    authoredSubtitles_.clear();
    std::vector<std::string> streamPaths;
    std::vector<int> subtitleIds;
    for (const AudioTrack& track : audioTracks_) {
        streamPaths.push_back(track.path);
    }
    for (const SubtitleStream& stream : subtitleStreams_) {
        streamPaths.push_back(stream.path);
        subtitleIds.push_back(stream.streamId);
    }
    if (const std::optional<std::string> refusal = unsafeOutputOf(task, streamPaths)) {
        raise(handlers_.OnTaskError, *refusal);
        return;
    }
    sourceTimeline_ = task.doDemux
                          ? measureOnTimeline(audioTracks_, task.origVobFilePath, subtitleIds)
                          : SourceTimeline();
    measureSubtitles(subtitleStreams_, sourceTimeline_.subtitles);
    // What a stage set aside on its drive is given back when it ends, however it ends.
    struct StageEnd {
        ToolInvocation& tools;
        ~StageEnd() { tools.endStage(); }
    };
    if (task.doDemux) {
        const StageEnd end{tools_};
        if (!runDemuxStage(task)) {
            return;
        }
    }
    if (task.doRemux) {
        const StageEnd end{tools_};
        if (!runRemuxStage(task)) {
            return;
        }
    }
    if (task.doAuthor) {
        const StageEnd end{tools_};
        runAuthorStage(task);
    }
}

bool TprocessThread::runDemuxStage(const Ttask& task) {
    if (!inputExists(task.origVobFilePath)) {
        return false;
    }
    referenceSize_ = fileSizeKb(task.origVobFilePath);
    if (!tools_.checkFreeSpace(task.origVobFilePath, task.m2vFilePath)) {
        return false;
    }
    // The audio streams already written are this run's own.
    std::vector<std::string> stageFiles{task.origVobFilePath};
    bool someOutputIsShort = false;
    bool everyTrackDone = true;
    // The share of the source that the video leaves to the audio and the packets' headers: what
    // the tracks take where the source tells, a fixed share otherwise.
    double videoExpected = referenceSize_ * videoShareOfSource;
    if (measuresTracks()) {
        videoExpected = referenceSize_ * (videoShareOfSource + audioShareOfSource) -
                        sourceTimeline_.leftOutAudioKb;
    }
    if (!subtitleStreams_.empty()) {
        return runOnePassDemux(task, videoExpected, stageFiles);
    }
    for (const AudioTrack& track : audioTracks_) {
        if (!removeStaleOutput(track.path, stageFiles)) {
            return false;
        }
        const auto [expected, tolerance] = trackExpectation(track);
        if (measuresTracks()) {
            videoExpected -= expected;
        }
        setTarget(track.path, false, expected);
        const ToolOutcome audio =
            toolRun(language::audioDemuxInProgress,
                    audioTrackDemuxCommand(task, track, services_.settings.values()),
                    SizeCheck::File, tolerance);
        if (audio == ToolOutcome::Failed) {
            return false;
        }
        someOutputIsShort = someOutputIsShort || audio == ToolOutcome::ShortOutput;
        everyTrackDone = everyTrackDone && audio == ToolOutcome::Done;
        stageFiles.push_back(track.path);
    }
    const std::string keptInStep = keptInStepSummary(sourceTimeline_.corrections);
    if (everyTrackDone && !keptInStep.empty()) {
        raise(handlers_.OnStepDone, keptInStep);
    }
    if (!removeStaleOutput(task.m2vFilePath, stageFiles)) {
        return false;
    }
    setTarget(task.m2vFilePath, false, std::max(videoExpected, 0.0));
    const ToolOutcome video = toolRun(language::videoDemuxInProgress,
                                      videoDemuxCommand(task, services_.settings.values()),
                                      SizeCheck::File, tolerancePercent);
    if (video == ToolOutcome::Failed) {
        return false;
    }
    if (task.deleteOrigVob) {
        deleteInput(task.origVobFilePath, someOutputIsShort || video == ToolOutcome::ShortOutput);
    }
    return true;
}

std::pair<double, double> TprocessThread::trackExpectation(const AudioTrack& track) const {
    if (track.expectedKb) {
        return {*track.expectedKb, knownTrackTolerancePercent};
    }
    return {referenceSize_ * audioShareOfSource, audioTolerancePercent};
}

bool TprocessThread::runOnePassDemux(const Ttask& task, double videoExpected,
                                     std::vector<std::string>& stageFiles) {
    struct Output {
        std::string path;
        std::optional<double> expected;
        double tolerance;
    };
    std::vector<Output> outputs;
    for (const AudioTrack& track : audioTracks_) {
        const auto [expected, tolerance] = trackExpectation(track);
        outputs.push_back({track.path, expected, tolerance});
    }
    // A subtitle stream may be a few kilobytes: only what the source's timeline tells is
    // expected of it.
    for (const SubtitleStream& stream : subtitleStreams_) {
        outputs.push_back({stream.path, stream.expectedKb, knownTrackTolerancePercent});
    }
    // The video leaves what the other streams are expected to take, where the source tells.
    for (const Output& output : outputs) {
        if (measuresTracks()) {
            videoExpected -= output.expected.value_or(0);
        }
    }
    videoExpected = std::max(videoExpected, 0.0);
    outputs.push_back({task.m2vFilePath, videoExpected, tolerancePercent});
    for (const Output& output : outputs) {
        if (!removeStaleOutput(output.path, stageFiles)) {
            return false;
        }
    }
    setTarget(task.m2vFilePath, false, videoExpected);
    const ToolOutcome run = toolRun(
        language::streamsDemuxInProgress,
        streamsDemuxCommand(task, audioTracks_, subtitleStreams_, services_.settings.values()),
        SizeCheck::None, 0);
    if (run == ToolOutcome::Failed) {
        return false;
    }
    bool someOutputIsShort = run == ToolOutcome::ShortOutput;
    const auto reportShort = [this](const std::string& text) {
        raise(handlers_.OnTaskError, text);
    };
    for (const Output& output : outputs) {
        if (output.expected && !checkFileSize(output.path, output.tolerance, *output.expected,
                                              services_.formats, reportShort)) {
            someOutputIsShort = true;
        }
        stageFiles.push_back(output.path);
    }
    const std::string keptInStep = keptInStepSummary(sourceTimeline_.corrections);
    if (!someOutputIsShort && !keptInStep.empty()) {
        raise(handlers_.OnStepDone, keptInStep);
    }
    if (task.deleteOrigVob) {
        deleteInput(task.origVobFilePath, someOutputIsShort);
    }
    return true;
}

bool TprocessThread::runRemuxStage(const Ttask& task) {
    if (!inputExists(task.m2vFilePath)) {
        return false;
    }
    for (const AudioTrack& track : audioTracks_) {
        if (!inputExists(track.path)) {
            return false;
        }
    }
    for (const SubtitleStream& stream : subtitleStreams_) {
        if (!inputExists(stream.path)) {
            return false;
        }
    }
    // A task whose tracks were measured measures what it keeps: the source also holds what is
    // left out.
    if (!task.doDemux || measuresTracks()) {
        double streams = fileSizeKb(task.m2vFilePath);
        for (const AudioTrack& track : audioTracks_) {
            streams += fileSizeKb(track.path);
        }
        for (const SubtitleStream& stream : subtitleStreams_) {
            streams += fileSizeKb(stream.path);
        }
        referenceSize_ = streams * streamsOverhead;
    }
    if (!tools_.checkFreeSpace(task.m2vFilePath, task.vobFilePath)) {
        return false;
    }
    // The source is kept too: a remultiplexed VOB named like it is never taken for an old one.
    std::vector<std::string> stageFiles{task.m2vFilePath, task.origVobFilePath};
    for (const AudioTrack& track : audioTracks_) {
        stageFiles.push_back(track.path);
    }
    for (const SubtitleStream& stream : subtitleStreams_) {
        stageFiles.push_back(stream.path);
    }
    if (!removeStaleOutput(task.vobFilePath, stageFiles)) {
        return false;
    }
    setTarget(task.vobFilePath, false, referenceSize_);
    const ToolOutcome remux =
        toolRun(language::remuxInProgress,
                remuxCommand(task, audioTracks_, subtitleStreams_, services_.settings.values()),
                SizeCheck::File, tolerancePercent);
    if (remux == ToolOutcome::Failed) {
        return false;
    }
    if (task.deleteStreams) {
        deleteInput(task.m2vFilePath, remux == ToolOutcome::ShortOutput);
        for (const AudioTrack& track : audioTracks_) {
            deleteInput(track.path, remux == ToolOutcome::ShortOutput);
        }
        for (const SubtitleStream& stream : subtitleStreams_) {
            deleteInput(stream.path, remux == ToolOutcome::ShortOutput);
        }
    }
    return true;
}

bool TprocessThread::runAuthorStage(const Ttask& task) {
    if (!inputExists(task.vobFilePath)) {
        return false;
    }
    if (!task.doDemux && !task.doRemux) {
        referenceSize_ = fileSizeKb(task.vobFilePath);
    }
    if (!tools_.checkFreeSpace(task.vobFilePath, task.dvdFolderPath)) {
        return false;
    }
    const std::string videoTsFolder = videoTsFolderOf(task);
    // The title run would add a second title set beside a DVD that appeared while the earlier
    // stages ran, and the size check would measure the old one.
    if (holdsFiles(videoTsFolder)) {
        raise(handlers_.OnTaskError, videoTsFolder + language::videoTsNotEmpty);
        return false;
    }
    if (!subtitleStreams_.empty() && !writeAuthoringControl(task)) {
        return false;
    }
    setTarget(videoTsFolder, true, referenceSize_);
    const ToolOutcome title =
        toolRun(language::titleAuthoringInProgress,
                subtitleStreams_.empty()
                    ? titleAuthoringCommand(task, authoredTracks(), services_.settings.values())
                    : controlledAuthoringCommand(task, authoringControlPath(task),
                                                 services_.settings.values()),
                SizeCheck::Folder, tolerancePercent);
    if (!subtitleStreams_.empty()) {
        // Read by the title run alone: they go with it, whatever it did.
        std::string reason;
        services_.platform.deleteFile(authoringControlPath(task), reason);
        services_.platform.deleteFile(authoringPalettePath(task), reason);
    }
    if (title == ToolOutcome::Failed) {
        return false;
    }
    // The table of contents is followed on the same folder, and its size is not checked.
    const ToolOutcome contents =
        toolRun(language::folderAuthoringInProgress,
                tableOfContentsCommand(task, services_.settings.values()), SizeCheck::None, 0);
    if (contents == ToolOutcome::Failed) {
        return false;
    }
    const bool dvdMatches = checkAuthoredTitle(task, videoTsFolder);
    if (task.deleteVob) {
        if (title == ToolOutcome::ShortOutput || contents == ToolOutcome::ShortOutput) {
            deleteInput(task.vobFilePath, true);
        } else if (!dvdMatches) {
            // The VOB may be all that is left to author the DVD again from.
            raise(handlers_.OnStepDone, task.vobFilePath + language::fileKeptDvdCheckFailed);
        } else {
            deleteInput(task.vobFilePath, false);
        }
    }
    return true;
}

bool TprocessThread::checkAuthoredTitle(const Ttask& task, const std::string& videoTsFolder) {
    const std::optional<int> keptSubtitles =
        subtitleStreams_.empty() ? std::nullopt
                                 : std::optional<int>(static_cast<int>(authoredSubtitles_.size()));
    const DvdCheck check =
        checkAuthoredDvd(videoTsFolder, task.vobFilePath, task.chapterList, keptSubtitles);
    if (!check.summary.empty()) {
        raise(handlers_.OnStepDone, check.summary);
    }
    for (const std::string& error : check.errors) {
        raise(handlers_.OnTaskError, error);
    }
    return check.errors.empty();
}

bool TprocessThread::writeAuthoringControl(const Ttask& task) {
    // The authoring tool takes the picture's shape from the video itself.
    bool videoIsWide = sourceSubtitles_ && sourceSubtitles_->wideScreen;
    try {
        for (const mpeg::StreamInfo& stream : mpeg::surveyProgramStream(task.vobFilePath)) {
            if (stream.kind == mpeg::StreamKind::Video) {
                videoIsWide = stream.wideScreen;
                break;
            }
        }
    } catch (const std::runtime_error&) {
        // Unreadable now: the title run will say so; the IFO's shape stands.
    }
    authoredSubtitles_ = authoredSubtitles(subtitleStreams_, sourceSubtitles_, videoIsWide);
    const std::string palette = sourceSubtitles_ ? authoringPalettePath(task) : std::string();
    const std::string control = authoringControlPath(task);
    try {
        if (sourceSubtitles_) {
            writeToFile(palette, paletteFileText(sourceSubtitles_->palette), false);
        }
        writeToFile(control,
                    authoringControlFile(task, authoredTracks(), authoredSubtitles_, palette),
                    false);
    } catch (const IoError& error) {
        raise(handlers_.OnTaskError, control + language::controlFileNotWritten + error.what());
        return false;
    }
    raise(handlers_.OnStepDone, subtitleSummary(authoredSubtitles_, sourceIfo_));
    return true;
}

bool TprocessThread::removeStaleOutput(const std::string& path,
                                       const std::vector<std::string>& stageFiles) {
    if (!isExistingFile(path)) {
        return true;
    }
    for (const std::string& stageFile : stageFiles) {
        if (namesSameFile(path, stageFile)) {
            return true;
        }
    }
    std::string reason;
    if (services_.platform.deleteFile(path, reason)) {
        return true;
    }
    raise(handlers_.OnTaskError, path + language::fileNotDeleted + reason);
    return false;
}

bool TprocessThread::measuresTracks() const {
    return keepsEveryAudioTrack_ ||
           std::any_of(audioTracks_.begin(), audioTracks_.end(),
                       [](const AudioTrack& track) { return track.expectedKb.has_value(); });
}

std::vector<AudioTrack> TprocessThread::authoredTracks() const {
    // A task keeping only its first AC-3 track leaves the formats to the authoring tool.
    return keepsEveryAudioTrack_ ? audioTracks_ : std::vector<AudioTrack>();
}

void TprocessThread::setTarget(const std::string& target, bool isFolder, double expectedSize) {
    currentTarget_ = target;
    currentTargetIsFolder_ = isFolder;
    expectedSize_ = expectedSize;
}

TprocessThread::ToolOutcome TprocessThread::toolRun(const char* stageMessage,
                                                    const ToolCommand& command, SizeCheck check,
                                                    double tolerancePercent) {
    raise(handlers_.OnStepStart,
          stageMessage + std::string(language::stepSeparator) + command.commandLine);
    const std::optional<int> exitStatus = tools_.runCommandLine(command);
    raise(handlers_.OnStepDone, language::stepDone);
    if (!exitStatus) {
        return ToolOutcome::Failed;
    }
    if (*exitStatus != 0) {
        raise(handlers_.OnTaskError,
              command.commandLine + language::toolExitStatus + std::to_string(*exitStatus));
    }
    const auto reportShort = [this](const std::string& text) {
        raise(handlers_.OnTaskError, text);
    };
    bool sizeMatches = true;
    if (check == SizeCheck::File) {
        sizeMatches = checkFileSize(currentTarget_, tolerancePercent, expectedSize_,
                                    services_.formats, reportShort);
    } else if (check == SizeCheck::Folder) {
        sizeMatches = checkVideoTsSize(currentTarget_, tolerancePercent, expectedSize_,
                                       services_.formats, reportShort);
    }
    if (stopRequested_.load()) {
        cutShortTaskIndex_.store(currentTaskIndex_);
        return ToolOutcome::Failed;
    }
    return sizeMatches && *exitStatus == 0 ? ToolOutcome::Done : ToolOutcome::ShortOutput;
}

bool TprocessThread::inputExists(const std::string& path) {
    if (isExistingFile(path)) {
        return true;
    }
    raise(handlers_.OnTaskError, path + language::fileDoesNotExist);
    return false;
}

void TprocessThread::deleteInput(const std::string& path, bool outputIsShort) {
    // A short output may be all the user has left of the input: it stays.
    if (outputIsShort) {
        raise(handlers_.OnStepDone, path + language::fileKept);
        return;
    }
    std::string reason;
    if (services_.platform.deleteFile(path, reason)) {
        raise(handlers_.OnStepDone, path + language::fileDeleted);
    } else {
        raise(handlers_.OnTaskError, path + language::fileNotDeleted + reason);
    }
}

std::string TprocessThread::videoTsFolderOf(const Ttask& task) {
    return task.dvdFolderPath + platform::pathSeparator + "VIDEO_TS" + platform::pathSeparator;
}

bool TprocessThread::holdsFiles(const std::string& folderPath) {
    std::error_code error;
    const std::filesystem::directory_iterator entries(folderPath, error);
    return !error && entries != std::filesystem::directory_iterator();
}

void TprocessThread::raise(const EventHandler& handler, const std::string& text) {
    if (handler) {
        handler(*this, text, currentTaskIndex_);
    }
}
