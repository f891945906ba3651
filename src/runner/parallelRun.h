#pragma once

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runner/processThreadUnit.h"
#include "runner/spaceReservations.h"

// A run of several tasks at once: each task on a runner of its own, at most tasksAtOnce of them
// at a time, started in list order. The task records are copied as they stand when the run
// starts: later changes to the list never reach it. A task that would touch a file or folder of a
// running task, or of an earlier task still waiting, waits for it. The runners' events reach the
// handlers one at a time, each with its task's number; OnRunFinished comes once, after the last
// runner.
class ParallelRun {
public:
    // Raised after a task's last event, one at a time with the runners' events: whether a stop
    // or a failure cut the task short. A handler that throws ends the run as a runner's does.
    using TaskEndHandler = std::function<void(int taskIndex, bool cutShort)>;

    ParallelRun(const TAllTask& tasks, const TaskNumbers& chosen, int tasksAtOnce,
                TprocessThread::Services services, TprocessThread::Handlers handlers,
                TaskEndHandler onTaskEnd = nullptr);
    // Waits for the end of the run.
    ~ParallelRun();
    ParallelRun(const ParallelRun&) = delete;
    ParallelRun& operator=(const ParallelRun&) = delete;

    // Every running task stops at its next test point, and no further task starts.
    void requestStop();
    void waitForEnd();

    // After the end: the failure that ended the run early (the first one), or empty; and the
    // tasks a stop cut short, by their numbers in the whole list.
    std::string runFailure() const;
    std::vector<int> cutShortTaskIndexes() const;
    int startedTaskCount() const;

private:
    struct Waiting {
        int number;
        Ttask task;
        std::vector<std::string> files;
    };
    struct Running {
        int number;
        std::vector<std::string> files;
        std::unique_ptr<TprocessThread> runner;
        bool ended = false;
    };

    void schedule();
    // The first waiting task that shares no file with a running task or an earlier waiting one.
    std::list<Waiting>::iterator nextStartable();
    void start(Waiting task);
    void collectEnded(std::unique_lock<std::mutex>& lock);
    // Without the lock held.
    void reportTaskEnd(int taskIndex, bool cutShort);
    // Under the lock: the first failure ends the run, and every other running task stops.
    void failRun(const std::string& failure);
    TprocessThread::Handlers handlersOfOneTask(Running* running);
    TprocessThread::EventHandler serialized(const TprocessThread::EventHandler& handler);

    const int tasksAtOnce_;
    TprocessThread::Services services_;
    const TprocessThread::Handlers handlers_;
    const TaskEndHandler onTaskEnd_;
    SpaceReservations reservations_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Waiting> waiting_;
    std::list<Running> running_;
    bool stopRequested_ = false;
    std::string runFailure_;
    std::vector<int> cutShort_;
    int started_ = 0;
    // The handlers are called one at a time, whichever runner raises the event.
    std::mutex eventMutex_;
    std::thread scheduler_;
};
