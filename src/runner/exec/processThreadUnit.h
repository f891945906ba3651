#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "regional/regionalFormats.h"
#include "runner/exec/toolInvocation.h"
#include "runner/plan/taskPlan.h"
#include "runner/state/runEvent.h"
#include "runner/state/taskSelection.h"
#include "task/task.h"

class MessageSink;
class Settings;
class SpaceReservations;
namespace platform {
class Platform;
}
// Carries out one run of a task list on a thread of its own, at the lowest priority: for each
// task the demultiplexing, remultiplexing and authoring stages it asks for, reporting every step
// through its events.
class TprocessThread {
public:
    // Raised on the runner's thread, one at a time; the run goes on when the handler returns.
    // A handler that throws ends the run.
    using EventHandler =
        std::function<void(TprocessThread& sender, const std::string& text, int taskIndex)>;

    // Every event, typed, before the named handler of its kind.
    using TypedHandler = std::function<void(const RunEvent& event)>;

    struct Handlers {
        TypedHandler OnEvent;
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
    // Failed: the stage ends (the tool did not start, or a stop was seen). ShortOutput: the tool
    // ended with an error status or its output is short, so the stage keeps its inputs.
    enum class ToolOutcome { Failed, ShortOutput, Done };
    // Failed: the stage ends early, and the task with it. Replan: a step changed what the task's
    // streams ask of the stages from TaskRun::replanFrom on, which run again as planned anew.
    enum class StepOutcome { Failed, Done, Replan };
    // Where the run of one task's plan stands.
    struct TaskRun;

    void run();
    void runTask(const Ttask& task);
    StepOutcome runStage(const plan::Stage& stage, TaskRun& run);
    StepOutcome runStep(const plan::Step& step, TaskRun& run);
    // The steps of a task's disc (discSteps.cpp).
    StepOutcome decideFitting(const plan::DecideFitting& step, TaskRun& run);
    StepOutcome checkDiscFit(const plan::CheckDiscFit& step, TaskRun& run);
    void reportImage(const plan::ReportImage& step);
    // Empties a VIDEO_TS folder of what this run authored into it; false, reported, when a file
    // stays.
    bool removeAuthoredFiles(const std::string& videoTsFolder);
    ToolOutcome runTool(const plan::ToolRun& tool, TaskRun& run);
    // The control file and the palette that the title run reads for the subtitles; false, with
    // the reason reported, when they cannot be written.
    bool writeAuthoringControl(const plan::WriteAuthoringControl& step, TaskRun& run);
    // Reads the authored title set back and reports what differs from the VOB.
    void checkAuthoredTitle(const plan::CheckAuthoredDvd& step, TaskRun& run);
    // Deletes the inputs a stage has used, or keeps them when an output is short or the DVD
    // they were made into differs from them.
    void deleteUsedInputs(const plan::Stage& stage, const TaskRun& run);
    ToolOutcome toolRun(const char* stageMessage, const ToolCommand& command, plan::SizeCheck check,
                        double tolerancePercent);
    void setTarget(const std::string& target, bool isFolder, double expectedSize);
    // Removes a file that an earlier run left where the tool is to write, so that only what this
    // run writes is measured; never one of the stage's own files. False, reported, when it stays.
    bool removeStaleOutput(const std::string& path, const std::vector<std::string>& stageFiles);
    bool inputExists(const std::string& path);
    // Deletes an input the stage has used, or keeps it when the stage's output is short.
    void deleteInput(const std::string& path, bool outputIsShort);
    static bool holdsFiles(const std::string& folderPath);
    // Raises the event, then the named handler of its kind with the event's text.
    void raise(const RunEvent& event);
    void reportError(const std::string& text);
    void reportDone(const std::string& text);

    const std::vector<Ttask> tasks_;
    const TaskNumbers taskNumbers_;  // of tasks_, in the whole list
    Services services_;
    const Handlers handlers_;
    ToolInvocation tools_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<int> cutShortTaskIndex_{-1};
    int currentTaskIndex_ = 0;
    double expectedSize_ = 0;
    std::string currentTarget_;
    bool currentTargetIsFolder_ = false;
    std::string runFailure_;
    std::thread thread_;
};
