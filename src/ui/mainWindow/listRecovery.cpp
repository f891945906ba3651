// The task list kept for a restart: written at every change, offered back at start-up.
#include <filesystem>

#include "files/ioError.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "storage/settings.h"
#include "storage/taskListRecovery.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/qtText.h"
#include "ui/services/programServices.h"

std::string TForm1::recoveryFilePath() const {
    // The folder of the settings file: the user's own files lie together.
    return TaskListRecovery::pathBeside(services.settings.filePath());
}

void TForm1::keepListForRecovery() {
    // Whatever the file's fate, the list now holds what no save keeps.
    const struct TitleAfter {
        TForm1& window;
        ~TitleAfter() { window.showTitle(); }
    } title{*this};
    try {
        recovery_->listChanged(taskList);
        recoveryFailureShown_ = false;
    } catch (const IoError& error) {
        // Once until it works again: the list itself is fine, and every change would say it.
        if (!recoveryFailureShown_) {
            recoveryFailureShown_ = true;
            warningBox(services.prompts, this,
                       recovery_->path() + language::recoveryNotWritten + error.what());
        }
    }
}

void TForm1::listKeptInProject() {
    recovery_->listSaved(taskList);
    showTitle();
}

QString TForm1::idleTitle() const {
    QString title = uiText(language::programTitle);
    if (!project_.empty()) {
        title +=
            QStringLiteral(" - ") + toQString(std::filesystem::path(project_).filename().string());
    }
    if (recovery_->unsaved()) {
        title += QStringLiteral(" *");
    }
    return title;
}

bool TForm1::offerListRecovery() {
    TAllTask leftOver;
    const TaskListRecovery::LeftOver found = recovery_->readLeftOver(leftOver);
    switch (found.kind) {
        case TaskListRecovery::LeftOver::Kind::Nothing:
            return false;
        case TaskListRecovery::LeftOver::Kind::Unreadable:
            warningBox(services.prompts, this,
                       recovery_->path() + language::recoveryUnreadable + found.error +
                           language::recoveryKeptAs + found.keptAsidePath);
            return false;
        case TaskListRecovery::LeftOver::Kind::UnsavedList:
            break;
    }
    if (warningBox(services.prompts, this,
                   formatMessage(language::restoreUnsavedList, leftOver.count()),
                   MessageButtons::YesNoDefaultYes) != MessageAnswer::Yes) {
        recovery_->discardLeftOver();
        return false;
    }
    for (int i = 0; i < leftOver.count(); ++i) {
        taskList.add(leftOver.taskAt(i));
    }
    RefreshTaskList();
    return true;
}

void TForm1::startUp(const std::optional<std::string>& namedProject) {
    if (!offerListRecovery()) {
        if (namedProject) {
            openProjectFile(*namedProject);
        }
    } else if (namedProject) {
        // Opening it would replace the restored list, which no save keeps yet.
        warningBox(services.prompts, this, *namedProject + language::projectNotOpenedAfterRestore);
    }
}
