#include "batch/batchRun.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <thread>

#include "batch/chosenTasks.h"
#include "batch/projectFileClash.h"
#include "files/ioError.h"
#include "files/systemEncoding.h"
#include "files/textFile.h"
#include "language/consoleTexts.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "platform/userFiles.h"
#include "runner/plan/taskPlan.h"
#include "runner/runSession.h"
#include "runner/state/runJournal.h"
#include "runner/state/runLog.h"
#include "runner/state/taskBoard.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "task/task.h"

BatchRun::BatchRun(platform::Platform& platform, std::string programPath, RegionalFormats formats,
                   ConsoleReport& console)
    : platform_(platform),
      programPath_(std::move(programPath)),
      formats_(std::move(formats)),
      console_(console) {}

BatchRun::~BatchRun() = default;

namespace {

// A batch run shows its events as console lines. Before its first event after the run log's
// first entry, it adds the entry that carries forward the tasks an earlier run finished. With
// several tasks at once, each line names its task, and the progress line shows the whole run.
class ConsoleRunView : public RunView {
public:
    ConsoleRunView(ConsoleReport& console, const TaskBoard& board,
                   std::function<void()> firstEntryWritten)
        : console_(console), board_(board), firstEntryWritten_(std::move(firstEntryWritten)) {}

    void runEvent(const RunEvent& event) override {
        const std::string text = ofTask(event.task) + eventText(event);
        switch (event.kind) {
            case RunEvent::Kind::taskStarted:
                afterFirstEntry();
                console_.taskStart(event.task);
                break;
            case RunEvent::Kind::stepStarted:
                console_.stepStart(text);
                break;
            case RunEvent::Kind::stepDone:
                console_.stepDone(text);
                break;
            case RunEvent::Kind::taskError:
                console_.taskError(text);
                break;
            default:
                break;
        }
    }
    void progress(int percentage) override {
        if (!board_.isSideBySide()) {
            console_.progress(percentage);
        }
    }
    void runPosition(const RunPosition& position) override {
        if (!position.sideBySide) {
            console_.runPosition(runPositionText(position));
            return;
        }
        const std::string stage = board_.statusLine().stage;
        console_.wholeRun(position.percent,
                          (stage.empty() ? stage : " " + stage) + runPositionText(position));
    }
    void runFinished() override { afterFirstEntry(); }

private:
    std::string ofTask(int taskIndex) const {
        return board_.isSideBySide() ? language::batchTaskBefore + std::to_string(taskIndex) +
                                           language::batchOfTaskAfter
                                     : std::string();
    }

    void afterFirstEntry() {
        if (firstEntryWritten_) {
            const std::function<void()> write = std::move(firstEntryWritten_);
            firstEntryWritten_ = nullptr;
            write();
        }
    }

    ConsoleReport& console_;
    const TaskBoard& board_;
    std::function<void()> firstEntryWritten_;
};

// The message of a project whose count line is no number, with the line's bytes as they are: the
// exception's own text ends at a NUL byte.
std::string countLineFault(const std::string& projectPath) {
    TextLineReader reader(projectPath);
    std::string line;
    reader.readShortLine(line, 100);
    return formatMessage(platform::systemText(language::notAnInteger).c_str(), line);
}

}  // namespace

BatchRun::Files BatchRun::filesOf(const BatchOptions& options) const {
    // By default a batch run shares the settings and the latest log of the window program that
    // lies beside it.
    const userFiles::Locations windowFiles =
        userFiles::locate(programLocation::folderOf(programPath_) + "marovink");
    return {options.settingsPath.empty() ? windowFiles.settingsFile : options.settingsPath,
            options.logPath.empty() ? windowFiles.runLog : options.logPath};
}

void BatchRun::Failure::report(ConsoleReport& console, const std::string& text) const {
    console.failure(text.find(file) != std::string::npos
                        ? text
                        : doing + shownPath(file) + language::batchDoingSeparator + text);
}

BatchRun::ExitStatus BatchRun::run(const BatchOptions& options) {
    const Files files = filesOf(options);
    // A settings file named on purpose and missing is a mistake, not a wish for the defaults.
    if (!options.settingsPath.empty() && !isExistingFile(files.settings)) {
        std::error_code error;
        console_.failure(language::batchSettingsMissingBefore + shownPath(files.settings) +
                         (std::filesystem::is_directory(files.settings, error)
                              ? language::batchSettingsIsFolder
                              : language::batchSettingsMissingAfter));
        return cannotRun;
    }
    Settings settings(files.settings, programLocation::folderOf(programPath_));
    TAllTask tasks;
    EarlierRun earlier;
    Failure failure;
    if (!readInputs(options, files, settings, tasks, earlier, failure)) {
        return cannotRun;
    }
    const TaskChoice choice = chosenTasks(options, tasks.count(), earlier.finished);
    if (!options.failedFromLog.empty() && choice.toRun.empty()) {
        console_.nothingToRun();
    }
    for (const auto& deleted : earlier.deletedInputs) {
        if (std::binary_search(choice.toRun.begin(), choice.toRun.end(), deleted.first) &&
            plan::skipsFinishedStages(*tasks.taskAt(deleted.first), deleted.second)) {
            console_.resumed(deleted.first);
        }
    }
    // Without the entry, the next retry would run the finished tasks again: its failure is the
    // run's.
    bool carryForwardFailed = false;
    TaskBoard board;
    ConsoleRunView view(console_, board, [&] {
        carryForwardFailed = !writeCarriedForward(choice.finishedEarlier, files.log);
    });
    RunLog log(files.log, formats_);
    std::unique_ptr<RunSession> session;
    try {
        failure = {language::batchWritingLog, files.log};
        const int tasksAtOnce =
            resolvedTasksAtOnce(options.tasksAtOnce, settings.values().tasksAtOnce,
                                std::thread::hardware_concurrency());
        session = std::make_unique<RunSession>(
            tasks, choice.toRun, log,
            RunSession::Services{settings, platform_, console_, formats_, tasksAtOnce,
                                 earlier.deletedInputs},
            view, board);
    } catch (const std::exception& error) {
        failure.report(console_, error.what());
        return cannotRun;
    }
    waitForEnd(*session, files.log);
    return reportEnd(*session, board, files.log, carryForwardFailed);
}

bool BatchRun::readInputs(const BatchOptions& options, const Files& files, Settings& settings,
                          TAllTask& tasks, EarlierRun& earlier, Failure& failure) {
    try {
        // A missing tool is reported; the run goes on, as in the window.
        failure = {language::batchReadingSettings, files.settings};
        if (options.defaultSettings) {
            settings.loadDefaults(console_);
        } else {
            settings.load(console_);
        }
        failure = {language::batchReadingProject, options.projectPath};
        try {
            projectFile::load(options.projectPath, tasks);
        } catch (const ConversionError&) {
            console_.failure(failure.doing + shownPath(failure.file) +
                             language::batchDoingSeparator + countLineFault(options.projectPath));
            return false;
        }
        if (!options.failedFromLog.empty()) {
            failure = {language::batchReadingEarlierLog, options.failedFromLog};
            earlier = readEarlierRun(options.failedFromLog, tasks.count());
        }
        const std::string clash = projectFileClash(
            ownFilesOf(options, files.log),
            ProjectFiles{options.projectPath, files.settings, settings.values(), tasks});
        if (!clash.empty()) {
            console_.failure(clash);
            return false;
        }
    } catch (const NotARunLog&) {
        console_.failure(language::batchFailedFromOption + shownPath(options.failedFromLog) +
                         language::batchNotARunLog);
        return false;
    } catch (const std::exception& error) {
        failure.report(console_, error.what());
        return false;
    }
    return true;
}

std::vector<OwnFile> BatchRun::ownFilesOf(const BatchOptions& options,
                                          const std::string& logPath) const {
    // Each run empties its log, the tools log and the journal: none may be a file of the
    // project, nor may the earlier log, read whole before.
    std::vector<OwnFile> ownFiles{
        {options.logPath.empty() ? language::batchDefaultLogSubject : language::batchLogSubject,
         logPath},
        {language::batchJournalSubject, RunJournal::pathOf(logPath)}};
    if (platform_.collectsToolOutput()) {
        ownFiles.push_back(
            {language::batchToolsLogSubject, programLocation::toolsLogBeside(logPath)});
    }
    if (!options.failedFromLog.empty()) {
        ownFiles.push_back({language::batchFailedFromSubject, options.failedFromLog});
    }
    return ownFiles;
}

bool BatchRun::writeCarriedForward(const TaskNumbers& finishedEarlier, const std::string& logPath) {
    if (finishedEarlier.empty()) {
        return true;
    }
    // Under the lock that an abort's entry takes, so that the two never interleave.
    std::lock_guard<std::mutex> lock(runMutex_);
    try {
        writeToFile(logPath, taskSelection::carriedForwardEntry(finishedEarlier) + "\r\n\r\n",
                    true);
        return true;
    } catch (const std::exception& failure) {
        console_.failure(language::batchWritingLog + shownPath(logPath) +
                         language::batchDoingSeparator + failure.what());
        return false;
    }
}

void BatchRun::waitForEnd(RunSession& session, const std::string& logPath) {
    {
        std::lock_guard<std::mutex> lock(runMutex_);
        session_ = &session;
        logPath_ = logPath;
    }
    session.waitForEnd();
    std::lock_guard<std::mutex> lock(runMutex_);
    session_ = nullptr;
}

BatchRun::ExitStatus BatchRun::reportEnd(const RunSession& session, const TaskBoard& board,
                                         const std::string& logPath, bool carryForwardFailed) {
    const TaskBoard::Tally tally = board.tally();
    if (!session.runFailure().empty()) {
        console_.stoppedEarly(ConsoleReport::Stop::endedEarly, tally.started, tally.withErrors,
                              tally.notReached);
        console_.failure(language::batchRunEndedEarly +
                         (session.logWriteFailed()
                              ? language::batchRunEndedEarlyWhile +
                                    std::string(language::batchWritingLog) + shownPath(logPath)
                              : std::string()) +
                         language::batchDoingSeparator + session.runFailure());
        return someTaskFailed;
    }
    if (board.wasAborted()) {
        console_.stoppedEarly(ConsoleReport::Stop::aborted, tally.started, tally.withErrors,
                              tally.notReached);
        console_.aborted(tally.notReached);
        return runAborted;
    }
    console_.finished(tally.started, tally.withErrors);
    return tally.withErrors == 0 && !carryForwardFailed ? noTaskFailed : someTaskFailed;
}

void BatchRun::abort() {
    std::lock_guard<std::mutex> lock(runMutex_);
    if (session_ == nullptr) {
        return;
    }
    try {
        if (session_->abort()) {
            console_.aborting();
        }
    } catch (const std::exception& failure) {
        console_.failure(language::batchWritingLog + shownPath(logPath_) +
                         language::batchDoingSeparator + failure.what());
    }
}
