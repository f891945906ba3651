#pragma once

#include <mutex>
#include <ostream>
#include <string>

#include "messages/messageSink.h"

// What a batch run shows on the console: a readable line per event on standard output, the
// current step's progress on one updating line when that is a terminal, messages on standard
// error. Safe to call from several threads.
class ConsoleReport : public MessageSink {
public:
    ConsoleReport(std::ostream& out, std::ostream& err, bool outIsTerminal);

    void taskStart(int taskIndex);
    void stepStart(const std::string& text);
    void stepDone(const std::string& text);
    void taskError(const std::string& text);
    void progress(int percentage);
    // Shown after the step's percentage on the progress line: where the run stands.
    void runPosition(const std::string& text);
    // With several tasks at once, the progress line shows the whole run's percentage instead,
    // then what it is doing and where it stands.
    void wholeRun(int percentage, const std::string& text);
    void aborting();
    void aborted(int tasksNotRun);
    void endedAtOnce();
    void finished(int taskCount, int failedTaskCount);
    // The summary of a run that did not go through its tasks.
    enum class Stop { aborted, endedEarly };
    void stoppedEarly(Stop stop, int startedTaskCount, int failedTaskCount, int tasksNotRun);
    void nothingToRun();
    // A retried task that skips the stages its earlier run finished.
    void resumed(int taskIndex);
    void failure(const std::string& text);

    void showError(const std::string& text) override;
    void showWarning(const std::string& text) override;

private:
    void line(std::ostream& stream, const std::string& text);
    void drawProgressLine();

    std::mutex mutex_;
    std::ostream& out_;
    std::ostream& err_;
    const bool outIsTerminal_;
    bool progressShown_ = false;
    bool stepUnderWay_ = false;
    int percentage_ = 0;
    std::string position_;
    std::size_t progressWidth_ = 0;  // of the progress line last drawn
};

// The text as the console writes it: CR LF line ends as LF, and every other control byte (and a
// control character of UTF-8) as \x1b, so that no text of a file reaches the terminal raw.
std::string consoleText(const std::string& text);
// A path within a message: every control byte escaped, line ends too.
std::string shownPath(const std::string& path);
