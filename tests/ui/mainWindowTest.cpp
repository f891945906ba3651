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
#include "ui/support/guiTest.h"
#include "ui/windows/mainWindow.h"
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

    void select(int row) { window.ListView1->setCurrentItem(window.ListView1->topLevelItem(row)); }

    std::string cell(int row, int column) const {
        return window.ListView1->topLevelItem(row)->text(column).toStdString();
    }

    // Start, Abort, Modify, Remove, Clear All; the context items follow Modify and Remove.
    std::vector<bool> enabling() const {
        EXPECT_EQ(window.PPmenu_ModifyTask->isEnabled(), window.btn_modifyTask->isEnabled());
        EXPECT_EQ(window.PPmenu_RemoveTask->isEnabled(), window.btn_removeVob->isEnabled());
        return {window.btn_StartTasks->isEnabled(), window.btn_AbortTasks->isEnabled(),
                window.btn_modifyTask->isEnabled(), window.btn_removeVob->isEnabled(),
                window.btn_clearList->isEnabled()};
    }

    TForm1 window{services};
};

using Enabled = std::vector<bool>;

}  // namespace

TEST_F(MainWindowTest, CommandsFollowTheListSelectionAndRunState) {
    EXPECT_EQ(enabling(), (Enabled{false, false, false, false, false}));
    EXPECT_TRUE(window.btn_addVob->isEnabled());
    EXPECT_TRUE(window.btn_displayLog->isEnabled());
    EXPECT_TRUE(window.PPmenu_AddTask->isEnabled());
    EXPECT_TRUE(window.ProgressBar1->isHidden());
    EXPECT_EQ(window.btn_displayLog->nextInFocusChain(), window.btn_addVob);
    EXPECT_EQ(window.chb_stopWhenFinished->nextInFocusChain(), window.btn_AbortTasks);

    addTask("/a.VOB");
    addTask("/b.VOB");
    window.RefreshTaskList();
    EXPECT_EQ(enabling(), (Enabled{true, false, false, false, true}));
    select(1);
    EXPECT_EQ(enabling(), (Enabled{true, false, true, true, true}));
    window.setRowIcon(1, TForm1::iconRunning);
    EXPECT_EQ(enabling(), (Enabled{true, false, false, false, true}));
    window.isRunning = true;
    window.UpdateControls();
    EXPECT_EQ(enabling(), (Enabled{false, true, false, false, true}));
    select(0);
    EXPECT_EQ(enabling(), (Enabled{false, true, true, true, true}));

    // A rebuild clears every icon, also during a run.
    window.setRowIcon(0, TForm1::iconDone);
    window.RefreshTaskList();
    EXPECT_EQ(window.rowIcon(0), TForm1::iconNone);
    EXPECT_EQ(window.rowIcon(1), TForm1::iconNone);
    EXPECT_TRUE(window.ListView1->topLevelItem(0)->icon(0).isNull());
}

TEST_F(MainWindowTest, RemoveRenumbersAndClearEmpties) {
    addTask("/a.VOB");
    const TaskRef removed = addTask("/b.VOB");
    addTask("/c.VOB");
    window.RefreshTaskList();
    window.btn_removeVob->click();  // nothing selected: nothing happens
    EXPECT_EQ(window.taskList.count(), 3);
    select(1);
    window.btn_removeVob->click();
    ASSERT_EQ(window.ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, 0) + cell(0, 1) + cell(1, 0) + cell(1, 1), "0/a.VOB1/c.VOB");
    EXPECT_FALSE(window.ListView1->topLevelItem(0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(removed->origVobFilePath, "/b.VOB");  // still intact for whoever holds it
    window.btn_clearList->click();
    EXPECT_EQ(window.taskList.count(), 0);
    EXPECT_EQ(window.ListView1->topLevelItemCount(), 0);
    EXPECT_FALSE(window.btn_clearList->isEnabled());
}

TEST_F(MainWindowTest, AddTaskPicksTheSourceFirstAndAddsOnOk) {
    const std::string source = touch(folder.file("dvd/movie.VOB"));
    prompts.fileAnswers.push_back(source);
    whenModalShows([&](QWidget* modal) {
        auto* editor = qobject_cast<TFormTaskManager*>(modal);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->txt_origVOBfilePath->text().toStdString(), source);
        editor->btnOK->click();
    });
    window.btn_addVob->click();
    ASSERT_EQ(window.taskList.count(), 1);
    EXPECT_EQ(cell(0, 1), source);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("dvd")));

    // Cancelling the chooser still opens the editor, empty; cancelling the editor adds nothing.
    whenModalShows([&](QWidget* modal) {
        auto* editor = qobject_cast<TFormTaskManager*>(modal);
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(editor->txt_origVOBfilePath->text().isEmpty());
        EXPECT_TRUE(editor->chb_Demux->isChecked() && editor->chb_author->isChecked());
        editor->btnCancel->click();
    });
    window.PPmenu_AddTask->trigger();
    EXPECT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(window.taskList.count(), 1);
}

TEST_F(MainWindowTest, ModifyEditsTheSelectedTaskInPlace) {
    const TaskRef task = addTask(touch(folder.file("movie.VOB")));
    task->dvdFolderPath = folder.file("out");
    window.RefreshTaskList();
    window.btn_modifyTask->click();  // nothing selected
    select(0);
    window.setRowIcon(0, TForm1::iconRunning);
    window.ListView1DblClick();  // the running row cannot be edited
    window.setRowIcon(0, TForm1::iconFailed);
    whenModalShows([](QWidget* modal) {
        auto* editor = qobject_cast<TFormTaskManager*>(modal);
        ASSERT_NE(editor, nullptr);
        editor->chb_Demux->click();
        editor->txt_m2vFilePath->setText(QStringLiteral("/edited.m2v"));
        editor->btnCancel->click();
    });
    window.ListView1DblClick();
    EXPECT_EQ(task->m2vFilePath, "");
    EXPECT_EQ(window.rowIcon(0), TForm1::iconFailed);  // no rebuild after Cancel

    whenModalShows([&](QWidget* modal) {
        auto* editor = qobject_cast<TFormTaskManager*>(modal);
        ASSERT_NE(editor, nullptr);
        editor->txt_VOBFilePath->setText(QString::fromStdString(folder.file("r.VOB")));
        editor->btnOK->click();
    });
    window.PPmenu_ModifyTask->trigger();
    EXPECT_EQ(window.taskList.taskAt(0), task);
    EXPECT_EQ(task->vobFilePath, folder.file("r.VOB"));
    EXPECT_EQ(window.rowIcon(0), TForm1::iconNone);
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
    QWidget* viewport = window.ListView1->viewport();
    const QPoint at = window.ListView1->visualItemRect(window.ListView1->topLevelItem(0)).center();
    QHelpEvent hover(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("   demuxed to :\n/dvd/&lt;v&gt;.m2v")));

    // A remultiplexing task's text begins with an empty line, and shows it.
    const QPoint second =
        window.ListView1->visualItemRect(window.ListView1->topLevelItem(1)).center();
    QHelpEvent hoverSecond(QEvent::ToolTip, second, viewport->mapToGlobal(second));
    QApplication::sendEvent(viewport, &hoverSecond);
    ASSERT_EQ(window.ListView1InfoTip(1).rfind("\r\n", 0), 0u);
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    EXPECT_TRUE(shown.toPlainText().startsWith(QLatin1Char('\n')))
        << shown.toPlainText().toStdString();
}

TEST_F(MainWindowTest, ControlsFollowTheirAnchorsOnResize) {
    const QWidget* client = window.centralWidget();
    ASSERT_EQ(client->size(), QSize(589, 385));
    EXPECT_EQ(window.ListView1->geometry(), QRect(16, 56, 437, 304));
    window.show();
    window.resize(window.width() + 100, window.height() + 50);
    QApplication::processEvents();
    ASSERT_EQ(client->size(), QSize(689, 435));
    EXPECT_EQ(window.ListView1->geometry(), QRect(16, 56, 537, 354));
    EXPECT_EQ(window.chb_stopWhenFinished->pos(), QPoint(16, 10));
    EXPECT_EQ(window.btn_StartTasks->geometry(), QRect(569, 40, 89, 25));
    EXPECT_EQ(window.btn_addVob->geometry(), QRect(571, 136, 89, 25));
    EXPECT_EQ(window.btn_displayLog->geometry(), QRect(572, 348, 89, 25));
    EXPECT_EQ(window.ProgressBar1->geometry(), QRect(16, 413, 180, 15));
    EXPECT_EQ(window.lab_statusText->geometry(), QRect(200, 415, 475, 20));
}

TEST_F(MainWindowTest, CreationLoadsTheSettingsAndReportsTheFirstMissingTool) {
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(window.windowTitle().toStdString(), "Marovink");
    EXPECT_EQ(window.logFilePath, folder.file("marovink.log"));
    EXPECT_FALSE(window.isRunning);

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
        auto* editor = qobject_cast<TFormTaskManager*>(modal);
        ASSERT_NE(editor, nullptr);
        ++editorsShown;
        editor->btnCancel->click();
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
    EXPECT_FALSE(window.isRunning);

    addTask("/a.VOB");
    addTask("/b.VOB");
    window.RefreshTaskList();
    select(0);
    window.btn_displayLog->setFocus();
    QTest::keyClick(window.btn_displayLog, Qt::Key_Delete);
    EXPECT_EQ(window.taskList.count(), 2);
    whenModalShows(cancelEditor);
    QTest::keyClick(window.btn_displayLog, Qt::Key_Return);
    EXPECT_EQ(editorsShown, 2);
    ASSERT_TRUE(activate());
    window.ListView1->setFocus();
    QTest::keyClick(window.ListView1, Qt::Key_Delete);
    ASSERT_EQ(window.taskList.count(), 1);
    EXPECT_EQ(cell(0, 1), "/b.VOB");
    EXPECT_EQ(window.menu_OpenProject->text().toStdString(), "Open...");
    EXPECT_TRUE(prompts.messages.empty());
}
