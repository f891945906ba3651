#include "runner/exec/processThreadUnit.h"

#include <filesystem>
#include <system_error>

#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "mpeg/streamSurvey.h"
#include "platform/platform.h"
#include "runner/exec/dvdCheck.h"
#include "runner/exec/globalMethods.h"
#include "runner/exec/taskRun.h"
#include "runner/plan/discFitting.h"
#include "runner/plan/taskFiles.h"
#include "storage/settings.h"

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
          [this](const std::string& text) { reportError(text); }, services_.reservations),
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
            raise(RunEvent::taskStart(currentTaskIndex_));
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
    if (task.doAuthor && holdsFiles(plan::videoTsFolderOf(task))) {
        reportError(plan::videoTsFolderOf(task) + language::videoTsNotEmptyAtStart);
        return;
    }
    TaskStreams streams = surveyedStreams(task);
    if (const std::optional<std::string> refusal =
            unsafeOutputOf(task, plan::streamPaths(streams))) {
        reportError(*refusal);
        return;
    }
    if (task.doDemux) {
        measureAlongTimeline(task, streams);
    }
    const SettingsValues settings = services_.settings.values();
    TaskRun run{task, plan::planTask(task, streams, settings)};
    if (run.plan.namesUnknownDisc) {
        reportError(discFitting::unknownDiscText(taskChoices::discName(task)));
        return;
    }
    if (run.plan.disc) {
        run.plan.streams.seconds = titleSeconds(task);
        discFitting::predictFitting(task, run.plan.streams, *run.plan.disc);
        run.plan = plan::planTask(task, run.plan.streams, settings);
    }
    std::size_t next = 0;
    while (next < run.plan.stages.size()) {
        StepOutcome outcome;
        {
            // What a stage set aside on its drive is given back when it ends, however it ends.
            struct StageEnd {
                ToolInvocation& tools;
                ~StageEnd() { tools.endStage(); }
            } end{tools_};
            outcome = runStage(run.plan.stages[next], run);
        }
        if (outcome == StepOutcome::Failed) {
            return;
        }
        ++next;
        if (outcome == StepOutcome::Replan) {
            run.plan = plan::planTask(task, run.plan.streams, settings);
            next = 0;
            while (next < run.plan.stages.size() && run.plan.stages[next].kind < run.replanFrom) {
                ++next;
            }
        }
    }
}

TprocessThread::StepOutcome TprocessThread::runStage(const plan::Stage& stage, TaskRun& run) {
    for (const std::string& input : stage.inputs) {
        if (!inputExists(input)) {
            return StepOutcome::Failed;
        }
    }
    if (!stage.reference.imageOfFolder.empty()) {
        run.referenceKb = static_cast<double>(
                              discSize::filesOfFolder(stage.reference.imageOfFolder).sectorBytes) /
                          1024;
    } else if (!stage.reference.measured.empty()) {
        double measured = 0;
        for (const std::string& path : stage.reference.measured) {
            measured += fileSizeKb(path);
        }
        run.referenceKb = measured * stage.reference.factor;
    }
    if (!tools_.checkFreeSpace(stage.spaceFor, stage.spaceOn)) {
        return StepOutcome::Failed;
    }
    if (!stage.emptyFolder.empty() && holdsFiles(stage.emptyFolder)) {
        reportError(stage.emptyFolder + language::videoTsNotEmpty);
        return StepOutcome::Failed;
    }
    run.stageFiles = stage.ownFiles;
    run.someOutputIsShort = false;
    run.dvdMatches = true;
    for (const plan::Step& step : stage.steps) {
        const StepOutcome outcome = runStep(step, run);
        if (outcome != StepOutcome::Done) {
            return outcome;
        }
    }
    deleteUsedInputs(stage, run);
    return StepOutcome::Done;
}

TprocessThread::StepOutcome TprocessThread::runStep(const plan::Step& step, TaskRun& run) {
    if (const auto* tool = std::get_if<plan::ToolRun>(&step)) {
        const ToolOutcome outcome = runTool(*tool, run);
        run.someOutputIsShort = run.someOutputIsShort || outcome == ToolOutcome::ShortOutput;
        return outcome != ToolOutcome::Failed ? StepOutcome::Done : StepOutcome::Failed;
    }
    if (const auto* note = std::get_if<plan::NoteWhenAllDone>(&step)) {
        if (!run.someOutputIsShort) {
            reportDone(note->text);
        }
        return StepOutcome::Done;
    }
    if (const auto* control = std::get_if<plan::WriteAuthoringControl>(&step)) {
        return writeAuthoringControl(*control, run) ? StepOutcome::Done : StepOutcome::Failed;
    }
    if (const auto* check = std::get_if<plan::CheckAuthoredDvd>(&step)) {
        checkAuthoredTitle(*check, run);
        return StepOutcome::Done;
    }
    if (const auto* decision = std::get_if<plan::DecideFitting>(&step)) {
        return decideFitting(*decision, run);
    }
    if (const auto* discCheck = std::get_if<plan::CheckDiscFit>(&step)) {
        return checkDiscFit(*discCheck, run);
    }
    reportImage(std::get<plan::ReportImage>(step));
    return StepOutcome::Done;
}

TprocessThread::ToolOutcome TprocessThread::runTool(const plan::ToolRun& tool, TaskRun& run) {
    for (const std::string& path : tool.clearedFirst) {
        if (!removeStaleOutput(path, run.stageFiles)) {
            return ToolOutcome::Failed;
        }
    }
    setTarget(tool.target, tool.targetIsFolder, tool.expected.of(run.referenceKb));
    ToolOutcome outcome = toolRun(tool.message, tool.command, tool.check, tool.tolerancePercent);
    for (const std::string& path : tool.removedAfter) {
        std::string reason;
        services_.platform.deleteFile(path, reason);
    }
    if (outcome == ToolOutcome::Failed) {
        return outcome;
    }
    const auto reportShort = [this](const std::string& text) { reportError(text); };
    run.stageFiles.push_back(tool.target);
    for (const plan::OutputCheck& output : tool.outputChecks) {
        if (!checkFileSize(output.path, output.tolerancePercent,
                           output.expected.of(run.referenceKb), services_.formats, reportShort)) {
            outcome = ToolOutcome::ShortOutput;
        }
        run.stageFiles.push_back(output.path);
    }
    return outcome;
}

void TprocessThread::deleteUsedInputs(const plan::Stage& stage, const TaskRun& run) {
    for (const std::string& path : stage.deletedAfter) {
        if (!run.someOutputIsShort && stage.deletionNeedsMatchingDvd && !run.dvdMatches) {
            reportDone(path + language::fileKeptDvdCheckFailed);
        } else {
            deleteInput(path, run.someOutputIsShort);
        }
    }
}

void TprocessThread::checkAuthoredTitle(const plan::CheckAuthoredDvd& step, TaskRun& run) {
    const std::optional<int> keptSubtitles =
        step.checksSubtitles ? std::optional<int>(static_cast<int>(run.authoredSubtitles.size()))
                             : std::nullopt;
    const DvdCheck check = checkAuthoredDvd(step.videoTsFolder, run.task.vobFilePath,
                                            run.task.chapterList, keptSubtitles);
    if (!check.summary.empty()) {
        reportDone(check.summary);
    }
    for (const std::string& error : check.errors) {
        reportError(error);
    }
    run.dvdMatches = check.errors.empty();
}

bool TprocessThread::writeAuthoringControl(const plan::WriteAuthoringControl& step, TaskRun& run) {
    const TaskStreams& streams = run.plan.streams;
    // The authoring tool takes the picture's shape from the video itself.
    bool videoIsWide = streams.sourceSubtitles && streams.sourceSubtitles->wideScreen;
    try {
        for (const mpeg::StreamInfo& stream : mpeg::surveyProgramStream(run.task.vobFilePath)) {
            if (stream.kind == mpeg::StreamKind::Video) {
                videoIsWide = stream.wideScreen;
                break;
            }
        }
    } catch (const std::runtime_error&) {
        // Unreadable now: the title run will say so; the IFO's shape stands.
    }
    run.authoredSubtitles =
        authoredSubtitles(streams.subtitles, streams.sourceSubtitles, videoIsWide);
    try {
        if (!step.palettePath.empty()) {
            writeToFile(step.palettePath, paletteFileText(streams.sourceSubtitles->palette), false);
        }
        writeToFile(step.controlPath,
                    authoringControlFile(run.task, plan::authoredTrackList(streams),
                                         run.authoredSubtitles, step.palettePath),
                    false);
    } catch (const IoError& error) {
        reportError(step.controlPath + language::controlFileNotWritten + error.what());
        return false;
    }
    reportDone(subtitleSummary(run.authoredSubtitles, streams.sourceIfo));
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
    reportError(path + language::fileNotDeleted + reason);
    return false;
}

void TprocessThread::setTarget(const std::string& target, bool isFolder, double expectedSize) {
    currentTarget_ = target;
    currentTargetIsFolder_ = isFolder;
    expectedSize_ = expectedSize;
}

TprocessThread::ToolOutcome TprocessThread::toolRun(const char* stageMessage,
                                                    const ToolCommand& command,
                                                    plan::SizeCheck check,
                                                    double tolerancePercent) {
    raise(RunEvent::stepStart(currentTaskIndex_, stageMessage, command.commandLine, currentTarget_,
                              currentTargetIsFolder_, expectedSize_));
    const std::optional<int> exitStatus = tools_.runCommandLine(command);
    raise(RunEvent::toolEnd(currentTaskIndex_, exitStatus));
    if (!exitStatus) {
        return ToolOutcome::Failed;
    }
    if (*exitStatus != 0) {
        reportError(command.commandLine + language::toolExitStatus + std::to_string(*exitStatus));
    }
    const auto reportShort = [this](const std::string& text) { reportError(text); };
    bool sizeMatches = true;
    if (check == plan::SizeCheck::File) {
        sizeMatches = checkFileSize(currentTarget_, tolerancePercent, expectedSize_,
                                    services_.formats, reportShort);
    } else if (check == plan::SizeCheck::Folder) {
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
    reportError(path + language::fileDoesNotExist);
    return false;
}

void TprocessThread::deleteInput(const std::string& path, bool outputIsShort) {
    // A short output may be all the user has left of the input: it stays.
    if (outputIsShort) {
        reportDone(path + language::fileKept);
        return;
    }
    std::string reason;
    if (services_.platform.deleteFile(path, reason)) {
        raise(RunEvent::deletion(currentTaskIndex_, path));
    } else {
        reportError(path + language::fileNotDeleted + reason);
    }
}

bool TprocessThread::holdsFiles(const std::string& folderPath) {
    std::error_code error;
    const std::filesystem::directory_iterator entries(folderPath, error);
    return !error && entries != std::filesystem::directory_iterator();
}

void TprocessThread::raise(const RunEvent& event) {
    if (handlers_.OnEvent) {
        handlers_.OnEvent(event);
    }
    const EventHandler* named = nullptr;
    switch (event.kind) {
        case RunEvent::Kind::taskStarted:
            named = &handlers_.OnTaskStart;
            break;
        case RunEvent::Kind::stepStarted:
            named = &handlers_.OnStepStart;
            break;
        case RunEvent::Kind::stepDone:
            named = &handlers_.OnStepDone;
            break;
        case RunEvent::Kind::taskError:
            named = &handlers_.OnTaskError;
            break;
        default:
            return;
    }
    if (*named) {
        (*named)(*this, eventText(event), currentTaskIndex_);
    }
}

void TprocessThread::reportError(const std::string& text) {
    raise(RunEvent::error(currentTaskIndex_, text));
}

void TprocessThread::reportDone(const std::string& text) {
    raise(RunEvent::done(currentTaskIndex_, text));
}
