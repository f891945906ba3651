// "Retry failed tasks": a run of what the latest run left undone.
#include <set>

#include "ui/windows/mainWindow.h"

void TForm1::RetryFailedTasks() {
    const TaskNumbers rows = rowsToRetry();
    if (!rows.empty()) {
        startRun(rows);
    }
}

TaskNumbers TForm1::rowsToRetry() const {
    TaskNumbers rows;
    if (retryTasks_.empty()) {
        return rows;
    }
    // By identity: the list may have changed since the run.
    std::set<const Ttask*> retry;
    for (const TaskRef& task : retryTasks_) {
        retry.insert(task.get());
    }
    for (int i = 0; i < taskList.count(); ++i) {
        if (retry.count(taskList.taskAt(i).get()) != 0) {
            rows.push_back(i);
        }
    }
    return rows;
}
