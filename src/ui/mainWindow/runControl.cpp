// The main window's side of a run: Start, Retry, Abort, Display LOG, the board shown as the run
// reports into it, and the end of the run.
#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QTreeWidget>
#include <optional>

#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/runSession.h"
#include "runner/state/runEstimate.h"
#include "runner/state/runLog.h"
#include "storage/settings.h"
#include "storage/taskListRecovery.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/prompts/commands.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qtText.h"
#include "ui/qt/statusLine.h"
#include "ui/run/guiHandOver.h"
#include "ui/run/windowRun.h"
#include "ui/services/programServices.h"
#include "ui/windows/logForm.h"
#include "ui/windows/powerOffCountdown.h"

namespace {

// How far each new log viewer lies right of and below the previous one.
constexpr int logViewerStep = 24;

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

void TForm1::RetryFailedTasks() {
    const TaskNumbers rows = board_.rowsToRetry();
    if (!rows.empty()) {
        startRun(rows, board_.inputsDeletedOfRowsToRetry());
    }
}

void TForm1::startRun(const TaskNumbers& chosen,
                      std::map<int, std::vector<std::string>> deletedEarlier) {
    if (isRunning()) {
        return;
    }
    try {
        run_ = std::make_unique<WindowRun>(
            handOver_, services.prompts, this,
            WindowRunView::Display{[this] { showRun(); }, [this] { onRunFinished(); }});
        run_->session = std::make_unique<RunSession>(
            taskList, chosen, *runLog_,
            RunSession::Services{services.settings, services.platform, run_->messages,
                                 services.regionalFormats, services.settings.values().tasksAtOnce,
                                 std::move(deletedEarlier)},
            run_->view, board_);
    } catch (...) {
        run_.reset();
        UpdateControls();
        throw;
    }
    UpdateControls();
}

void TForm1::showRun() {
    showStatusLine();
    const std::optional<int> gauge = board_.gauge();
    ProgressBar1->setValue(gauge.value_or(0));
    ProgressBar1->setVisible(gauge.has_value());
    showTitle();
    showMarks();
    UpdateControls();
}

void TForm1::showTitle() {
    const std::optional<RunPosition> position = board_.position();
    setWindowTitle(position ? toQString(runCaption(*position)) : idleTitle());
}

void TForm1::showStatusLine() {
    // Where the run stands follows the stage message, or the notice that the run is stopping;
    // without either the line stays empty, or says how the latest run ended. Only the stage
    // message or the notice gives way when room is short: the line never wraps.
    const TaskBoard::StatusLine line = board_.statusLine();
    const QString position = toQString(line.position);
    if (line.stopping) {
        lab_statusText->showText(uiText(language::abortRequested), position);
    } else if (line.finishing) {
        lab_statusText->showText(uiText(language::stopAfterRunningRequested), position);
    } else if (!line.stage.empty()) {
        lab_statusText->showText(toQString(line.stage), position);
    } else if (!line.summary.empty()) {
        lab_statusText->showText(QString(), toQString(line.summary));
    } else {
        lab_statusText->clearText();
    }
}

void TForm1::showMarks() {
    bool anyPercent = false;
    for (int row = 0; row < ListView1->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = ListView1->topLevelItem(row);
        const QIcon icon = statusIcon(board_.rowMark(row));
        if (item->icon(0).cacheKey() != icon.cacheKey()) {
            item->setIcon(0, icon);
        }
        const std::optional<int> percent = board_.rowPercent(row);
        const QString text = percent ? QString::number(*percent) + QStringLiteral(" %") : QString();
        if (item->text(2) != text) {
            item->setText(2, text);
        }
        anyPercent = anyPercent || percent;
    }
    ListView1->setColumnHidden(2, !anyPercent);
}

void TForm1::onRunFinished() {
    const std::string runFailure = endRun();
    endingRun_ = true;
    showRun();
    tellDesktopTheRunEnded();
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
    endingRun_ = false;
    UpdateControls();
}

void TForm1::tellDesktopTheRunEnded() {
    // A user in another window learns that the run is over, and how it went.
    QApplication::alert(this);
    if (services.notifyDesktop) {
        services.notifyDesktop(idleTitle(), toQString(board_.statusLine().summary));
    }
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

void TForm1::StopAfterRunningTasks() {
    if (run_ && run_->session->stopAfterRunningTasks()) {
        showRun();
    }
}

void TForm1::btn_AbortTasksClick() {
    if (run_ && run_->session->abort()) {
        showRun();
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
