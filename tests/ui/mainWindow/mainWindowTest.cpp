#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeWidget>
#include <filesystem>

#include "files/textFile.h"
#include "language/language.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/taskDialog.h"

namespace {

class MainWindowTest : public GuiTest {
protected:
    TaskRef addTask(const std::string& source) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = source;
        window.taskList.add(task);
        return task;
    }

    // Start, Abort, Modify, Remove, Clear All; the context items follow Modify and Remove.
    std::vector<bool> enabling() const {
        EXPECT_EQ(ui.enabled("PPmenu_ModifyTask"), ui.enabled("btn_modifyTask"));
        EXPECT_EQ(ui.enabled("PPmenu_RemoveTask"), ui.enabled("btn_removeVob"));
        return {ui.enabled("btn_StartTasks"), ui.enabled("btn_AbortTasks"),
                ui.enabled("btn_modifyTask"), ui.enabled("btn_removeVob"),
                ui.enabled("btn_clearList")};
    }

    TForm1 window{services};
    const WindowDriver ui{window};
};

using Enabled = std::vector<bool>;

}  // namespace

TEST_F(MainWindowTest, CommandsFollowTheListAndTheSelection) {
    EXPECT_EQ(enabling(), (Enabled{false, false, false, false, false}));
    EXPECT_TRUE(ui.enabled("btn_addVob"));
    EXPECT_TRUE(ui.enabled("btn_displayLog"));
    EXPECT_TRUE(ui.enabled("PPmenu_AddTask"));
    EXPECT_FALSE(ui.shown("ProgressBar1"));
    // Tab goes as the controls lie on the screen.
    const char* const screenOrder[] = {"chb_stopWhenFinished", "ListView1",     "btn_StartTasks",
                                       "btn_AbortTasks",       "btn_addVob",    "btn_modifyTask",
                                       "btn_removeVob",        "btn_clearList", "btn_displayLog"};
    for (std::size_t i = 0; i + 1 < std::size(screenOrder); ++i) {
        EXPECT_EQ(ui.nextInFocus(screenOrder[i]), screenOrder[i + 1]);
    }

    addTask("/a.VOB");
    addTask("/b.VOB");
    window.RefreshTaskList();
    EXPECT_EQ(enabling(), (Enabled{true, false, false, false, true}));
    ui.selectRow(1);
    EXPECT_EQ(enabling(), (Enabled{true, false, true, true, true}));
}

TEST_F(MainWindowTest, TasksMoveUpAndDownByKeyAndMenuAndStaySelected) {
    for (const char* source : {"/a.VOB", "/b.VOB", "/c.VOB"}) {
        addTask(source);
    }
    window.RefreshTaskList();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto order = [this] {
        return std::vector<std::string>{ui.rowText(0, 1), ui.rowText(1, 1), ui.rowText(2, 1)};
    };
    ui.selectRow(0);
    EXPECT_FALSE(ui.enabled("PPmenu_MoveUp"));
    EXPECT_TRUE(ui.enabled("PPmenu_MoveDown"));
    auto& list = ui.control<QTreeWidget>("ListView1");
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(order(), (std::vector<std::string>{"/b.VOB", "/a.VOB", "/c.VOB"}));
    QTest::keyClick(&list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(order(), (std::vector<std::string>{"/b.VOB", "/c.VOB", "/a.VOB"}));
    EXPECT_FALSE(ui.enabled("PPmenu_MoveDown"));  // the last row, still selected
    ui.control<QAction>("PPmenu_MoveUp").trigger();
    ui.control<QAction>("PPmenu_MoveUp").trigger();
    QTest::keyClick(&list, Qt::Key_Up, Qt::ControlModifier);  // already first
    EXPECT_EQ(order(), (std::vector<std::string>{"/a.VOB", "/b.VOB", "/c.VOB"}));
}

TEST_F(MainWindowTest, RemoveRenumbersAndClearEmpties) {
    addTask("/a.VOB");
    const TaskRef removed = addTask("/b.VOB");
    addTask("/c.VOB");
    window.RefreshTaskList();
    ui.press("btn_removeVob");  // nothing selected: nothing happens
    EXPECT_EQ(window.taskList.count(), 3);
    ui.selectRow(1);
    ui.press("btn_removeVob");
    ASSERT_EQ(ui.rowCount(), 2);
    EXPECT_EQ(ui.rowText(0, 0) + ui.rowText(0, 1) + ui.rowText(1, 0) + ui.rowText(1, 1),
              "0/a.VOB1/c.VOB");
    EXPECT_FALSE(ui.control<QTreeWidget>("ListView1").topLevelItem(0)->flags() &
                 Qt::ItemIsEditable);
    EXPECT_EQ(removed->origVobFilePath, "/b.VOB");  // still intact for whoever holds it
    ui.press("btn_clearList");
    EXPECT_EQ(window.taskList.count(), 0);
    EXPECT_EQ(ui.rowCount(), 0);
    EXPECT_FALSE(ui.enabled("btn_clearList"));
}

TEST_F(MainWindowTest, AddTaskPicksTheSourceFirstAndAddsOnOk) {
    const std::string source = touch(folder.file("dvd/movie.VOB"));
    prompts.fileAnswers.push_back(source);
    whenModalShows([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFormTaskManager*>(modal), nullptr);
        const WindowDriver editor(*modal);
        EXPECT_EQ(editor.text("txt_origVOBfilePath"), source);
        editor.press("btnOK");
    });
    ui.press("btn_addVob");
    ASSERT_EQ(window.taskList.count(), 1);
    EXPECT_EQ(ui.rowText(0, 1), source);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("dvd")));

    // Cancelling the chooser still opens the editor, empty; cancelling the editor adds nothing.
    whenModalShows([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFormTaskManager*>(modal), nullptr);
        const WindowDriver editor(*modal);
        EXPECT_TRUE(editor.text("txt_origVOBfilePath").empty());
        EXPECT_TRUE(editor.checked("chb_Demux") && editor.checked("chb_author"));
        editor.press("btnCancel");
    });
    ui.press("PPmenu_AddTask");
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(window.taskList.count(), 1);
}

TEST_F(MainWindowTest, ModifyEditsTheSelectedTaskInPlace) {
    const TaskRef task = addTask(touch(folder.file("movie.VOB")));
    task->dvdFolderPath = folder.file("out");
    window.RefreshTaskList();
    ui.press("btn_modifyTask");  // nothing selected
    ui.selectRow(0);
    whenModalShows([](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFormTaskManager*>(modal), nullptr);
        const WindowDriver editor(*modal);
        editor.press("chb_Demux");
        editor.type("txt_m2vFilePath", "/edited.m2v");
        editor.press("btnCancel");
    });
    window.ListView1DblClick();
    EXPECT_EQ(task->m2vFilePath, "");

    whenModalShows([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFormTaskManager*>(modal), nullptr);
        const WindowDriver editor(*modal);
        editor.type("txt_VOBFilePath", folder.file("r.VOB"));
        editor.press("btnOK");
    });
    ui.press("PPmenu_ModifyTask");
    EXPECT_EQ(window.taskList.taskAt(0), task);
    EXPECT_EQ(task->vobFilePath, folder.file("r.VOB"));
}

TEST_F(MainWindowTest, HoverTextOfARow) {
    const TaskRef task = addTask("/dvd/movie.VOB");
    task->doRemux = task->doAuthor = false;
    task->m2vFilePath = "/dvd/<v>.m2v";
    task->ac3FilePath = "/dvd/a.ac3";
    addTask("/other.VOB")->doDemux = false;
    window.RefreshTaskList();
    const std::string expected = "/dvd/movie.VOB\r\n   demuxed to :\r\n/dvd/<v>.m2v\r\n/dvd/a.ac3";
    EXPECT_EQ(window.ListView1InfoTip(0), expected);

    window.show();
    ui.hoverRow(0);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("   demuxed to :\n/dvd/&lt;v&gt;.m2v")));

    // A remultiplexing task's text begins with an empty line, and shows it.
    ui.hoverRow(1);
    ASSERT_EQ(window.ListView1InfoTip(1).rfind("\r\n", 0), 0u);
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    EXPECT_TRUE(shown.toPlainText().startsWith(QLatin1Char('\n')))
        << shown.toPlainText().toStdString();
}

TEST_F(MainWindowTest, ControlsFollowTheirAnchorsOnResize) {
    const QWidget* client = window.centralWidget();
    ASSERT_EQ(client->size(), QSize(589, 385));
    EXPECT_EQ(ui.geometry("ListView1"), QRect(16, 56, 437, 304));
    window.show();
    window.resize(window.width() + 100, window.height() + 50);
    QApplication::processEvents();
    ASSERT_EQ(client->size(), QSize(689, 435));
    EXPECT_EQ(ui.geometry("ListView1"), QRect(16, 56, 537, 354));
    EXPECT_EQ(ui.geometry("chb_stopWhenFinished").topLeft(), QPoint(16, 10));
    EXPECT_EQ(ui.geometry("btn_StartTasks"), QRect(569, 40, 89, 25));
    EXPECT_EQ(ui.geometry("btn_addVob"), QRect(571, 136, 89, 25));
    EXPECT_EQ(ui.geometry("btn_displayLog"), QRect(572, 348, 89, 25));
    EXPECT_EQ(ui.geometry("ProgressBar1"), QRect(16, 413, 180, 15));
    EXPECT_EQ(ui.geometry("lab_statusText"), QRect(200, 415, 475, 20));
}

TEST_F(MainWindowTest, CreationLoadsTheSettingsAndReportsTheFirstMissingTool) {
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(window.windowTitle().toStdString(), "Marovink");
    EXPECT_EQ(window.logFilePath, folder.file("marovink.log"));
    EXPECT_FALSE(window.isRunning());

    const std::string multiplexer = programFolder() + platform::defaultMultiplexerName;
    std::filesystem::remove(multiplexer);
    TForm1 second(services);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(prompts.messages[0].caption, "Erreur");
    EXPECT_EQ(prompts.messages[0].text, multiplexer + language::programFileMissing);
}

TEST_F(MainWindowTest, StartUpWarnsOfUnusableSettingsAndOpensOnTheBuiltInOnes) {
    const std::string path = folder.file("other.ini");
    const auto startWith = [&](const std::string& bytes) {
        writeBytes(path, bytes);
        Settings fresh(path, programFolder());
        ProgramServices freshServices{
            prompts, fresh, *platform, RegionalFormats(), folder.file("m"), folder.file("m.log")};
        TForm1 started(freshServices);
        EXPECT_EQ(fresh.values().videoStandard, "PAL");
    };
    startWith(std::string("[various]\0\0", 11));
    startWith("[various]\r\nstandard=" + std::string(longestLine + 1, 'N'));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompts.messages[0].text, path + language::settingsBinary);
    EXPECT_EQ(prompts.messages[1].caption, "Marovink");
    EXPECT_EQ(prompts.messages[1].text,
              path + language::lineTooLongAt + "2" + language::lineTooLongEnd);
}

TEST_F(MainWindowTest, KeysActAsTheirMenuItemsAndButtonsWhenThoseAreEnabled) {
    // The offscreen platform does not give the focus back when a dialog closes.
    const auto activate = [this] {
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    };
    window.show();
    ASSERT_TRUE(activate());
    int editorsShown = 0;
    const auto cancelEditor = [&editorsShown](QWidget* modal) {
        ASSERT_NE(qobject_cast<TFormTaskManager*>(modal), nullptr);
        const WindowDriver editor(*modal);
        ++editorsShown;
        editor.press("btnCancel");
    };

    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(prompts.fileRequests[0].title, "Enter the project name");
    EXPECT_EQ(prompts.fileRequests[0].purpose, FileChooserRequest::Purpose::Open);
    EXPECT_EQ(prompts.fileRequests[1].purpose, FileChooserRequest::Purpose::Save);
    whenModalShows(cancelEditor);
    QTest::keyClick(&window, Qt::Key_Insert);
    EXPECT_EQ(editorsShown, 1);
    ASSERT_TRUE(activate());
    // Start and Abort are disabled: an empty list does not start, and nothing runs.
    QTest::keyClick(&window, Qt::Key_F5);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isRunning());

    addTask("/a.VOB");
    addTask("/b.VOB");
    window.RefreshTaskList();
    ui.selectRow(0);
    ui.key("btn_displayLog", Qt::Key_Delete);
    EXPECT_EQ(window.taskList.count(), 2);
    whenModalShows(cancelEditor);
    ui.key("btn_displayLog", Qt::Key_Return);
    EXPECT_EQ(editorsShown, 2);
    ASSERT_TRUE(activate());
    ui.key("ListView1", Qt::Key_Delete);
    ASSERT_EQ(window.taskList.count(), 1);
    EXPECT_EQ(ui.rowText(0, 1), "/b.VOB");
    EXPECT_EQ(ui.text("menu_OpenProject"), "Open...");
    EXPECT_TRUE(prompts.messages.empty());
}
