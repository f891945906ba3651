#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "regional/regionalFormats.h"
#include "runner/state/runJournal.h"

// The run log: a text file that every run rewrites. Each entry opens the file, appends its text
// and CR LF, and closes it again, so the file always holds every entry written so far. Entries
// from several threads never interleave. Every failure throws IoError.
//
// A task that runs beside others keeps its entries in a block of its own instead, written whole
// when the task ends, so that a reader never finds two tasks' entries mixed. Each of those entries
// also reaches the run's journal beside the log as it is made: a run killed with its blocks held
// leaves its record there.
class RunLog {
public:
    using Clock = std::function<std::chrono::system_clock::time_point()>;

    // One task's entries, held until writeBlock. A block counts its step-done seconds from its
    // own step starts.
    class Block {
    public:
        // task: the number the journal files the block's entries under.
        explicit Block(int task = -1) : task_(task) {}

    private:
        friend class RunLog;
        int task_;
        std::string text_;
        std::optional<std::chrono::system_clock::time_point> stepStartTime_;
    };

    RunLog(std::string path, RegionalFormats formats, Clock now = std::chrono::system_clock::now);

    const std::string& path() const { return path_; }

    // The lock file that keeps a second run off this log, even once the log has been renamed.
    static std::string lockFileOf(const std::string& logPath) { return logPath + ".lock"; }

    // Creates the file, or empties it; the same for the tools log when one is named, where a
    // symbolic link is refused, not followed. Every file is opened before any is emptied, so that
    // one that cannot be written leaves the previous run's logs whole. A failure of the tools log
    // names it. What a killed run left beside the logs goes: its journal, and the tools' output
    // that it had not yet copied into the tools log.
    void empty(const std::string& toolsLogPath = std::string());
    // From now on, each entry of a block also reaches the journal until the end of the run.
    void startJournal();

    // Each entry goes to the file, or, when a block is given, to the end of that block.
    void taskStart(const std::string& text, int taskIndex, Block* block = nullptr);
    // Stamped with the date and time; the following step-done entries count their seconds from
    // here.
    void stepStart(const std::string& text, Block* block = nullptr);
    void stepDone(const std::string& text, Block* block = nullptr);
    void taskError(const std::string& text, Block* block = nullptr);
    void abort(Block* block = nullptr);
    // Once the running tasks of a run told to stop after them have ended.
    void stoppedAfterRunningTasks();
    void endOfRun();
    // Appends the block's entries to the file in one write. The block is left empty, also when
    // the write fails.
    void writeBlock(Block& block);

private:
    void append(const std::string& entry, Block* block);
    // Throws IoError naming the tools log.
    static void writeNamedToolsLog(const std::string& toolsLogPath, bool append);
    std::string timeStamp(std::chrono::system_clock::time_point moment) const;

    const std::string path_;
    std::optional<RunJournal> journal_;
    const RegionalFormats formats_;
    const Clock now_;
    std::mutex mutex_;
    // The latest step start since the log was made; it outlives runs.
    std::optional<std::chrono::system_clock::time_point> stepStartTime_;
};
