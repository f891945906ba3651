// Adding many source files at once, from the Add Task chooser or a drop onto the list.
#include "editing/sourceFiles.h"
#include "storage/settings.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/prompts/prompts.h"
#include "ui/services/programServices.h"

void TForm1::addTasksFromFiles(const std::vector<std::string>& files) {
    const SourceFilesOutcome outcome = tasksFromSourceFiles(
        files, taskList, services.settings.values().videoStandard, services.regionalFormats);
    for (const Ttask& task : outcome.tasks) {
        taskList.add(std::make_shared<Ttask>(task));
    }
    if (!outcome.tasks.empty()) {
        RefreshTaskList();
    }
    informationBox(services.prompts, this, sourceFilesSummary(outcome));
}
