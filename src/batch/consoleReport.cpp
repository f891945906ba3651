#include "batch/consoleReport.h"

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
    line(out_, "Task " + std::to_string(taskIndex) + " started");
}

void ConsoleReport::stepStart(const std::string& text) {
    line(out_, "  " + text);
    std::lock_guard<std::mutex> lock(mutex_);
    stepUnderWay_ = true;
    percentage_ = 0;
}

void ConsoleReport::stepDone(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stepUnderWay_ = false;
    }
    line(out_, "  " + text);
}

void ConsoleReport::taskError(const std::string& text) {
    line(out_, "  ERROR: " + text);
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
    std::string shown = "    " + std::to_string(percentage_) + " %" + position_;
    const std::size_t width = shown.size();
    // Blanks over what a longer line before left behind.
    shown.append(progressWidth_ > width ? progressWidth_ - width : 0, ' ');
    progressWidth_ = width;
    out_ << '\r' << shown << std::flush;
    progressShown_ = true;
}

void ConsoleReport::aborting() {
    line(err_, "Aborting: the run stops once the running tool has ended (Ctrl-C again ends now).");
}

void ConsoleReport::finished(int taskCount, int failedTaskCount) {
    line(out_, "All tasks finished: " + std::to_string(taskCount) + " task(s), " +
                   std::to_string(failedTaskCount) + " with errors.");
}

void ConsoleReport::failure(const std::string& text) {
    line(err_, "marovink-batch: " + text);
}

void ConsoleReport::showError(const std::string& text) {
    line(err_, "Error: " + text);
}

void ConsoleReport::showWarning(const std::string& text) {
    line(err_, "Warning: " + text);
}
