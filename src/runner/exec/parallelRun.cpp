#include "runner/exec/parallelRun.h"

#include <algorithm>
#include <utility>

#include "runner/plan/taskFiles.h"

ParallelRun::ParallelRun(const TAllTask& tasks, const TaskNumbers& chosen, int tasksAtOnce,
                         TprocessThread::Services services, TprocessThread::Handlers handlers)
    : tasksAtOnce_(std::max(tasksAtOnce, 1)),
      services_(std::move(services)),
      handlers_(std::move(handlers)) {
    services_.reservations = &reservations_;
    for (const int number : chosen) {
        const Ttask& task = *tasks.taskAt(number);
        waiting_.push_back({number, task, filesOfTask(task)});
    }
    scheduler_ = std::thread([this] { schedule(); });
}

ParallelRun::~ParallelRun() {
    waitForEnd();
}

void ParallelRun::waitForEnd() {
    if (scheduler_.joinable()) {
        scheduler_.join();
    }
}

void ParallelRun::stopStarting() {
    std::lock_guard<std::mutex> lock(mutex_);
    startsStopped_ = true;
    changed_.notify_all();
}

void ParallelRun::requestStop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopRequested_ = true;
    for (Running& running : running_) {
        running.runner->requestStop();
    }
    changed_.notify_all();
}

std::string ParallelRun::runFailure() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return runFailure_;
}

void ParallelRun::schedule() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        collectEnded(lock);
        const bool stopping = stopRequested_ || startsStopped_ || !runFailure_.empty();
        if (!stopping && static_cast<int>(running_.size()) < tasksAtOnce_) {
            const auto next = nextStartable();
            if (next != waiting_.end()) {
                Waiting task = std::move(*next);
                waiting_.erase(next);
                start(std::move(task));
                continue;
            }
        }
        if (running_.empty() && (stopping || waiting_.empty())) {
            break;
        }
        changed_.wait(lock);
    }
    lock.unlock();
    if (handlers_.OnRunFinished) {
        try {
            handlers_.OnRunFinished();
        } catch (const std::exception& failure) {
            lock.lock();
            if (runFailure_.empty()) {
                runFailure_ = failure.what();
            }
        }
    }
}

std::list<ParallelRun::Waiting>::iterator ParallelRun::nextStartable() {
    for (auto candidate = waiting_.begin(); candidate != waiting_.end(); ++candidate) {
        bool free = true;
        for (const Running& running : running_) {
            free = free && !tasksShareAFile(candidate->files, running.files);
        }
        for (auto earlier = waiting_.begin(); free && earlier != candidate; ++earlier) {
            free = !tasksShareAFile(candidate->files, earlier->files);
        }
        if (free) {
            return candidate;
        }
    }
    return waiting_.end();
}

void ParallelRun::start(Waiting task) {
    running_.push_back({task.number, std::move(task.files), nullptr, false});
    Running& running = running_.back();
    running.runner = std::make_unique<TprocessThread>(std::vector<Ttask>{std::move(task.task)},
                                                      TaskNumbers{task.number}, services_,
                                                      handlersOfOneTask(&running));
}

void ParallelRun::collectEnded(std::unique_lock<std::mutex>& lock) {
    for (auto it = running_.begin(); it != running_.end();) {
        if (!it->ended) {
            ++it;
            continue;
        }
        std::unique_ptr<TprocessThread> runner = std::move(it->runner);
        const int number = it->number;
        it = running_.erase(it);
        // The runner's thread has raised its last event: joining it takes no time, but it must
        // not hold the lock its last event may still be leaving.
        lock.unlock();
        runner->waitForEnd();
        const bool failed = !runner->runFailure().empty();
        const bool cutShort = runner->cutShortTaskIndex() >= 0;
        lock.lock();
        if (failed) {
            failRun(runner->runFailure());
        }
        lock.unlock();
        reportTaskEnd(number, cutShort || failed);
        lock.lock();
        // The list may have changed while the lock was free.
        it = running_.begin();
    }
}

void ParallelRun::reportTaskEnd(int taskIndex, bool cutShort) {
    if (!handlers_.OnEvent) {
        return;
    }
    std::string failure;
    {
        std::lock_guard<std::mutex> events(eventMutex_);
        try {
            handlers_.OnEvent(RunEvent::taskEnd(taskIndex, cutShort));
            return;
        } catch (const std::exception& error) {
            failure = error.what();
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    failRun(failure);
}

void ParallelRun::failRun(const std::string& failure) {
    if (!runFailure_.empty()) {
        return;
    }
    runFailure_ = failure;
    // A failure that escapes a task ends the whole run, as it does with one task.
    for (Running& other : running_) {
        other.runner->requestStop();
    }
}

template <typename Handler>
Handler ParallelRun::serialized(const Handler& handler) {
    if (!handler) {
        return handler;
    }
    return [this, handler](auto&&... arguments) {
        std::lock_guard<std::mutex> lock(eventMutex_);
        handler(std::forward<decltype(arguments)>(arguments)...);
    };
}

TprocessThread::Handlers ParallelRun::handlersOfOneTask(Running* running) {
    TprocessThread::Handlers handlers;
    handlers.OnEvent = serialized(handlers_.OnEvent);
    handlers.OnStepStart = serialized(handlers_.OnStepStart);
    handlers.OnStepDone = serialized(handlers_.OnStepDone);
    handlers.OnTaskStart = serialized(handlers_.OnTaskStart);
    handlers.OnTaskError = serialized(handlers_.OnTaskError);
    handlers.OnRunFinished = [this, running] {
        std::lock_guard<std::mutex> lock(mutex_);
        running->ended = true;
        changed_.notify_all();
    };
    return handlers;
}
