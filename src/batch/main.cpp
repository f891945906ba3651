#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <thread>

#include "batch/batchOptions.h"
#include "batch/batchRun.h"
#include "language/language.h"
#include "platform/platform.h"

namespace {

// Signals are taken by a thread of their own, so that an abort can lock and log like the
// window's Abort button; a second signal ends the program at once.
void watchSignals(sigset_t signals, BatchRun& run) {
    int signalNumber = 0;
    if (sigwait(&signals, &signalNumber) != 0) {
        return;
    }
    run.abort();
    sigwait(&signals, &signalNumber);
    _exit(128 + signalNumber);
}

}  // namespace

int main(int argc, char* argv[]) {
    const BatchOptions options = parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case BatchOptions::Action::Help:
            std::cout << batchUsage;
            return 0;
        case BatchOptions::Action::Version:
            std::cout << "marovink-batch " << language::programVersion << "\n";
            return 0;
        case BatchOptions::Action::UsageError:
            std::cerr << "marovink-batch: " << options.error << "\n" << batchUsage;
            return BatchRun::cannotRun;
        case BatchOptions::Action::Run:
            break;
    }

    // Blocked before any thread exists, so every thread inherits the mask and only the watcher
    // takes these signals.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    const std::unique_ptr<platform::Platform> system = platform::createPlatform();
    ConsoleReport console(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0);
    BatchRun run(*system, platform::runningProgramPath(), platform::systemRegionalFormats(),
                 console);
    std::thread(watchSignals, signals, std::ref(run)).detach();
    return run.run(options);
}
