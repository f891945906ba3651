#pragma once

#include <condition_variable>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "runner/exec/processThreadUnit.h"
#include "runner/exec/spaceReservations.h"

// A run of several tasks at once: each task on a runner of its own, at most tasksAtOnce of them
// at a time, started in list order. The task records are copied as they stand when the run
// starts: later changes to the list never reach it. A task that would touch a file or folder of a
// running task, or of an earlier task still waiting, waits for it. The runners' events reach the
// handlers one at a time, each with its task's number; after a task's last event, OnEvent has
// its end (whether a stop or a failure cut it short), and a handler that throws then ends the run
// as a runner's does. OnRunFinished comes once, after the last runner.
class ParallelRun {
public:
    ParallelRun(const TAllTask& tasks, const TaskNumbers& chosen, int tasksAtOnce,
                TprocessThread::Services services, TprocessThread::Handlers handlers);
    // Waits for the end of the run.
    ~ParallelRun();
    ParallelRun(const ParallelRun&) = delete;
    ParallelRun& operator=(const ParallelRun&) = delete;

    // Every running task stops at its next test point, and no further task starts.
    void requestStop();
    // No further task starts; the running ones go on to their end.
    void stopStarting();
    void waitForEnd();

    // After the end: the failure that ended the run early (the first one), or empty.
    std::string runFailure() const;

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
    // The handler, called under the event lock; none stays none.
    template <typename Handler>
    Handler serialized(const Handler& handler);

    const int tasksAtOnce_;
    TprocessThread::Services services_;
    const TprocessThread::Handlers handlers_;
    SpaceReservations reservations_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::list<Waiting> waiting_;
    std::list<Running> running_;
    bool stopRequested_ = false;
    bool startsStopped_ = false;
    std::string runFailure_;
    // The handlers are called one at a time, whichever runner raises the event.
    std::mutex eventMutex_;
    std::thread scheduler_;
};
