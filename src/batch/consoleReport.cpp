#include "batch/consoleReport.h"

#include "language/consoleTexts.h"

ConsoleReport::ConsoleReport(std::ostream& out, std::ostream& err, bool outIsTerminal)
    : out_(out), err_(err), outIsTerminal_(outIsTerminal) {}

namespace {

std::string escaped(const std::string& text, bool keepLineEnds) {
    static const char hex[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size());
    const auto escape = [&result](unsigned char byte) {
        result += "\\x";
        result += hex[byte >> 4];
        result += hex[byte & 15];
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool crLf = byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (keepLineEnds && crLf) {
            continue;
        }
        if (keepLineEnds && (byte == '\n' || byte == '\t')) {
            result += text[i];
        } else if (byte < 0x20 || byte == 0x7f) {
            escape(byte);
        } else if (byte == 0xc2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            // U+0080 to U+009F: terminals take some of them for escape sequences.
            escape(byte);
            escape(static_cast<unsigned char>(text[++i]));
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

std::string consoleText(const std::string& text) {
    return escaped(text, true);
}

std::string shownPath(const std::string& path) {
    return escaped(path, false);
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

void ConsoleReport::wholeRun(int percentage, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    percentage_ = percentage;
    position_ = consoleText(text);
    drawProgressLine();
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

void ConsoleReport::stoppedEarly(Stop stop, int startedTaskCount, int failedTaskCount,
                                 int tasksNotRun) {
    line(out_, (stop == Stop::aborted ? language::batchSummaryAborted
                                      : language::batchSummaryEndedEarly) +
                   std::to_string(startedTaskCount) + language::batchSummaryStarted +
                   std::to_string(failedTaskCount) + language::batchSummaryErrors +
                   std::to_string(tasksNotRun) + language::batchSummaryNotRun);
}

void ConsoleReport::nothingToRun() {
    line(out_, language::batchNothingToRun);
}

void ConsoleReport::resumed(int taskIndex) {
    line(out_, language::batchTaskBefore + std::to_string(taskIndex) + language::batchResumedAfter);
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
