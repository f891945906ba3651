#include "runner/state/runLog.h"

#include <filesystem>
#include <vector>

#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "regional/formatting.h"

namespace {

const std::string crLf = "\r\n";

std::tm localTime(std::chrono::system_clock::time_point moment) {
    return platform::localTime(std::chrono::system_clock::to_time_t(moment));
}

// A tool's output kept whole goes to "TOOLSLOG.PID-N.part" until the tool ends; a killed run
// leaves those. No other run uses this tools log now: the run log's lock is held.
void removeToolOutputParts(const std::string& toolsLogPath) {
    namespace fs = std::filesystem;
    const fs::path toolsLog(toolsLogPath);
    const std::string prefix = toolsLog.filename().string() + ".";
    std::error_code error;
    fs::path folder = toolsLog.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::vector<fs::path> parts;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.size() > prefix.size() + 5 && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - 5, 5, ".part") == 0 &&
            name.find_first_not_of("0123456789-", prefix.size()) == name.size() - 5) {
            parts.push_back(entry->path());
        }
    }
    for (const fs::path& part : parts) {
        fs::remove(part, error);
    }
}

}  // namespace

RunLog::RunLog(std::string path, RegionalFormats formats, Clock now)
    : path_(std::move(path)), formats_(std::move(formats)), now_(std::move(now)) {}

void RunLog::empty(const std::string& toolsLogPath) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto writeToolsLog = [&](bool append) {
        if (!toolsLogPath.empty()) {
            writeNamedToolsLog(toolsLogPath, append);
        }
    };
    // Appending nothing opens a file without changing it.
    writeToolsLog(true);
    writeToFile(path_, std::string(), true);
    writeToFile(path_, std::string(), false);
    writeToolsLog(false);
    journal_.reset();
    std::error_code ignored;
    std::filesystem::remove(RunJournal::pathOf(path_), ignored);
    if (!toolsLogPath.empty()) {
        removeToolOutputParts(toolsLogPath);
    }
}

void RunLog::startJournal() {
    std::lock_guard<std::mutex> lock(mutex_);
    journal_.emplace(RunJournal::pathOf(path_));
}

void RunLog::writeNamedToolsLog(const std::string& toolsLogPath, bool append) {
    std::string reason;
    std::error_code ignored;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(toolsLogPath, ignored))) {
        reason = language::toolsLogIsLink;
    } else {
        try {
            writeToFileItself(toolsLogPath, std::string(), append);
            return;
        } catch (const IoError& failure) {
            reason = failure.what();
        }
    }
    throw IoError(toolsLogPath + language::toolsLogCannotBeWritten + reason);
}

void RunLog::append(const std::string& entry, Block* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (block) {
        block->text_ += entry + crLf;
        if (journal_ && block->task_ >= 0) {
            journal_->entry(block->task_, entry + crLf);
        }
    } else {
        writeToFile(path_, entry + crLf, true);
    }
}

void RunLog::writeBlock(Block& block) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string text = std::move(block.text_);
    block.text_.clear();
    if (!text.empty()) {
        writeToFile(path_, text, true);
    }
    if (journal_ && block.task_ >= 0) {
        journal_->blockWritten(block.task_);
    }
}

std::string RunLog::timeStamp(std::chrono::system_clock::time_point moment) const {
    const std::tm local = localTime(moment);
    return formatting::dateTime(formats_.shortDateFormat, local, formats_) + " " +
           formatting::dateTime(formats_.longTimeFormat, local, formats_);
}

void RunLog::taskStart(const std::string& text, int taskIndex, Block* block) {
    append(crLf + crLf + crLf + std::string(90, '_') + crLf + "    " +
               platform::systemText(language::logTaskStarted) + text + std::to_string(taskIndex) +
               crLf,
           block);
}

void RunLog::stepStart(const std::string& text, Block* block) {
    const auto now = now_();
    append("    " + timeStamp(now) + " : " + text, block);
    std::lock_guard<std::mutex> lock(mutex_);
    (block ? block->stepStartTime_ : stepStartTime_) = now;
}

void RunLog::stepDone(const std::string& text, Block* block) {
    std::string entry = "    " + text;
    std::optional<std::chrono::system_clock::time_point> stepStartTime;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stepStartTime = block ? block->stepStartTime_ : stepStartTime_;
    }
    if (stepStartTime) {
        const auto elapsed = now_() - *stepStartTime;
        const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                      elapsed < elapsed.zero() ? -elapsed : elapsed)
                                      .count();
        entry +=
            language::logStepDoneAfter + std::to_string(seconds) + language::logStepDoneSeconds;
    }
    append(entry + language::logStepDoneRule, block);
}

void RunLog::taskError(const std::string& text, Block* block) {
    append(language::logTaskError + text + crLf + crLf + crLf + crLf + crLf + crLf, block);
}

void RunLog::abort(Block* block) {
    append(language::logAborted + crLf, block);
}

void RunLog::stoppedAfterRunningTasks() {
    append(language::logStoppedAfterRunning + crLf + crLf, nullptr);
}

void RunLog::endOfRun() {
    append(std::string(66, '_') + crLf + language::logAllTasksFinished, nullptr);
    std::lock_guard<std::mutex> lock(mutex_);
    if (journal_) {
        journal_->remove();
        journal_.reset();
    }
}
