#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QToolTip>
#include <QTreeWidget>
#include <cstdio>

#include "ui/support/guiTest.h"
#include "ui/windows/mainWindow.h"

namespace {

constexpr int taskCount = 10000;

class TaskListScaleTest : public GuiTest {};

void addTasks(TForm1& window, int count) {
    for (int i = 0; i < count; ++i) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = "/media/dvd/title" + std::to_string(i) + "/VTS_01_1.VOB";
        task->m2vFilePath = "/tmp/VTS_01_1.m2v";
        task->ac3FilePath = "/tmp/VTS_01_1.ac3";
        task->vobFilePath = "/tmp/remuxedVTS_01_1.VOB";
        task->dvdFolderPath = "/out/title" + std::to_string(i);
        task->chapterList = "00:00:00,00:05:00,00:10:00,00:15:00,00:20:00,00:25:00,00:30:00";
        window.taskList.add(task);
    }
}

// Time of one rebuild of the list view, painting included.
qint64 rebuildMs(TForm1& window) {
    QElapsedTimer clock;
    clock.start();
    window.RefreshTaskList();
    QApplication::processEvents();
    return clock.elapsed();
}

}  // namespace

TEST_F(TaskListScaleTest, TenThousandTasksRebuildAndHoverWellUnderASecond) {
    TForm1 window(services);
    addTasks(window, taskCount);
    window.show();

    const qint64 firstMs = rebuildMs(window);
    const qint64 secondMs = rebuildMs(window);

    QTreeWidget* list = window.ListView1;
    list->scrollToItem(list->topLevelItem(taskCount - 1));
    QApplication::processEvents();
    const QPoint at = list->visualItemRect(list->topLevelItem(taskCount - 1)).center();
    QElapsedTimer clock;
    clock.start();
    QHelpEvent hover(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &hover);
    QApplication::processEvents();
    const qint64 hoverMs = clock.elapsed();

    std::printf("10000 tasks: first rebuild %lld ms, second rebuild %lld ms, hover text %lld ms\n",
                static_cast<long long>(firstMs), static_cast<long long>(secondMs),
                static_cast<long long>(hoverMs));
    EXPECT_EQ(list->topLevelItemCount(), taskCount);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("/out/title9999")));
    EXPECT_LT(firstMs, 1000);
    EXPECT_LT(secondMs, 1000);
    EXPECT_LT(hoverMs, 1000);
}

TEST_F(TaskListScaleTest, HundredThousandTasksRebuildInAFewSeconds) {
    TForm1 window(services);
    addTasks(window, 10 * taskCount);
    window.show();
    const qint64 elapsedMs = rebuildMs(window);
    std::printf("100000 tasks: rebuild %lld ms\n", static_cast<long long>(elapsedMs));
    EXPECT_EQ(window.ListView1->topLevelItemCount(), 10 * taskCount);
    EXPECT_LT(elapsedMs, 5000);
}
