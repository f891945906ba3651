#include <filesystem>

#include "files/systemEncoding.h"
#include "language/language.h"
#include "storage/projectFile.h"
#include "support/tempFolder.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"

namespace {

class ProjectCommandsTest : public GuiTest {
protected:
    ProjectCommandsTest() {
        // What the window shows while the chooser is open.
        prompts.whileChoosingFile = [this] {
            statusWhileChoosing.push_back(ui.text("lab_statusText"));
            cursorWhileChoosing.push_back(window.cursor().shape());
        };
    }

    TaskRef addTask(const std::string& source) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = source;
        task->chapterList = "00:05:00,00:10:00";
        task->deleteVob = true;
        window.taskList.add(task);
        return task;
    }

    void expectIdleLook() const {
        EXPECT_TRUE(ui.statusLine().empty());
        EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    }

    TForm1 window{services};
    const WindowDriver ui{window};
    std::vector<std::string> statusWhileChoosing;
    std::vector<Qt::CursorShape> cursorWhileChoosing;
};

}  // namespace

TEST_F(ProjectCommandsTest, SaveThenOpenRestoresTheListAndTheChoosersRememberTheFile) {
    addTask("/dvd/a.VOB");
    addTask("/dvd/b.VOB");
    window.RefreshTaskList();
    const std::string path = folder.file("batch.mvk");

    prompts.fileAnswers = {path};
    ui.press("menu_SaveProject");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    const FileChooserRequest& save = prompts.fileRequests[0];
    EXPECT_EQ(save.purpose, FileChooserRequest::Purpose::Save);
    EXPECT_EQ(save.title, "Enter the project name");
    EXPECT_EQ(save.filter, "Marovink project (*.mvk)|*.mvk");
    EXPECT_EQ(save.defaultExtension, "mvk");
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_EQ(statusWhileChoosing, std::vector<std::string>{"Project save in progress..."});
    EXPECT_EQ(cursorWhileChoosing, std::vector<Qt::CursorShape>{Qt::WaitCursor});
    expectIdleLook();
    // The title names the project the list is kept in, and marks a list that no save keeps.
    const std::string savedName = std::filesystem::path(path).filename().string();
    EXPECT_EQ(window.windowTitle().toStdString(), "Marovink - " + savedName);
    window.taskList.removeAt(0);
    window.RefreshTaskList();
    EXPECT_EQ(window.windowTitle().toStdString(), "Marovink - " + savedName + " *");
    TAllTask saved;
    projectFile::load(path, saved);
    ASSERT_EQ(saved.count(), 2);
    EXPECT_EQ(saved.taskAt(1)->origVobFilePath, "/dvd/b.VOB");

    prompts.fileAnswers = {path};
    ui.press("menu_OpenProject");
    EXPECT_EQ(prompts.fileRequests.back().purpose, FileChooserRequest::Purpose::Open);
    EXPECT_EQ(statusWhileChoosing.back(), "Project load in progress...");
    expectIdleLook();
    ASSERT_EQ(window.taskList.count(), 2);
    EXPECT_EQ(projectFile::serialize(window.taskList), projectFile::serialize(saved));
    EXPECT_EQ(window.windowTitle().toStdString(), "Marovink - " + savedName);
    ASSERT_EQ(ui.rowCount(), 2);
    EXPECT_EQ(ui.rowText(1, 0), "1");
    // The focus is on the list, where one Space ticks nothing.
    EXPECT_EQ(window.focusWidget(), window.findChild<QWidget*>(QStringLiteral("ListView1")));

    // Each chooser starts from its own last file; a cancelled open keeps the list.
    ui.press("menu_SaveProject");
    EXPECT_EQ(prompts.fileRequests.back().initialFileName, path);
    ui.press("menu_OpenProject");
    EXPECT_EQ(prompts.fileRequests.back().initialFileName, path);
    EXPECT_EQ(window.taskList.count(), 2);
    EXPECT_EQ(ui.rowCount(), 2);
    expectIdleLook();
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ProjectCommandsTest, FailuresReachTheGeneralErrorReportAndRestoreTheWindow) {
    addTask("/dvd/a.VOB");
    window.RefreshTaskList();

    const std::string notANumber = folder.file("words.mvk");
    writeBytes(notANumber, "two\r\n");
    prompts.fileAnswers = {notANumber};
    ui.press("menu_OpenProject");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Marovink");
    EXPECT_EQ(prompts.messages[0].text,
              platform::systemText("'two' n'est pas une valeur enti\xc3\xa8re correcte"));
    // A project that cannot be read, or is missing, leaves the list as it was.
    EXPECT_EQ(window.taskList.count(), 1);
    EXPECT_EQ(ui.rowCount(), 1);
    expectIdleLook();
    prompts.fileAnswers = {folder.file("missing.mvk")};
    ui.press("menu_OpenProject");
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(window.taskList.count(), 1);
    ui.press("btn_clearList");

    // A file name that a folder already holds cannot be written.
    const std::string folderInTheWay = folder.file("taken.mvk");
    std::filesystem::create_directory(folderInTheWay);
    addTask("/dvd/a.VOB");
    prompts.fileAnswers = {folderInTheWay};
    ui.press("menu_SaveProject");
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[2].caption, "Marovink");
    EXPECT_FALSE(prompts.messages[2].text.empty());
    EXPECT_EQ(window.taskList.count(), 1);
    expectIdleLook();
}

TEST_F(ProjectCommandsTest, AProjectNamedOnTheCommandLineOpensWithoutAChooser) {
    addTask("/dvd/a.VOB");
    addTask("/dvd/b.VOB");
    const std::string path = folder.file("named.mvk");
    projectFile::save(path, window.taskList);
    window.taskList.clear();

    window.openProjectFile(path);
    EXPECT_TRUE(prompts.fileRequests.empty());
    ASSERT_EQ(ui.rowCount(), 2);
    EXPECT_EQ(window.taskList.taskAt(1)->origVobFilePath, "/dvd/b.VOB");
    expectIdleLook();
    ui.press("menu_OpenProject");
    EXPECT_EQ(prompts.fileRequests.back().initialFileName, path);
    EXPECT_TRUE(prompts.messages.empty());

    // A file that cannot be read is reported as the Open command reports it, and the list stays.
    window.openProjectFile(folder.file("missing.mvk"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Marovink");
    EXPECT_EQ(prompts.messages[0].text, folder.file("missing.mvk") +
                                            language::commandLineProjectNotOpened +
                                            language::fileNotFound);
    EXPECT_EQ(ui.rowCount(), 2);
    expectIdleLook();
}
