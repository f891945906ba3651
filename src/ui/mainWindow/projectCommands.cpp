// Project > Save... and Open...: the task list to and from a project file.
#include <QTreeWidget>

#include "files/ioError.h"
#include "language/language.h"
#include "storage/projectFile.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/prompts/commands.h"
#include "ui/prompts/prompts.h"
#include "ui/qt/qtText.h"
#include "ui/qt/statusLine.h"
#include "ui/services/programServices.h"

namespace {

// Hourglass and a status text while a project command runs; both go when it ends, however.
class ProjectCommandLook {
public:
    ProjectCommandLook(QWidget* window, StatusLine* status, const char* text)
        : window_(window), status_(status) {
        window_->setCursor(Qt::WaitCursor);
        status_->showText(QString(), uiText(text));
    }
    ~ProjectCommandLook() {
        window_->unsetCursor();
        status_->clearText();
    }
    ProjectCommandLook(const ProjectCommandLook&) = delete;
    ProjectCommandLook& operator=(const ProjectCommandLook&) = delete;

private:
    QWidget* window_;
    StatusLine* status_;
};

FileChooserRequest projectChooser(FileChooserRequest::Purpose purpose,
                                  const std::string& lastFileName) {
    FileChooserRequest request;
    request.purpose = purpose;
    request.title = language::projectChooserTitle;
    request.filter = language::projectFilter;
    request.defaultExtension = language::projectExtension;
    request.initialFileName = lastFileName;
    request.confirmOverwrite = true;
    return request;
}

}  // namespace

void TForm1::menu_SaveProjectClick() {
    SaveProject();
}

void TForm1::menu_OpenProjectClick() {
    LoadProject();
}

void TForm1::SaveProject() {
    const ProjectCommandLook look(this, lab_statusText, language::projectSaveInProgress);
    const std::optional<std::string> path = services.prompts.chooseFile(
        this, projectChooser(FileChooserRequest::Purpose::Save, lastSavedProject_));
    if (!path) {
        return;
    }
    lastSavedProject_ = *path;
    projectFile::save(*path, taskList);
    project_ = *path;
    listKeptInProject();
}

void TForm1::openProjectFile(const std::string& path) {
    runCommand(services.prompts, this, [this, &path] {
        try {
            LoadProject(path);
        } catch (const std::exception& error) {
            // No chooser named the file: the report must.
            const std::string text = error.what();
            if (text.find(path) != std::string::npos) {
                throw;
            }
            throw IoError(path + language::commandLineProjectNotOpened + text);
        }
    });
}

void TForm1::LoadProject(const std::optional<std::string>& named) {
    const ProjectCommandLook look(this, lab_statusText, language::projectLoadInProgress);
    const std::optional<std::string> path =
        named ? named
              : services.prompts.chooseFile(
                    this, projectChooser(FileChooserRequest::Purpose::Open, lastOpenedProject_));
    if (!path) {
        return;
    }
    lastOpenedProject_ = *path;
    // Read whole first: a project that cannot be read leaves the list as it was. A run under way
    // keeps its own copy of the tasks.
    TAllTask loaded;
    projectFile::load(*path, loaded);
    taskList.clear();
    for (int i = 0; i < loaded.count(); ++i) {
        taskList.add(loaded.taskAt(i));
    }
    project_ = *path;
    RefreshTaskList();
    listKeptInProject();
    // Where the user goes on from: never the power-off box, which one Space would tick.
    ListView1->setFocus();
}
