#pragma once

#include <functional>

// How the console asks the batch runner to stop (Ctrl-C, or a request to end the program).
namespace consoleSignals {

// Call before any thread is started, so that no other thread takes the console's requests.
void prepare();

// From now on the first request calls abortRun, on a thread of its own; a second one calls
// endAtOnce, then ends the program at once.
void watch(std::function<void()> abortRun, std::function<void()> endAtOnce);

// True when the standard output is a terminal rather than a file or a pipe.
bool standardOutputIsTerminal();

}  // namespace consoleSignals
