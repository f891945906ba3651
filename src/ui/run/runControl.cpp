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
    if (isRunning) {
        return;
    }
    isRunning = true;
    UpdateControls();
    try {
        run_ = std::make_unique<WindowRun>(handOver_, services.prompts, *this);
        run_->session = std::make_unique<RunSession>(
            taskList, *runLog_,
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

void TForm1::showTaskStart(int taskIndex) {
    setRowIcon(taskIndex, iconRunning);
    if (taskIndex > 0 && rowIcon(taskIndex - 1) != iconFailed) {
        setRowIcon(taskIndex - 1, iconDone);
    }
    UpdateControls();
}

void TForm1::showStepStart(const std::string& text) {
    lab_statusText->setText(toQString(stageMessage(text)));
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
    const std::string runFailure = endRun();
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
    run_.reset();
    return runFailure;
}

void TForm1::btn_AbortTasksClick() {
    if (!isRunning || !run_) {
        return;
    }
    run_->session->abort();
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
