#include "ui/mainWindow/startup.h"

#include <QMainWindow>
#include <memory>

#include "task/task.h"
#include "ui/windows/aboutDialog.h"
#include "ui/windows/logForm.h"
#include "ui/windows/taskDialog.h"

void createHiddenInstances(QMainWindow& mainWindow, ProgramServices& services) {
    // No hidden options dialog: building one loads the settings again, and would report a missing
    // tool a second time.
    new TFormTaskManager(&mainWindow, std::make_shared<Ttask>(), services);
    new TLogForm(&mainWindow);
    new TFAbout(&mainWindow);
}
