// The main window's side of a run: Start, Abort, Display LOG, the runner's handlers and the end
// of the run.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

#include "language/language.h"
#include "platform/platform.h"
#include "platform/programLocation.h"
#include "runner/runLog.h"
#include "storage/textFile.h"
#include "ui/commands.h"
#include "ui/guiHandOver.h"
#include "ui/logForm.h"
#include "ui/mainWindow.h"
#include "ui/programServices.h"
#include "ui/prompts.h"
#include "ui/qtText.h"
#include "ui/runSession.h"

namespace {

// The stage message of a step-start text: what comes before its first CR LF.
std::string stageMessage(const std::string& stepText) {
    const std::size_t end = stepText.find("\r\n");
    return end == std::string::npos ? std::string() : stepText.substr(0, end);
}

}  // namespace

TForm1::~TForm1() {
    handOver_->close();
    if (run_) {
        run_->runner->requestStop();
    }
    // The runner can no longer wait for this thread, so waiting for it here cannot dead-lock.
    run_.reset();
}

void TForm1::btn_StartTasksClick() {
    if (isRunning) {
        return;
    }
    runLog_->empty();
    const std::string toolsLog = programLocation::toolsLogBeside(runLog_->path());
    RunLog::emptyFile(toolsLog);
    services.platform.setToolOutputLog(toolsLog);
    isRunning = true;
    UpdateControls();
    try {
        run_ = std::make_unique<RunSession>(handOver_, services.prompts, this);
        attachHandlers(*run_);
    } catch (...) {
        run_.reset();
        isRunning = false;
        UpdateControls();
        throw;
    }
}

void TForm1::attachHandlers(RunSession& session) {
    // The handlers run on the runner's thread. What they share with the window outlives it; the
    // window itself is reached only through the hand-over.
    const std::shared_ptr<GuiHandOver> handOver = handOver_;
    const std::shared_ptr<RunLog> log = runLog_;
    platform::Platform& platform = services.platform;
    RunSession* const run = &session;

    TprocessThread::Handlers handlers;
    handlers.OnTaskError = [this, handOver, log](TprocessThread&, const std::string& text,
                                                 int taskIndex) {
        log->taskError(text);
        handOver->run([this, taskIndex] { setRowIcon(taskIndex, iconFailed); });
    };
    handlers.OnStepStart = [this, handOver, log, run, &platform](TprocessThread& runner,
                                                                 const std::string& text, int) {
        handOver->run([this, &text] { showStepStart(text); });
        log->stepStart(text);
        handOver->run([this] { showGaugeAtZero(); });
        run->monitor.reset();  // at most one monitor at a time
        run->monitor = std::make_unique<TprogressThread>(
            runner.currentTarget(), runner.expectedSize(), runner.currentTargetIsFolder(),
            [this, handOver](TprogressThread&, int percentage) {
                handOver->post([this, percentage] { ProgressBar1->setValue(percentage); });
            },
            platform);
    };
    handlers.OnStepDone = [this, handOver, log, run](TprocessThread&, const std::string& text,
                                                     int) {
        if (run->monitor) {
            run->monitor->requestStop();
            run->monitor.reset();
        }
        handOver->run([this] { showStepDone(); });
        log->stepDone(text);
    };
    handlers.OnTaskStart = [this, handOver, log](TprocessThread&, const std::string& text,
                                                 int taskIndex) {
        handOver->run([this, taskIndex] { showTaskStart(taskIndex); });
        log->taskStart(text, taskIndex);
    };
    handlers.OnRunFinished = [this, handOver, run] {
        run->monitor.reset();
        // Not waited for: the window's end-of-run handling ends this runner.
        handOver->post([this] { onRunFinished(); });
    };
    session.runner = std::make_unique<TprocessThread>(
        taskList,
        TprocessThread::Services{services.settings, services.platform, session.messages,
                                 services.regionalFormats},
        std::move(handlers));
}

void TForm1::showTaskStart(int taskIndex) {
    setRowIcon(taskIndex, iconRunning);
    if (taskIndex > 0 && rowIcon(taskIndex - 1) != iconFailed) {
        setRowIcon(taskIndex - 1, iconDone);
    }
    UpdateControls();
}

void TForm1::showStepStart(const std::string& text) {
    lab_statusText->setText(toQString(stageMessage(text)));
}

void TForm1::showGaugeAtZero() {
    ProgressBar1->setValue(0);
    ProgressBar1->show();
}

void TForm1::showStepDone() {
    ProgressBar1->hide();
    ProgressBar1->setValue(0);
    lab_statusText->clear();
}

void TForm1::onRunFinished() {
    lab_statusText->clear();
    // A run that a failure ended early may have left its gauge up.
    showStepDone();
    const int lastRow = ListView1->topLevelItemCount() - 1;
    if (lastRow >= 0 && rowIcon(lastRow) != iconFailed) {
        setRowIcon(lastRow, iconDone);
    }
    std::string runFailure;
    endRunSession(runFailure);
    runCommand(services.prompts, this, [this, &runFailure] {
        try {
            runLog_->endOfRun();
        } catch (const std::exception& failure) {
            // The same failure as the one that ended the run is reported once.
            if (runFailure != failure.what()) {
                throw;
            }
        }
    });
    if (!runFailure.empty()) {
        generalErrorBox(services.prompts, this, runFailure);
    }
    if (chb_stopWhenFinished->isChecked()) {
        QApplication::quit();
        services.platform.requestPowerOff();
    } else {
        runCommand(services.prompts, this, [this] { btn_displayLogClick(); });
    }
    isRunning = false;
    UpdateControls();
}

void TForm1::endRunSession(std::string& runFailure) {
    if (!run_) {
        return;
    }
    // The runner has raised its last event: it is only returning.
    run_->runner->waitForEnd();
    runFailure = run_->runner->runFailure();
    run_.reset();
}

void TForm1::btn_AbortTasksClick() {
    if (!isRunning || !run_) {
        return;
    }
    run_->runner->requestStop();
    runLog_->abort();
}

void TForm1::btn_displayLogClick() {
    const std::string& path = services.runLogPath;
    if (isExistingFile(path)) {
        auto* viewer = new TLogForm(this, path, services.prompts);
        viewer->show();
    } else {
        warningBox(services.prompts, this, language::noLogFile);
    }
    update();
}
