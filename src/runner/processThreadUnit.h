#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "mpeg/ifoSubtitles.h"
#include "regional/regionalFormats.h"
#include "runner/audioTracks.h"
#include "runner/subtitleStreams.h"
#include "runner/taskSelection.h"
#include "runner/toolInvocation.h"
#include "task/task.h"

class MessageSink;
class Settings;
class SpaceReservations;
namespace platform {
class Platform;
}
struct ToolCommand;

// Carries out one run of a task list on a thread of its own, at the lowest priority: for each
// task the demultiplexing, remultiplexing and authoring stages it asks for, reporting every step
// through its events.
class TprocessThread {
public:
    // Raised on the runner's thread, one at a time; the run goes on when the handler returns.
    // A handler that throws ends the run.
    using EventHandler =
        std::function<void(TprocessThread& sender, const std::string& text, int taskIndex)>;

    struct Handlers {
        EventHandler OnStepStart;
        EventHandler OnStepDone;
        EventHandler OnTaskStart;
        EventHandler OnTaskError;
        // Raised once, last, on the runner's thread; a window hands it to its own thread.
        std::function<void()> OnRunFinished;
    };

    struct Services {
        Settings& settings;
        platform::Platform& platform;
        MessageSink& messages;
        RegionalFormats formats;
        // Shared by the runners of tasks that run at the same time; none for a run of one.
        SpaceReservations* reservations = nullptr;
    };

    // Copies the task records as they stand and starts the run at once: later changes to the list
    // or its tasks never reach this run.
    TprocessThread(const TAllTask& tasks, Services services, Handlers handlers);
    // The same for the chosen tasks only; each event still carries the task's number in the
    // whole list.
    TprocessThread(const TAllTask& tasks, const TaskNumbers& chosen, Services services,
                   Handlers handlers);
    // The same for records already copied, each with its number in the whole list.
    TprocessThread(std::vector<Ttask> tasks, TaskNumbers numbers, Services services,
                   Handlers handlers);
    // Waits for the end of the run.
    ~TprocessThread();
    TprocessThread(const TprocessThread&) = delete;
    TprocessThread& operator=(const TprocessThread&) = delete;

    // Asks the run to stop at its next test point; a tool that is running is not interrupted.
    void requestStop() { stopRequested_.store(true); }
    void waitForEnd();

    // The output of the tool run that the latest OnStepStart announced.
    const std::string& currentTarget() const { return currentTarget_; }
    bool currentTargetIsFolder() const { return currentTargetIsFolder_; }
    double expectedSize() const { return expectedSize_; }

    // The text of the failure that ended the run early (a file that could not be read, a handler
    // that failed); empty when the run ended normally or by a stop.
    const std::string& runFailure() const { return runFailure_; }

    // The task whose stage a stop cut short, or -1: a stop seen after a whole task cuts none.
    int cutShortTaskIndex() const { return cutShortTaskIndex_.load(); }

private:
    enum class SizeCheck { None, File, Folder };
    // Failed: the stage ends (the tool did not start, or a stop was seen). ShortOutput: the tool
    // ended with an error status or its output is short, so the stage keeps its inputs.
    enum class ToolOutcome { Failed, ShortOutput, Done };

    void run();
    void runTask(const Ttask& task);
    bool runDemuxStage(const Ttask& task);
    // The video, the audio tracks and the subtitle streams in one reading of the source, each
    // output's size checked after it, then the source deleted on request; false when the stage
    // ends. videoExpected: before what the other streams are expected to take.
    bool runOnePassDemux(const Ttask& task, double videoExpected,
                         std::vector<std::string>& stageFiles);
    // The expected size and the tolerance of a track the demultiplexer writes.
    std::pair<double, double> trackExpectation(const AudioTrack& track) const;
    // The control file and the palette that the title run reads for the subtitles; false, with
    // the reason reported, when they cannot be written.
    bool writeAuthoringControl(const Ttask& task);
    bool runRemuxStage(const Ttask& task);
    bool runAuthorStage(const Ttask& task);
    ToolOutcome toolRun(const char* stageMessage, const ToolCommand& command, SizeCheck check,
                        double tolerancePercent);
    void setTarget(const std::string& target, bool isFolder, double expectedSize);
    // Whether the tracks' sizes come from the source: the video then expects what they leave.
    bool measuresTracks() const;
    std::vector<AudioTrack> authoredTracks() const;
    // Removes a file that an earlier run left where the tool is to write, so that only what this
    // run writes is measured; never one of the stage's own files. False, reported, when it stays.
    bool removeStaleOutput(const std::string& path, const std::vector<std::string>& stageFiles);
    // Reads the authored title set back and reports what differs from the VOB; true when it
    // matches.
    bool checkAuthoredTitle(const Ttask& task, const std::string& videoTsFolder);
    bool inputExists(const std::string& path);
    // Deletes an input the stage has used, or keeps it when the stage's output is short.
    void deleteInput(const std::string& path, bool outputIsShort);
    static std::string videoTsFolderOf(const Ttask& task);
    static bool holdsFiles(const std::string& folderPath);
    void raise(const EventHandler& handler, const std::string& text);

    const std::vector<Ttask> tasks_;
    const TaskNumbers taskNumbers_;  // of tasks_, in the whole list
    Services services_;
    const Handlers handlers_;
    ToolInvocation tools_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<int> cutShortTaskIndex_{-1};
    int currentTaskIndex_ = 0;
    double referenceSize_ = 0;
    // The audio tracks of the task being run.
    bool keepsEveryAudioTrack_ = false;
    std::vector<AudioTrack> audioTracks_;
    // Its subtitle streams when it keeps them (none otherwise), and what the source's title set
    // says of them.
    std::vector<SubtitleStream> subtitleStreams_;
    std::optional<mpeg::TitleSubtitles> sourceSubtitles_;
    std::string sourceIfo_;
    std::vector<AuthoredSubtitle> authoredSubtitles_;
    SourceTimeline sourceTimeline_;
    double expectedSize_ = 0;
    std::string currentTarget_;
    bool currentTargetIsFolder_ = false;
    std::string runFailure_;
    std::thread thread_;
};
