#pragma once

#include <functional>

// How the console asks the batch runner to stop (Ctrl-C, a request to end the program, or the
// terminal closing).
namespace consoleSignals {

// Call before any thread is started, so that no other thread takes the console's requests.
void prepare();

// From now on the first request calls abortRun, on a thread of its own; a second one calls
// endAtOnce, then ends the program at once with the status of an aborted run. Where the system
// ends the program soon after its console is closed, that request calls both at once.
void watch(std::function<void()> abortRun, std::function<void()> endAtOnce);

// True when the standard output is a terminal rather than a file or a pipe.
bool standardOutputIsTerminal();

}  // namespace consoleSignals
