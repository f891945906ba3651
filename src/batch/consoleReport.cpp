#include "batch/consoleReport.h"

#include "language/consoleTexts.h"

ConsoleReport::ConsoleReport(std::ostream& out, std::ostream& err, bool outIsTerminal)
    : out_(out), err_(err), outIsTerminal_(outIsTerminal) {}

std::string consoleText(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            result += text[i];
        }
    }
    return result;
}

void ConsoleReport::line(std::ostream& stream, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (progressShown_) {
        out_ << '\n';
        progressShown_ = false;
        progressWidth_ = 0;
    }
    stream << consoleText(text) << std::endl;
}

void ConsoleReport::taskStart(int taskIndex) {
    line(out_, language::batchTaskBefore + std::to_string(taskIndex) + language::batchTaskAfter);
}

void ConsoleReport::stepStart(const std::string& text) {
    line(out_, language::batchStepIndent + text);
    std::lock_guard<std::mutex> lock(mutex_);
    stepUnderWay_ = true;
    percentage_ = 0;
}

void ConsoleReport::stepDone(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stepUnderWay_ = false;
    }
    line(out_, language::batchStepIndent + text);
}

void ConsoleReport::taskError(const std::string& text) {
    line(out_, language::batchTaskError + text);
}

void ConsoleReport::progress(int percentage) {
    std::lock_guard<std::mutex> lock(mutex_);
    percentage_ = percentage;
    drawProgressLine();
}

void ConsoleReport::runPosition(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    position_ = consoleText(text);
    if (stepUnderWay_) {
        drawProgressLine();
    }
}

void ConsoleReport::drawProgressLine() {
    if (!outIsTerminal_) {
        return;
    }
    std::string shown = language::batchProgressIndent + std::to_string(percentage_) +
                        language::batchProgressUnit + position_;
    const std::size_t width = shown.size();
    // Blanks over what a longer line before left behind.
    shown.append(progressWidth_ > width ? progressWidth_ - width : 0, ' ');
    progressWidth_ = width;
    out_ << shown << std::flush;
    progressShown_ = true;
}

void ConsoleReport::aborting() {
    line(err_, language::batchAborting);
}

void ConsoleReport::aborted(int tasksNotRun) {
    line(err_,
         language::batchAbortedBefore + std::to_string(tasksNotRun) + language::batchAbortedAfter);
}

void ConsoleReport::endedAtOnce() {
    line(err_, language::batchEndedAtOnce);
}

void ConsoleReport::finished(int taskCount, int failedTaskCount) {
    line(out_, language::batchFinishedBefore + std::to_string(taskCount) +
                   language::batchFinishedTasks + std::to_string(failedTaskCount) +
                   language::batchFinishedErrors);
}

void ConsoleReport::failure(const std::string& text) {
    line(err_, language::batchFailurePrefix + text);
}

void ConsoleReport::showError(const std::string& text) {
    line(err_, language::batchErrorPrefix + text);
}

void ConsoleReport::showWarning(const std::string& text) {
    line(err_, language::batchWarningPrefix + text);
}
