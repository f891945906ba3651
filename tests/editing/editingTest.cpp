#include <gtest/gtest.h>

#include <filesystem>

#include "editing/deletionWarning.h"
#include "editing/okCheck.h"
#include "editing/sourcePick.h"
#include "editing/stageView.h"
#include "files/ioError.h"
#include "regional/regionalFormats.h"
#include "support/tempFolder.h"

namespace {

Ttask stages(bool demux, bool remux, bool author) {
    Ttask task;
    task.doDemux = demux;
    task.doRemux = remux;
    task.doAuthor = author;
    return task;
}

class EditingTest : public testing::Test {
protected:
    std::string touch(const std::string& name) { return folder.touch(name); }

    TempFolder folder;
};

}  // namespace

TEST(StageViewTest, AllEightCombinations) {
    struct Row {
        bool d, r, a;
        bool author, source, streams, remuxed;
    };
    const Row table[] = {
        {1, 1, 1, 1, 1, 1, 1}, {1, 1, 0, 0, 1, 1, 1}, {1, 0, 1, 0, 1, 1, 0}, {1, 0, 0, 0, 1, 1, 0},
        {0, 1, 1, 1, 0, 1, 1}, {0, 1, 0, 0, 0, 1, 1}, {0, 0, 1, 1, 0, 0, 1}, {0, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << row.d << row.r << row.a);
        const StageView view = stageView(row.d, row.r, row.a);
        EXPECT_EQ(view.author, row.author);
        EXPECT_EQ(view.authorShown, row.author);
        EXPECT_EQ(view.sourceShown, row.source);
        EXPECT_EQ(view.streamsShown, row.streams);
        EXPECT_EQ(view.remuxShown, row.r);
        EXPECT_EQ(view.remuxedShown, row.remuxed);
    }
}

TEST_F(EditingTest, PickingAVobProposesEverythingBesideIt) {
    const std::string source = touch("dvd/movie.vob");
    Ttask boxes;
    boxes.chapterList = "kept";
    EXPECT_EQ(sourcePick::pickSource(boxes, source), std::nullopt);
    const std::string dvd = folder.file("dvd");
    EXPECT_EQ(boxes.origVobFilePath, source);
    EXPECT_EQ(boxes.m2vFilePath, folder.file("dvd/VTS_01_1.m2v"));
    EXPECT_EQ(boxes.ac3FilePath, folder.file("dvd/VTS_01_1.ac3"));
    EXPECT_EQ(boxes.vobFilePath, folder.file("dvd/remuxedVTS_01_1.VOB"));
    EXPECT_EQ(boxes.dvdFolderPath, dvd);
    EXPECT_TRUE(boxes.doDemux);
    EXPECT_EQ(boxes.chapterList, "kept");

    const std::string cellTimes = touch("dvd/CellTimes.txt");
    EXPECT_EQ(sourcePick::pickSource(boxes, source), cellTimes);
}

TEST_F(EditingTest, PickingAStreamSwitchesDemuxOffAndFindsItsAudio) {
    const std::string stream = touch("dvd/movie.M2V");
    Ttask boxes;
    boxes.origVobFilePath = "/old/source.VOB";
    sourcePick::pickSource(boxes, stream);
    EXPECT_FALSE(boxes.doDemux);
    EXPECT_EQ(boxes.origVobFilePath, "/old/source.VOB");  // hidden, not changed
    EXPECT_EQ(boxes.m2vFilePath, stream);
    EXPECT_EQ(boxes.ac3FilePath, folder.file("dvd"));  // no audio beside it: OK will say so
    EXPECT_EQ(boxes.vobFilePath, folder.file("dvd/remuxedVTS_01_1.VOB"));

    const std::string audio = touch("dvd/movie.ac3");
    sourcePick::pickVideoStream(boxes, stream);
    EXPECT_EQ(boxes.ac3FilePath, audio);
}

TEST_F(EditingTest, PickedOutputsProposeWhatFollowsThem) {
    Ttask boxes = stages(true, true, true);
    sourcePick::pickStreamDestination(boxes, "/out/a.m2v");
    EXPECT_EQ(boxes.ac3FilePath, "/out/a.ac3");  // an output: whether it exists does not matter
    EXPECT_EQ(boxes.vobFilePath, "/out/remuxedVTS_01_1.VOB");
    EXPECT_EQ(boxes.dvdFolderPath, "/out");

    const std::string vob = touch("dvd/movie.VOB");
    touch("dvd/CellTimes.txt");
    EXPECT_EQ(sourcePick::pickRemuxedVob(boxes, vob), std::nullopt);  // made by the task
    EXPECT_EQ(boxes.vobFilePath, vob);
    EXPECT_EQ(boxes.dvdFolderPath, folder.file("dvd"));
    boxes.doRemux = false;
    EXPECT_EQ(sourcePick::pickRemuxedVob(boxes, vob), folder.file("dvd/CellTimes.txt"));
}

TEST(ProposedNameTest, TheBoxTextElseTheProgramsName) {
    using sourcePick::Output;
    Ttask boxes;
    EXPECT_EQ(sourcePick::proposedName(boxes, Output::videoStream), "VTS_01_1.m2v");
    EXPECT_EQ(sourcePick::proposedName(boxes, Output::audioStream), "VTS_01_1.ac3");
    EXPECT_EQ(sourcePick::proposedName(boxes, Output::remuxedVob), "VTS_01_1.VOB");
    boxes.m2vFilePath = "v";
    boxes.ac3FilePath = "a";
    boxes.vobFilePath = "r";
    EXPECT_EQ(sourcePick::proposedName(boxes, Output::videoStream), "v");
    EXPECT_EQ(sourcePick::proposedName(boxes, Output::audioStream), "a");
    EXPECT_EQ(sourcePick::proposedName(boxes, Output::remuxedVob), "r");
}

TEST(DeletionWarningTest, OnlyATasksOwnInputHasNoReturn) {
    struct Row {
        DeleteBox box;
        bool demux, remux;
        bool warned;
    };
    const Row table[] = {
        {DeleteBox::origVob, true, true, true},      {DeleteBox::origVob, false, false, true},
        {DeleteBox::streams, true, true, false},     {DeleteBox::streams, false, true, true},
        {DeleteBox::remuxedVob, true, false, false}, {DeleteBox::remuxedVob, false, true, false},
        {DeleteBox::remuxedVob, false, false, true},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.box) << row.demux << row.remux);
        Ttask boxes = stages(row.demux, row.remux, true);
        EXPECT_FALSE(deletionHasNoReturn(boxes, row.box));  // unchecked says nothing
        boxes.deleteOrigVob = boxes.deleteStreams = boxes.deleteVob = true;
        EXPECT_EQ(deletionHasNoReturn(boxes, row.box), row.warned);
    }
}

TEST_F(EditingTest, ATaskFromASourceFileIsWhatAddTaskAndOkWouldMake) {
    const std::string source = touch("dvd/VTS_01_1.VOB");
    writeBytes(folder.file("dvd/CellTimes.txt"), "0\n7500\n");
    const Ttask task = taskFromSourceFile(source, "PAL", RegionalFormats());
    EXPECT_EQ(task.origVobFilePath, source);
    EXPECT_EQ(task.dvdFolderPath, folder.file("dvd"));
    EXPECT_EQ(task.chapterList, "00:00:00,00:05:00");
    EXPECT_TRUE(task.doDemux && task.doRemux && task.doAuthor);
    EXPECT_EQ(checkTaskAsEditorOk(task), std::nullopt);

    const Ttask streamTask = taskFromSourceFile(touch("dvd/movie.m2v"), "PAL", RegionalFormats());
    EXPECT_FALSE(streamTask.doDemux);
    EXPECT_EQ(streamTask.origVobFilePath, "");  // its panel is hidden
    EXPECT_EQ(streamTask.chapterList, "00:00:00,00:05:00");
    const auto failure = checkTaskAsEditorOk(streamTask);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, OkFailure::Reason::missingInput);
    EXPECT_EQ(failure->message,
              folder.file("dvd") + " file is missing !!!\r\nPlease re-enter a correct path");
}

TEST_F(EditingTest, OkChecksTheInputsOfTheFirstActiveStageOnly) {
    Ttask boxes = stages(true, true, true);
    boxes.origVobFilePath = folder.file("absent.VOB");
    boxes.m2vFilePath = folder.file("absent.m2v");
    EXPECT_EQ(firstMissingInput(boxes), boxes.origVobFilePath);
    boxes.doDemux = false;
    EXPECT_EQ(firstMissingInput(boxes), boxes.m2vFilePath);
    boxes.m2vFilePath = touch("video.m2v");
    boxes.ac3FilePath = folder.path();  // a folder is no file
    EXPECT_EQ(firstMissingInput(boxes), folder.path());
    boxes.doRemux = false;
    boxes.vobFilePath = touch("remuxed.VOB");
    EXPECT_EQ(firstMissingInput(boxes), std::nullopt);
    EXPECT_EQ(firstMissingInput(stages(false, false, false)), std::nullopt);

    EXPECT_TRUE(remuxedOverwritesSource(stages(false, false, false)));  // both empty
    boxes.origVobFilePath = boxes.vobFilePath;
    const auto failure = checkTaskAsEditorOk(boxes);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, OkFailure::Reason::overwritesSource);
}

TEST_F(EditingTest, OkWritesHiddenPathsEmptyAndCreatesTheLastStagesFolder) {
    Ttask boxes = stages(true, false, true);  // Author cannot stay with Demux alone
    boxes.origVobFilePath = "s";
    boxes.m2vFilePath = folder.file("streams/v.m2v");
    boxes.ac3FilePath = "a";
    boxes.vobFilePath = "r";
    boxes.dvdFolderPath = "d";
    boxes.chapterList = "00:00:00";
    boxes.deleteVob = true;
    const Ttask written = taskFromBoxes(boxes);
    EXPECT_FALSE(written.doAuthor);
    EXPECT_EQ(written.origVobFilePath, "s");
    EXPECT_EQ(written.ac3FilePath, "a");
    EXPECT_EQ(written.vobFilePath, "");
    EXPECT_EQ(written.dvdFolderPath, "");
    EXPECT_EQ(written.chapterList, "");
    EXPECT_TRUE(written.deleteVob);  // a disabled delete box still gives its state

    const auto output = outputFolderOf(boxes);
    ASSERT_TRUE(output);
    EXPECT_EQ(output->path, folder.file("streams"));
    EXPECT_EQ(output->namedBy, boxes.m2vFilePath);
    EXPECT_EQ(outputFolderOf(stages(false, false, false)), std::nullopt);

    boxes.origVobFilePath = touch("s.VOB");
    EXPECT_EQ(checkTaskAsEditorOk(boxes), std::nullopt);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("streams")));

    Ttask blocked = stages(false, false, true);
    blocked.vobFilePath = touch("in.VOB");
    blocked.dvdFolderPath = folder.file("in.VOB/dvd");
    const auto failure = checkTaskAsEditorOk(blocked);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, OkFailure::Reason::folderNotCreated);
    EXPECT_EQ(failure->message, "\"" + blocked.dvdFolderPath +
                                    "\"  directory doesn't exists and can't be created !\r\n"
                                    "Please select another one.");
    blocked.dvdFolderPath.clear();
    EXPECT_THROW(checkTaskAsEditorOk(blocked), IoError);
}
