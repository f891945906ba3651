#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "language/language.h"
#include "ui/mainWindow/mainWindow.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/taskDialog.h"

namespace {

class SourceFilesCommandTest : public GuiTest {
protected:
    SourceFilesCommandTest() {
        // A modal dialog here would be the editor, which several files must not open.
        QObject::connect(&modalGuard, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++modalsShown;
                modal->close();
            }
        });
        modalGuard.start(10);
    }

    // The task the editor makes when the file is picked as the source and OK pressed at once.
    Ttask editorTask(const std::string& source) {
        const TaskRef task = std::make_shared<Ttask>();
        TFormTaskManager editor(&window, task, services);
        prompts.fileAnswers = {source};
        editor.browseForSource();
        WindowDriver(editor).press("btnOK");
        return *task;
    }

    static void expectSameTask(const Ttask& actual, const Ttask& expected) {
        EXPECT_EQ(actual.origVobFilePath, expected.origVobFilePath);
        EXPECT_EQ(actual.m2vFilePath, expected.m2vFilePath);
        EXPECT_EQ(actual.ac3FilePath, expected.ac3FilePath);
        EXPECT_EQ(actual.vobFilePath, expected.vobFilePath);
        EXPECT_EQ(actual.dvdFolderPath, expected.dvdFolderPath);
        EXPECT_EQ(actual.chapterList, expected.chapterList);
        EXPECT_EQ(actual.doDemux, expected.doDemux);
        EXPECT_EQ(actual.doRemux, expected.doRemux);
        EXPECT_EQ(actual.doAuthor, expected.doAuthor);
    }

    bool sendDrag(QEvent::Type type, QMimeData& data) {
        QWidget* viewport = ui.control<QTreeWidget>("ListView1").viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent& event = type == QEvent::DragEnter ? enter : drop;
        QApplication::sendEvent(viewport, &event);
        return event.isAccepted();
    }

    TForm1 window{services};
    const WindowDriver ui{window};
    QTimer modalGuard;
    int modalsShown = 0;
};

}  // namespace

TEST_F(SourceFilesCommandTest, AddTaskWithSeveralFilesAddsEachAsTheEditorWouldAndSaysSo) {
    const std::string first = touch(folder.file("one/VTS_01_1.VOB"));
    writeBytes(folder.file("one/CellTimes.txt"), "0\n7500\n");
    const std::string second = touch(folder.file("two/movie.vob"));
    const std::string notes = touch(folder.file("notes.txt"));
    const Ttask expectedFirst = editorTask(first);
    const Ttask expectedSecond = editorTask(second);
    prompts.messages.clear();

    prompts.filesAnswers = {{first, notes, second}};
    ui.press("btn_addVob");

    EXPECT_TRUE(prompts.severalAllowed.back());
    EXPECT_EQ(prompts.fileRequests.back().title, language::openVideoSourceTitle);
    EXPECT_EQ(modalsShown, 0);
    ASSERT_EQ(window.taskList.count(), 2);
    EXPECT_EQ(ui.rowCount(), 2);
    expectSameTask(*window.taskList.taskAt(0), expectedFirst);
    expectSameTask(*window.taskList.taskAt(1), expectedSecond);
    EXPECT_EQ(window.taskList.taskAt(0)->chapterList, "00:00:00,00:05:00");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(prompts.messages[0].caption, language::programTitle);
    EXPECT_EQ(prompts.messages[0].text, "Tasks added: 2\r\n   " + first + "\r\n   " + second +
                                            "\r\n\r\nFiles skipped: 1\r\n   " + notes +
                                            " is not a VOB or .m2v file");
}

TEST_F(SourceFilesCommandTest, DroppedFilesBecomeTasksAndOtherDropsAreRefused) {
    const std::string stream = touch(folder.file("three/movie.m2v"));
    touch(folder.file("three/movie.ac3"));
    const std::string source = touch(folder.file("four/VTS_01_1.VOB"));
    const Ttask expectedStream = editorTask(stream);
    prompts.messages.clear();

    QMimeData text;
    text.setText(QStringLiteral("/dvd/VTS_01_1.VOB"));
    EXPECT_FALSE(sendDrag(QEvent::DragEnter, text));

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(stream)),
                   QUrl(QStringLiteral("https://example.org/VTS_01_1.VOB")),
                   QUrl::fromLocalFile(QString::fromStdString(source))});
    EXPECT_TRUE(sendDrag(QEvent::DragEnter, files));
    EXPECT_TRUE(sendDrag(QEvent::Drop, files));

    EXPECT_EQ(modalsShown, 0);
    ASSERT_EQ(window.taskList.count(), 2);
    expectSameTask(*window.taskList.taskAt(0), expectedStream);
    EXPECT_FALSE(window.taskList.taskAt(0)->doDemux);
    EXPECT_EQ(window.taskList.taskAt(1)->origVobFilePath, source);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Tasks added: 2\r\n   " + stream + "\r\n   " + source);
}
