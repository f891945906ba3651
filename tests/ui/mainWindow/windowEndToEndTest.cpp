// The window runs a real project as marovink-batch does: real material, the launchers beside the
// program and Debian's ffmpeg, mplex and dvdauthor.
#include <QTest>
#include <filesystem>

#include "support/dvdMaterial.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"

namespace {

class WindowEndToEndTest : public GuiTest {
protected:
    WindowEndToEndTest() {
        const std::string bundle = std::string(MAROVINK_BUNDLE_DIR) + "/";
        settings.setValues({bundle + platform::defaultDemuxerName,
                            bundle + platform::defaultMultiplexerName,
                            bundle + platform::defaultAuthoringName, "PAL"});
        settings.save();
        window = std::make_unique<TForm1>(services);
        window->show();
    }

    std::unique_ptr<TForm1> window;
    WindowDriver ui() const { return WindowDriver(*window); }
};

}  // namespace

TEST_F(WindowEndToEndTest, TheWindowAuthorsTheSameDvdFolderAsTheBatchRunner) {
    TaskRef task = taskInFolder(folder.path(), "holiday", -1);
    ASSERT_TRUE(makeDvdSource(palStandard, task->origVobFilePath));
    task->chapterList = "00:00:00,00:00:03";
    task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
    window->taskList.add(task);
    window->RefreshTaskList();

    ui().press("btn_StartTasks");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isRunning(); }, 60000));

    EXPECT_EQ(ui().rowMark(0), TaskBoard::Mark::done);
    const std::string videoTs = task->dvdFolderPath + "/VIDEO_TS/";
    for (const char* name : {"VIDEO_TS.IFO", "VTS_01_0.IFO", "VTS_01_1.VOB"}) {
        EXPECT_TRUE(std::filesystem::exists(videoTs + name)) << name;
    }
    for (const std::string* gone :
         {&task->origVobFilePath, &task->m2vFilePath, &task->ac3FilePath, &task->vobFilePath}) {
        EXPECT_FALSE(std::filesystem::exists(*gone)) << *gone;
    }
    EXPECT_EQ(authoredChapterCount(task->dvdFolderPath, folder.file("unauthored")), 2);

    // The same log as the batch runner writes for this task.
    std::vector<std::string> expected =
        expectedLog::fullTask(*task, settings.values(), 0,
                              "DVD checked: 1 title, 2 chapters, 0:00:05, 1 audio track, PAL ");
    const std::vector<std::string> endLines = expectedLog::endOfRun();
    expected.insert(expected.end(), endLines.begin(), endLines.end());
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("marovink.log")), expected);
}
