#include <filesystem>

#include "files/systemEncoding.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "storage/projectFile.h"
#include "storage/taskListRecovery.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"

namespace {

class ListRecoveryTest : public GuiTest {
protected:
    static void addTask(TForm1& window, const std::string& source) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = source;
        window.taskList.add(task);
        window.RefreshTaskList();
    }

    std::string recoveryPath() const { return folder.file("marovink.recovery.mvk"); }
    bool recoveryExists() const { return std::filesystem::exists(recoveryPath()); }
};

}  // namespace

TEST_F(ListRecoveryTest, EveryChangeIsKeptUntilTheListIsSaved) {
    TForm1 window(services);
    const WindowDriver ui(window);
    EXPECT_EQ(window.recoveryFilePath(), recoveryPath());
    addTask(window, "/dvd/a.VOB");
    addTask(window, "/dvd/b.VOB");
    EXPECT_TRUE(window.listRecovery().unsaved());
    EXPECT_EQ(readBytes(recoveryPath()), projectFile::serialize(window.taskList));

    prompts.fileAnswers = {folder.file("batch.mvk")};
    ui.press("menu_SaveProject");
    EXPECT_FALSE(window.listRecovery().unsaved());
    EXPECT_FALSE(recoveryExists());

    ui.selectRow(0);
    ui.press("btn_removeVob");
    EXPECT_TRUE(window.listRecovery().unsaved());
    EXPECT_EQ(readBytes(recoveryPath()), projectFile::serialize(window.taskList));

    // Open: what the project file holds counts as saved.
    prompts.fileAnswers = {folder.file("batch.mvk")};
    ui.press("menu_OpenProject");
    EXPECT_EQ(window.taskList.count(), 2);
    EXPECT_FALSE(window.listRecovery().unsaved());
    EXPECT_FALSE(recoveryExists());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ListRecoveryTest, StartUpOffersTheUnsavedListBackOrDiscardsIt) {
    {
        TForm1 crashed(services);
        addTask(crashed, "/dvd/a.VOB");
        addTask(crashed, "/dvd/b.VOB");
    }
    TForm1 declined(services);
    prompts.messageAnswers = {MessageAnswer::No};
    declined.offerListRecovery();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, language::warningCaption);
    // Enter restores: only a deliberate No loses the list.
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::YesNoDefaultYes);
    EXPECT_NE(prompts.messages[0].text.find("Restore its 2 task(s) ?"), std::string::npos);
    EXPECT_EQ(declined.taskList.count(), 0);
    EXPECT_FALSE(recoveryExists());

    addTask(declined, "/dvd/c.VOB");
    addTask(declined, "/dvd/d.VOB");
    const std::string kept = readBytes(recoveryPath());
    {
        // A second window at the same time holds off.
        TForm1 second(services);
        second.offerListRecovery();
        addTask(second, "/dvd/other.VOB");
        EXPECT_EQ(second.taskList.count(), 1);
        EXPECT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(readBytes(recoveryPath()), kept);
    }
    EXPECT_EQ(readBytes(recoveryPath()), kept);
}

TEST_F(ListRecoveryTest, RestoringShowsTheListAndKeepsItUnsaved) {
    {
        TForm1 crashed(services);
        addTask(crashed, "/dvd/a.VOB");
        addTask(crashed, "/dvd/b.VOB");
    }
    TForm1 window(services);
    const WindowDriver ui(window);
    prompts.messageAnswers = {MessageAnswer::Yes};
    window.offerListRecovery();
    ASSERT_EQ(ui.rowCount(), 2);
    EXPECT_EQ(ui.rowText(1, 1), "/dvd/b.VOB");
    EXPECT_TRUE(ui.enabled("btn_StartTasks"));
    EXPECT_TRUE(window.listRecovery().unsaved());
    EXPECT_EQ(readBytes(recoveryPath()), projectFile::serialize(window.taskList));
}

TEST_F(ListRecoveryTest, AProjectNamedOnTheCommandLineIsNotOpenedOverARestoredListAndABoxSaysWhy) {
    const std::string project = folder.file("named.mvk");
    {
        TForm1 crashed(services);
        addTask(crashed, "/dvd/a.VOB");
        projectFile::save(project, crashed.taskList);
        addTask(crashed, "/dvd/b.VOB");
    }
    TForm1 window(services);
    const WindowDriver ui(window);
    window.startUp(project);
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].kind, MessageKind::Warning);
    EXPECT_EQ(prompts.messages[1].text, project + language::projectNotOpenedAfterRestore);
    EXPECT_EQ(window.taskList.count(), 2);
    // The restored list stays on disk until it is saved or cleared.
    EXPECT_EQ(readBytes(recoveryPath()), projectFile::serialize(window.taskList));
    ui.press("btn_clearList");
    EXPECT_FALSE(recoveryExists());

    // Nothing to restore: the project opens.
    TForm1 next(services);
    next.startUp(project);
    EXPECT_EQ(next.taskList.count(), 1);
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(ListRecoveryTest, AnUnreadableRecoveryFileIsReportedAndKeptAside) {
    writeBytes(recoveryPath(), "garbage\r\n");
    TForm1 window(services);
    window.offerListRecovery();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              recoveryPath() + language::recoveryUnreadable +
                  formatMessage(platform::systemText(language::notAnInteger).c_str(), "garbage") +
                  language::recoveryKeptAs + recoveryPath() + ".unreadable");
    EXPECT_EQ(readBytes(recoveryPath() + ".unreadable"), "garbage\r\n");
    EXPECT_EQ(window.taskList.count(), 0);
}

TEST_F(ListRecoveryTest, AListThatCannotBeKeptIsReportedOnce) {
    std::filesystem::create_directory(recoveryPath());  // no file can take its place
    TForm1 window(services);
    addTask(window, "/dvd/a.VOB");
    addTask(window, "/dvd/b.VOB");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.rfind(recoveryPath() + language::recoveryNotWritten, 0), 0u);
    EXPECT_EQ(window.taskList.count(), 2);
}
