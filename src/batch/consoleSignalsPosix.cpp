#include <signal.h>
#include <unistd.h>

#include <thread>

#include "batch/batchRun.h"
#include "batch/consoleSignals.h"

namespace consoleSignals {

namespace {

sigset_t watchedSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    // A closed terminal: the run must not go on unseen, nor end leaving its tool running.
    sigaddset(&signals, SIGHUP);
    return signals;
}

}  // namespace

void prepare() {
    // Blocked before any thread exists, so every thread inherits the mask and only the watcher
    // takes these signals.
    const sigset_t signals = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void watch(std::function<void()> abortRun, std::function<void()> endAtOnce) {
    // Signals are taken by a thread of their own, so that an abort can lock and log like the
    // window's Abort button.
    std::thread([abortRun = std::move(abortRun), endAtOnce = std::move(endAtOnce)] {
        const sigset_t signals = watchedSignals();
        int signalNumber = 0;
        if (sigwait(&signals, &signalNumber) != 0) {
            return;
        }
        abortRun();
        sigwait(&signals, &signalNumber);
        endAtOnce();
        _exit(BatchRun::runAborted);
    }).detach();
}

bool standardOutputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

}  // namespace consoleSignals
