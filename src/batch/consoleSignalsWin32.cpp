#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <utility>

#include "batch/consoleSignals.h"

namespace consoleSignals {

namespace {

// The status a shell reports for a program ended by Ctrl-C.
constexpr UINT interruptedStatus = 130;

std::function<void()> abortHandler;
std::function<void()> endHandler;
std::atomic<int> requests{0};

// The system calls this on a thread of its own for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
        return FALSE;
    }
    if (requests.fetch_add(1) == 0) {
        abortHandler();
        return TRUE;
    }
    endHandler();
    ExitProcess(interruptedStatus);
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
