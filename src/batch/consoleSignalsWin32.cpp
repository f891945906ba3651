#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <utility>

#include "batch/batchRun.h"
#include "batch/consoleSignals.h"

namespace consoleSignals {

namespace {

std::function<void()> abortHandler;
std::function<void()> endHandler;
std::atomic<int> requests{0};

// The system calls this on a thread of its own for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    const bool first = requests.fetch_add(1) == 0;
    if (first) {
        abortHandler();
    }
    // The system ends the program moments after its console closes, whatever the handler
    // returns: the running tool is ended now rather than left running unwatched.
    if (first && event != CTRL_CLOSE_EVENT) {
        return TRUE;
    }
    endHandler();
    ExitProcess(BatchRun::runAborted);
}

}  // namespace

void prepare() {}

void watch(std::function<void()> abortRun, std::function<void()> endAtOnce) {
    abortHandler = std::move(abortRun);
    endHandler = std::move(endAtOnce);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool standardOutputIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}

}  // namespace consoleSignals
