#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "editing/sourcePick.h"
#include "files/systemEncoding.h"
#include "language/language.h"
#include "regional/regionalFormats.h"
#include "support/fakeTools.h"
#include "ui/support/guiTest.h"
#include "ui/support/windowDriver.h"
#include "ui/windows/sourceStreamsPanel.h"
#include "ui/windows/taskDialog.h"

namespace {

class TaskDialogTest : public GuiTest {
protected:
    // A new editor of the values, driven as its user does.
    WindowDriver editorFor(const Ttask& values) {
        *task = values;
        editor = std::make_unique<TFormTaskManager>(nullptr, task, services);
        return WindowDriver(*editor);
    }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : prompts.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    static Ttask stages(bool demux, bool remux, bool author) {
        Ttask task;
        task.doDemux = demux;
        task.doRemux = remux;
        task.doAuthor = author;
        return task;
    }

    TaskRef task = std::make_shared<Ttask>();
    std::unique_ptr<TFormTaskManager> editor;
};

const std::string missing = " file is missing !!!\r\nPlease re-enter a correct path";

}  // namespace

TEST_F(TaskDialogTest, PanelsFollowTheStagesInAllEightCombinations) {
    struct Row {
        bool d, r, a;
        bool source, streams, remuxed, folder, deleteStreams, deleteVob;
    };
    const Row table[] = {
        {1, 1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 0, 1, 1, 1, 0, 1, 0}, {1, 0, 1, 1, 1, 0, 0, 0, 0},
        {1, 0, 0, 1, 1, 0, 0, 0, 0}, {0, 1, 1, 0, 1, 1, 1, 1, 1}, {0, 1, 0, 0, 1, 1, 0, 1, 0},
        {0, 0, 1, 0, 0, 1, 1, 0, 1}, {0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& row : table) {
        const WindowDriver ui = editorFor(stages(row.d, row.r, row.a));
        SCOPED_TRACE(testing::Message() << row.d << row.r << row.a);
        EXPECT_EQ(ui.shown("Panel_source"), row.source);
        EXPECT_EQ(ui.shown("ImDemuxArrow"), row.d);
        EXPECT_EQ(ui.shown("Panel_streams"), row.streams);
        EXPECT_EQ(ui.shown("ImRemuxArrow"), row.r);
        EXPECT_EQ(ui.shown("Panel_remuxed"), row.remuxed);
        for (const char* authorPart :
             {"Panel_folder", "Panel_chapter", "ImAuthorArrow", "ImChapterArrow"}) {
            EXPECT_EQ(ui.shown(authorPart), row.folder);
        }
        EXPECT_EQ(ui.checked("chb_author"), row.folder);
        EXPECT_EQ(ui.enabled("chb_deleteStreams"), row.deleteStreams);
        EXPECT_EQ(ui.enabled("chb_deleteVob"), row.deleteVob);
        EXPECT_TRUE(ui.enabled("chb_deleteOrigVob"));
    }
}

TEST_F(TaskDialogTest, AuthorCannotBeCheckedWithDemuxWithoutRemux) {
    const WindowDriver ui = editorFor(stages(true, true, true));
    ui.type("txt_DVDfolderPath", "/kept");
    ui.press("chb_remux");
    EXPECT_FALSE(ui.checked("chb_author"));
    ui.press("chb_author");
    EXPECT_FALSE(ui.checked("chb_author"));
    EXPECT_FALSE(ui.shown("Panel_folder"));
    // Hidden boxes keep their texts for when the stage comes back.
    ui.press("chb_remux");
    ui.press("chb_author");
    EXPECT_TRUE(ui.shown("Panel_folder"));
    EXPECT_EQ(ui.text("txt_DVDfolderPath"), "/kept");
}

TEST_F(TaskDialogTest, PickingASourceVobDerivesThePathsAndImportsCellTimes) {
    const std::string dvd = folder.file("dvd") + "/";
    const std::string source = touch(dvd + "movie.VOB");
    writeBytes(dvd + "CellTimes.txt", "0\n7500\nnot a time\n15000\n");
    const WindowDriver ui = editorFor(Ttask());
    prompts.fileAnswers.push_back(source);
    editor->browseForSource();

    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    const FileChooserRequest& request = prompts.fileRequests[0];
    EXPECT_EQ(request.purpose, FileChooserRequest::Purpose::Open);
    EXPECT_EQ(request.title, "Open the video file source");
    EXPECT_EQ(request.filter, "Fichiers Mpeg2 DVD (*.VOB)|*.VOB|video stream (*.m2v)|*.m2v");
    EXPECT_EQ(request.defaultExtension, "VOB");
    // The boxes show what the pick proposes (EditingTest has the rules).
    EXPECT_EQ(ui.text("txt_origVOBfilePath"), source);
    EXPECT_EQ(ui.text("txt_DVDfolderPath"), folder.file("dvd"));
    EXPECT_EQ(ui.text("edt_chapterList"), "00:00:00\n00:05:00\n00:10:00");
    // The import reaches the task at once, whatever the editor's end.
    EXPECT_EQ(task->chapterList, "00:00:00,00:05:00,00:10:00");

    // The next use proposes the chosen file again.
    editor->browseForSource();
    EXPECT_EQ(prompts.fileRequests[1].initialFileName, source);
}

TEST_F(TaskDialogTest, PickingAVideoStreamAsSourceSwitchesDemuxOff) {
    const std::string dvd = folder.file("dvd") + "/";
    const WindowDriver ui = editorFor(Ttask());
    prompts.fileAnswers.push_back(touch(dvd + "movie.M2V"));
    editor->browseForSource();
    EXPECT_FALSE(ui.checked("chb_Demux"));
    EXPECT_FALSE(ui.shown("Panel_source"));
    EXPECT_EQ(ui.text("txt_origVOBfilePath"), "");
    EXPECT_EQ(ui.text("txt_m2vFilePath"), dvd + "movie.M2V");
    EXPECT_EQ(ui.text("txt_ac3FilePath"), folder.file("dvd"));

    // With the audio stream beside it, that one is taken.
    touch(dvd + "movie.ac3");
    prompts.fileAnswers.push_back(dvd + "movie.M2V");
    ui.press("btn_BrowseForVideoStream");
    EXPECT_EQ(prompts.fileRequests.back().title, "Open the stream source");
    EXPECT_EQ(ui.text("txt_ac3FilePath"), dvd + "movie.ac3");
}

TEST_F(TaskDialogTest, SaveChoosersProposeTheirNamesAndGuardTheSource) {
    const WindowDriver ui = editorFor(Ttask());
    ui.press("btn_BrowseForVideoStream");
    EXPECT_EQ(prompts.fileRequests.back().purpose, FileChooserRequest::Purpose::Save);
    EXPECT_EQ(prompts.fileRequests.back().initialFileName, "VTS_01_1.m2v");
    prompts.fileAnswers.push_back(std::string("/out/a.m2v"));
    ui.press("btn_BrowseForVideoStream");
    EXPECT_EQ(ui.text("txt_ac3FilePath"), "/out/a.ac3");
    EXPECT_EQ(ui.text("txt_VOBFilePath"), "/out/remuxedVTS_01_1.VOB");

    ui.type("txt_origVOBfilePath", "/dvd/movie.VOB");
    prompts.fileAnswers.push_back(std::string("/dvd/movie.VOB"));
    prompts.messageAnswers.push_back(MessageAnswer::No);
    ui.press("btn_BrowseForVob");
    EXPECT_EQ(prompts.messages.back().buttons, MessageButtons::YesNo);
    EXPECT_EQ(prompts.messages.back().text.substr(0, 17), "BE CAREFULL !!!\r\n");
    EXPECT_EQ(ui.text("txt_VOBFilePath"), "/out/remuxedVTS_01_1.VOB");

    prompts.fileAnswers.push_back(std::string("/dvd/movie.VOB"));
    ui.press("btn_BrowseForVob");  // answered Yes
    EXPECT_EQ(ui.text("txt_VOBFilePath"), "/dvd/movie.VOB");
    EXPECT_EQ(ui.text("txt_DVDfolderPath"), "/dvd");

    prompts.folderAnswers.push_back(std::string("/elsewhere"));
    ui.press("btn_BrowseForDVD");
    EXPECT_EQ(prompts.folderRequests.back().title,
              "Select the folder in which the VIDEO_TS folder will be created");
    EXPECT_EQ(prompts.folderRequests.back().folder, "/dvd");
    EXPECT_EQ(ui.text("txt_DVDfolderPath"), "/elsewhere");
}

TEST_F(TaskDialogTest, DeletionWarnings) {
    Ttask flagged = stages(false, true, true);
    flagged.deleteOrigVob = true;
    const WindowDriver ui = editorFor(flagged);
    // Shown while the editor is being built, before it appears.
    EXPECT_EQ(messageTexts(), std::vector<std::string>{language::pointOfNoReturn});
    EXPECT_EQ(prompts.messages[0].caption, "Avertissement");

    ui.press("chb_deleteVob");  // the VOB is made by the task: no warning
    ui.press("chb_deleteStreams");
    ui.press("chb_deleteStreams");  // unchecking says nothing
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(TaskDialogTest, SameNameWarningOnOk) {
    const WindowDriver ui = editorFor(Ttask());
    QSignalSpy accepted(editor.get(), &QDialog::accepted);
    prompts.messageAnswers.push_back(MessageAnswer::Abort);
    ui.press("btnOK");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{language::sameNameOnOk});
    EXPECT_EQ(prompts.messages[0].buttons, MessageButtons::AbortIgnore);

    prompts.messages.clear();
    prompts.messageAnswers.push_back(MessageAnswer::Ignore);
    ui.press("btnOK");
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{language::sameNameOnOk, missing}));
    EXPECT_EQ(accepted.count(), 0);
}

TEST_F(TaskDialogTest, OkReportsTheMissingInputOfTheFirstActiveStage) {
    const std::string dvd = folder.file("dvd") + "/";
    Ttask values = stages(false, true, true);
    values.m2vFilePath = dvd + "v.m2v";
    values.ac3FilePath = dvd + "a.ac3";
    values.vobFilePath = dvd + "r.VOB";
    const WindowDriver ui = editorFor(values);
    ui.press("btnOK");
    EXPECT_EQ(messageTexts(), std::vector<std::string>{values.m2vFilePath + missing});
    touch(values.m2vFilePath);
    ui.press("btnOK");
    EXPECT_EQ(prompts.messages.back().text, values.ac3FilePath + missing);

    ui.press("chb_remux");
    ui.press("btnOK");
    EXPECT_EQ(prompts.messages.back().text, values.vobFilePath + missing);
    // A folder is no file.
    ui.type("txt_VOBFilePath", folder.path());
    ui.press("btnOK");
    EXPECT_EQ(prompts.messages.back().text, folder.path() + missing);
    EXPECT_EQ(task->vobFilePath, values.vobFilePath);  // untouched so far
}

TEST_F(TaskDialogTest, OkWritesTheTaskAndCreatesTheFolder) {
    const std::string source = touch(folder.file("dvd/movie.VOB"));
    const WindowDriver ui = editorFor(Ttask());
    QSignalSpy accepted(editor.get(), &QDialog::accepted);
    ui.type("txt_origVOBfilePath", source);
    ui.type("txt_VOBFilePath", "/tmp/r.VOB");
    ui.type("txt_DVDfolderPath", folder.file("out/deep/dvd"));
    ui.type("edt_chapterList", "1500\n\n00:05:00:12");
    ui.press("chb_deleteVob");
    ui.press("btnOK");
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("out/deep/dvd")));
    EXPECT_EQ(task->origVobFilePath, source);
    EXPECT_EQ(task->chapterList, "00:01:00,00:05:00.12");
    EXPECT_TRUE(task->deleteVob);

    // With Author off, the destination and chapters go, although their boxes keep their texts.
    const WindowDriver secondUi = editorFor(*task);
    QSignalSpy secondAccepted(editor.get(), &QDialog::accepted);
    secondUi.press("chb_author");
    secondUi.type("txt_VOBFilePath", folder.file("remux/r.VOB"));
    secondUi.press("btnOK");
    EXPECT_EQ(secondAccepted.count(), 1);
    EXPECT_EQ(task->dvdFolderPath, "");
    EXPECT_EQ(task->chapterList, "");
    EXPECT_FALSE(task->doAuthor);
    EXPECT_TRUE(task->deleteVob);  // a disabled box still gives its state
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("remux")));
}

TEST_F(TaskDialogTest, OkGivesATaskNamesOfItsOwnWhereItWouldShareAnotherTasksFiles) {
    TAllTask list;
    const std::string first = touch(folder.file("dvd/x.VOB"));
    list.add(std::make_shared<Ttask>(taskFromSourceFile(first, "PAL", RegionalFormats())));
    struct Case {
        const char* what;
        std::string source;
        const char* message;  // after the first OK; none: accepted at once
        std::string m2vAfterIt;
    };
    const std::vector<Case> cases{
        {"a second source of the folder", touch(folder.file("dvd/y.VOB")),
         "Task N\xc2\xb0 0 already uses these names: this task now has names of its own, from "
         "its source's name. Check them, then press OK again.",
         folder.file("dvd/y.m2v")},
        {"the same source again", first,
         "Task N\xc2\xb0 0 uses the same files or folder as this task: the two never run at the "
         "same time, but one may write over what the other made. Press OK again to keep the "
         "task as it is.",
         folder.file("dvd/VTS_01_1.m2v")},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        prompts.messages.clear();
        const WindowDriver ui = editorFor(Ttask());
        editor->setTaskList(&list);
        QSignalSpy accepted(editor.get(), &QDialog::accepted);
        prompts.fileAnswers.push_back(test.source);
        editor->browseForSource();
        ui.press("btnOK");
        EXPECT_EQ(messageTexts(), std::vector<std::string>{test.message});
        EXPECT_EQ(accepted.count(), 0);
        EXPECT_EQ(ui.text("txt_m2vFilePath"), test.m2vAfterIt);
        ui.press("btnOK");
        EXPECT_EQ(accepted.count(), 1);
        EXPECT_EQ(task->m2vFilePath, test.m2vAfterIt);
    }
    // A task of the list shares nothing with itself.
    prompts.messages.clear();
    const TaskRef listed = list.taskAt(0);
    editor = std::make_unique<TFormTaskManager>(nullptr, listed, services);
    editor->setTaskList(&list);
    QSignalSpy accepted(editor.get(), &QDialog::accepted);
    WindowDriver(*editor).press("btnOK");
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TaskDialogTest, FolderFailuresOnOkLeaveTheTaskWritten) {
    const std::string source = touch(folder.file("movie.VOB"));
    touch(folder.file("blocker"));
    const WindowDriver ui = editorFor(Ttask());
    QSignalSpy accepted(editor.get(), &QDialog::accepted);
    ui.type("txt_origVOBfilePath", source);
    ui.press("btnOK");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(prompts.messages[0].caption, "Marovink");
    EXPECT_EQ(prompts.messages[0].text, platform::systemText(language::cannotCreateFolder));
    EXPECT_EQ(task->origVobFilePath, source);

    const std::string blocked = folder.file("blocker/dvd");
    ui.type("txt_DVDfolderPath", blocked);
    ui.press("btnOK");
    EXPECT_EQ(prompts.messages.back().text,
              "\"" + blocked +
                  "\"  directory doesn't exists and can't be created !\r\nPlease select another "
                  "one.");
    EXPECT_EQ(task->dvdFolderPath, blocked);
    EXPECT_EQ(accepted.count(), 0);
}

TEST_F(TaskDialogTest, CancelLeavesTheTaskAndShowingFillsTheChapters) {
    Ttask values;
    values.chapterList = "00:00:00,00:05:00";
    const WindowDriver ui = editorFor(values);
    editor->show();
    EXPECT_EQ(ui.text("edt_chapterList"), "00:00:00\n00:05:00");
    ui.type("txt_origVOBfilePath", "/changed");
    ui.press("btnCancel");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Rejected);
    EXPECT_EQ(task->origVobFilePath, "");
}

TEST_F(TaskDialogTest, TheKeysOfADialogTabReturnAndEscape) {
    Ttask values;
    values.chapterList = "00:00:00";
    const WindowDriver ui = editorFor(values);
    editor->show();
    // In the chapter list, Return ends a line and Tab leaves it, never typing a tab.
    auto& chapters = ui.control<QPlainTextEdit>("edt_chapterList");
    chapters.setFocus();
    chapters.moveCursor(QTextCursor::End);
    ui.key("edt_chapterList", Qt::Key_Return);
    ui.key("edt_chapterList", Qt::Key_Tab);
    EXPECT_EQ(ui.text("edt_chapterList"), "00:00:00\n");
    EXPECT_FALSE(chapters.hasFocus());
    EXPECT_TRUE(editor->isVisible());
    // Elsewhere Return presses OK, whose check here finds no source, and Escape cancels.
    ui.key("txt_origVOBfilePath", Qt::Key_Return);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(editor->isVisible());
    ui.type("txt_origVOBfilePath", "/changed");
    ui.key("txt_origVOBfilePath", Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Rejected);
    EXPECT_EQ(task->origVobFilePath, "");
}

TEST_F(TaskDialogTest, ImportUsesTheVideoStandardAndReportsUnreadableFiles) {
    setVideoStandard("NTSC");
    writeBytes(folder.file("chapters.txt"), "1500\r\n1799\r\n");
    Ttask values;
    values.m2vFilePath = "/dvd/v.m2v";
    const WindowDriver ui = editorFor(values);
    prompts.fileAnswers.push_back(folder.file("chapters.txt"));
    ui.press("btn_ImportChapter");
    EXPECT_EQ(prompts.fileRequests.back().initialFileName, "/dvd/v.m2v");
    EXPECT_EQ(prompts.fileRequests.back().filter, "text file (*.txt)|*.txt");
    EXPECT_EQ(task->chapterList, "00:00:50,00:01:00");

    prompts.fileAnswers.push_back(folder.path());
    ui.press("btn_ImportChapter");
    EXPECT_EQ(prompts.messages.back().caption, "Marovink");
    EXPECT_EQ(task->chapterList, "00:00:50,00:01:00");
    EXPECT_EQ(ui.text("edt_chapterList"), "00:00:50\n00:01:00");
}

#ifndef _WIN32
TEST_F(TaskDialogTest, ThePickedSourcesStreamsAreListedAndSetTheAudioChoice) {
    // A demultiplexer that lists a source of two audio tracks and a subtitle stream.
    const std::string demuxer = folder.file("lister");
    writeBytes(demuxer,
               "#!/bin/sh\n[ \"$1\" = --list ] || exit 2\n"
               "printf '0xe0\\tvideo\\tmpeg2video\\t-\\t-\\t0.5\\t9\\t-\\t-\\n"
               "0x80\\taudio\\tac3\\t2\\t48000\\t0.5\\t9\\ten\\t-\\n"
               "0xc1\\taudio\\tmp2\\t2\\t48000\\t0.5\\t9\\t-\\t-\\n"
               "0x20\\tsubpicture\\tsubpicture\\t-\\t-\\t0.5\\t9\\t-\\t-\\n'\n");
    std::filesystem::permissions(demuxer, std::filesystem::perms::owner_all);
    SettingsValues values = settings.values();
    values.demuxExePath = demuxer;
    settings.setValues(values);

    const WindowDriver ui = editorFor(Ttask());
    prompts.fileAnswers.push_back(touch(folder.file("dvd/VTS_01_1.VOB")));
    editor->browseForSource();
    auto& streams = ui.control<SourceStreamsPanel>("Panel_sourceStreams");
    // The listing runs in the background, the editor free meanwhile.
    EXPECT_TRUE(streams.isListing());
    EXPECT_EQ(streams.leftOutText(), "Listing the source's streams...");
    const auto listed = [](const SourceStreamsPanel& panel) {
        return QTest::qWaitFor([&panel] { return !panel.isListing(); }, 10000);
    };
    ASSERT_TRUE(listed(streams));
    EXPECT_EQ(
        streams.streamLines(),
        (std::vector<std::string>{"0xe0   video   mpeg2video", "0x80   audio   ac3   2 ch   en",
                                  "0xc1   audio   mp2   2 ch", "0x20   subtitle"}));
    EXPECT_TRUE(streams.keepsEveryAudioTrack());
    // No title set IFO beside the source: its subtitles' colours are unknown, and they stay out
    // unless the user asks for them.
    EXPECT_FALSE(streams.keepsEverySubtitleStream());
    const std::string subtitlesOut =
        "1 subtitle stream(s) : \"Keep every subtitle stream\" is not ticked";
    EXPECT_EQ(streams.leftOutText(), subtitlesOut);
    streams.setKeepEveryAudioTrack(false);
    EXPECT_EQ(streams.leftOutText(),
              "0xc1   audio   mp2   2 ch : only the first AC-3 track is kept\n" + subtitlesOut);
    streams.setKeepEveryAudioTrack(true);
    streams.setKeepEverySubtitleStream(true);
    EXPECT_EQ(streams.leftOutText(),
              "nothing\n\nNo title set IFO lies beside the source: the subtitles get a standard "
              "palette, and their colours may be wrong.");
    ui.press("btnOK");
    EXPECT_EQ(task->extraChoices, "audio=all subtitles=all");

    // A demultiplexer without the option: the editor says so, and a task from a file shows what
    // the file says, its other words kept.
    values.demuxExePath = folder.file("dvd/VTS_01_1.VOB");
    settings.setValues(values);
    Ttask stored = *task;
    stored.extraChoices = "later=1 audio=all";
    const WindowDriver again = editorFor(stored);
    auto& storedStreams = again.control<SourceStreamsPanel>("Panel_sourceStreams");
    ASSERT_TRUE(listed(storedStreams));
    EXPECT_TRUE(storedStreams.streamLines().empty());
    EXPECT_EQ(storedStreams.leftOutText(),
              "The demultiplexer cannot list the source's streams: they cannot be shown here.");
    EXPECT_TRUE(storedStreams.keepsEveryAudioTrack());
    storedStreams.setKeepEveryAudioTrack(false);
    again.press("btnOK");
    EXPECT_EQ(task->extraChoices, "later=1");

    // With the IFO beside it, a new source's subtitles are kept at once.
    values.demuxExePath = demuxer;
    settings.setValues(values);
    touch(folder.file("dvd/VTS_01_0.IFO"));
    const WindowDriver withIfo = editorFor(Ttask());
    prompts.fileAnswers.push_back(folder.file("dvd/VTS_01_1.VOB"));
    editor->browseForSource();
    auto& ifoStreams = withIfo.control<SourceStreamsPanel>("Panel_sourceStreams");
    ASSERT_TRUE(listed(ifoStreams));
    EXPECT_TRUE(ifoStreams.keepsEverySubtitleStream());
}
#endif

TEST_F(TaskDialogTest, TheDiscRowTakesAKnownDiscAndSaysWhatTheTitleWillTake) {
    // Only the source's size counts before a run: a sparse file of 6 GB stands for a film.
    const std::string source = touch(folder.file("film/film.VOB"));
    std::filesystem::resize_file(source, 6000000000);
    struct Case {
        const char* typed;
        bool image;
        const char* prediction;
        const char* choices;  // nullptr: OK refused with the unknown disc's message
    };
    const Case cases[] = {
        {"DVD-5", true, "about 6.00 GB: fitted to DVD-5, video at 77 %",
         "audio=all disc=DVD-5 iso"},
        {"DVD-9", false, "about 6.00 GB: fits DVD-9", "audio=all disc=DVD-9"},
        {"(none)", true, "", "audio=all iso"},
        {"DVD-7", false, "The disc \"DVD-7\" is none this program knows", nullptr},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.typed);
        prompts.messages.clear();
        Ttask values = stages(true, true, true);
        values.extraChoices = "audio=all disc=8cm";
        const WindowDriver ui = editorFor(values);
        QSignalSpy accepted(editor.get(), &QDialog::accepted);
        EXPECT_EQ(ui.text("cmb_disc"), "8cm");
        ui.type("txt_origVOBfilePath", source);
        ui.type("txt_VOBFilePath", folder.file("film/r.VOB"));
        ui.type("txt_DVDfolderPath", folder.file("film/dvd"));
        ui.type("cmb_disc", each.typed);
        if (each.image) {
            ui.press("chb_image");
        }
        EXPECT_EQ(ui.text("lab_discFit"), each.prediction);
        ui.press("btnOK");
        EXPECT_EQ(accepted.count(), each.choices != nullptr ? 1 : 0);
        if (each.choices != nullptr) {
            EXPECT_EQ(task->extraChoices, each.choices);
        } else {
            EXPECT_EQ(messageTexts(),
                      std::vector<std::string>{
                          "The disc \"DVD-7\" is none this program knows: choose DVD-5, DVD-9 or "
                          "8cm, or type whole megabytes such as 4000MB."});
        }
    }
}
