// The main window's side of a run: Start, Abort, Display LOG, the runner's handlers and the end
// of the run.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/runEstimate.h"
#include "runner/runLog.h"
#include "storage/taskListRecovery.h"
#include "ui/prompts/commands.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/programServices.h"
#include "ui/qt/qtText.h"
#include "ui/run/guiHandOver.h"
#include "ui/run/powerOffCountdown.h"
#include "ui/run/windowRun.h"
#include "ui/windows/logForm.h"
#include "ui/windows/mainWindow.h"

namespace {

// How far each new log viewer lies right of and below the previous one.
constexpr int logViewerStep = 24;

// The stage message of a step-start text: what comes before its first CR LF.
std::string stageMessage(const std::string& stepText) {
    const std::size_t end = stepText.find("\r\n");
    return end == std::string::npos ? std::string() : stepText.substr(0, end);
}

}  // namespace

TForm1::~TForm1() {
    handOver_->close();
    if (run_) {
        run_->session->stopQuietly();
    }
    // The run can no longer wait for this thread, so waiting for it here cannot dead-lock.
    run_.reset();
}

void TForm1::btn_StartTasksClick() {
    startRun(taskSelection::all(taskList.count()));
}

void TForm1::startRun(const TaskNumbers& chosen) {
    if (isRunning) {
        return;
    }
    isRunning = true;
    UpdateControls();
    try {
        runTasks_.clear();
        for (int i = 0; i < taskList.count(); ++i) {
            runTasks_.push_back(taskList.taskAt(i));
        }
        runIcons_.assign(runTasks_.size(), iconNone);
        lastStartedTask_ = -1;
        run_ = std::make_unique<WindowRun>(handOver_, services.prompts, *this);
        run_->session = std::make_unique<RunSession>(
            taskList, chosen, *runLog_,
            RunSession::Services{services.settings, services.platform, run_->messages,
                                 services.regionalFormats},
            run_->view);
    } catch (...) {
        run_.reset();
        isRunning = false;
        UpdateControls();
        throw;
    }
}

void TForm1::setTaskIcon(int taskIndex, int icon) {
    runIcons_.at(static_cast<std::size_t>(taskIndex)) = icon;
    const TaskRef& task = runTasks_[static_cast<std::size_t>(taskIndex)];
    for (int row = 0; row < taskList.count(); ++row) {
        if (taskList.taskAt(row) == task) {
            setRowIcon(row, icon);
        }
    }
}

void TForm1::showTaskStart(int taskIndex) {
    setTaskIcon(taskIndex, iconRunning);
    // A run of some tasks goes from one chosen task to the next, not row by row.
    if (lastStartedTask_ >= 0 &&
        runIcons_[static_cast<std::size_t>(lastStartedTask_)] != iconFailed) {
        setTaskIcon(lastStartedTask_, iconDone);
    }
    lastStartedTask_ = taskIndex;
    UpdateControls();
}

void TForm1::showTaskFailed(int taskIndex) {
    setTaskIcon(taskIndex, iconFailed);
}

void TForm1::showStepStart(const std::string& text) {
    stageText_ = stageMessage(text);
    // The step's own position follows at once.
    runPositionText_.clear();
    showStatus();
    ProgressBar1->setValue(0);
    ProgressBar1->show();
}

void TForm1::showStepDone() {
    ProgressBar1->hide();
    ProgressBar1->setValue(0);
    stageText_.clear();
    showStatus();
}

void TForm1::showRunPosition(const RunPosition& position) {
    runPositionText_ = runPositionText(position);
    setWindowTitle(toQString(runCaption(position)));
    showStatus();
}

void TForm1::showStatus() {
    // Where the run stands follows the stage message, or the notice that the run is stopping;
    // without either the line stays empty.
    const QString head =
        run_ && run_->abortRequested ? uiText(language::abortRequested) : toQString(stageText_);
    lab_statusText->setText(head.isEmpty() ? QString() : head + toQString(runPositionText_));
}

void TForm1::onRunFinished() {
    const int cutShortTask = run_ ? run_->session->cutShortTaskIndex() : -1;
    const std::string runFailure = endRun();
    runPositionText_.clear();
    setWindowTitle(uiText(language::programTitle));
    lab_statusText->clear();
    // A run that a failure ended early may have left its gauge up.
    showStepDone();
    // The last task the run reached is done only when it ran to its end without an error.
    if (lastStartedTask_ >= 0) {
        const bool cutShort = cutShortTask == lastStartedTask_ || !runFailure.empty();
        if (cutShort || runIcons_[static_cast<std::size_t>(lastStartedTask_)] != iconFailed) {
            setTaskIcon(lastStartedTask_, cutShort ? iconFailed : iconDone);
        }
    }
    if (!runFailure.empty()) {
        generalErrorBox(services.prompts, this, runFailure);
    }
    if (chb_stopWhenFinished->isChecked() &&
        TPowerOffCountdown(this, services.powerOffCountdownSeconds).runOut()) {
        QApplication::quit();
        services.platform.requestPowerOff();
    } else {
        runCommand(services.prompts, this, [this] { btn_displayLogClick(); });
    }
    isRunning = false;
    UpdateControls();
}

std::string TForm1::endRun() {
    if (!run_) {
        return std::string();
    }
    // The run has logged its end and raised its last event: the runner is only returning.
    run_->session->waitForEnd();
    std::string runFailure = run_->session->runFailure();
    retryTasks_.clear();
    for (const int number : run_->session->tasksToRetry()) {
        retryTasks_.push_back(runTasks_[static_cast<std::size_t>(number)]);
    }
    run_.reset();
    return runFailure;
}

void TForm1::btn_AbortTasksClick() {
    if (!isRunning || !run_) {
        return;
    }
    if (run_->session->abort()) {
        run_->abortRequested = true;
        showStatus();
    }
}

void TForm1::btn_displayLogClick() {
    const std::string& path = services.runLogPath;
    if (isExistingFile(path)) {
        auto* viewer = new TLogForm(this, path, services.prompts);
        // Each new viewer steps aside from the previous one, so that none lies exactly over
        // another, and over the Display LOG button the same way.
        if (lastLogViewer_ && lastLogViewer_->isVisible()) {
            viewer->move(lastLogViewer_->pos() + QPoint(logViewerStep, logViewerStep));
        }
        lastLogViewer_ = viewer;
        viewer->show();
    } else {
        warningBox(services.prompts, this, language::noLogFile);
    }
    update();
}
