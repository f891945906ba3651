// Adding many source files at once, from the Add Task chooser or a drop onto the list.
#include "editing/sourceFiles.h"
#include "storage/settings.h"
#include "task/taskChoices.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/prompts/prompts.h"
#include "ui/services/programServices.h"

void TForm1::addTasksFromFiles(const std::vector<std::string>& files) {
    const SourceFilesOutcome outcome = tasksFromSourceFiles(
        files, taskList, services.settings.values().videoStandard, services.regionalFormats);
    const std::string disc = services.settings.values().discForNewTasks;
    for (const Ttask& task : outcome.tasks) {
        const TaskRef added = std::make_shared<Ttask>(task);
        taskChoices::setDiscName(*added, disc);
        taskList.add(added);
    }
    if (!outcome.tasks.empty()) {
        RefreshTaskList();
    }
    informationBox(services.prompts, this, sourceFilesSummary(outcome));
}
