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
    }
    stream << consoleText(text) << std::endl;
}

void ConsoleReport::taskStart(int taskIndex) {
    line(out_, "Task " + std::to_string(taskIndex) + " started");
}

void ConsoleReport::stepStart(const std::string& text) {
    line(out_, "  " + text);
}

void ConsoleReport::stepDone(const std::string& text) {
    line(out_, "  " + text);
}

void ConsoleReport::taskError(const std::string& text) {
    line(out_, "  ERROR: " + text);
}

void ConsoleReport::progress(int percentage) {
    if (!outIsTerminal_) {
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    out_ << "\r    " << percentage << " %" << std::flush;
    progressShown_ = true;
}

void ConsoleReport::aborting() {
    line(err_,
         "Aborting: the run stops once the running tool has ended (Ctrl-C again ends it now).");
}

void ConsoleReport::aborted(int tasksNotRun) {
    line(err_, "The run was aborted: " + std::to_string(tasksNotRun) + " task(s) not run.");
}

void ConsoleReport::endedAtOnce() {
    line(err_, "Ended at once, and the running tool with it.");
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
