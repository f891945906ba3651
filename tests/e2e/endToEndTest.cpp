// Real DVD material made with ffmpeg at test time, run through marovink-batch with the launchers
// beside the program and Debian's ffmpeg, mplex and dvdauthor.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "files/textFile.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "support/batchProcess.h"
#include "support/dvdMaterial.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

class EndToEndTest : public ::testing::Test {
protected:
    void makeSource(const VideoStandard& standard, const std::string& path) const {
        ASSERT_TRUE(makeDvdSource(standard, path)) << "ffmpeg could not make the test material";
    }

    TaskRef addTask(const std::string& name) {
        TaskRef task = taskInFolder(folder.path(), name, -1);
        task->chapterList = "00:00:00,00:00:03";
        task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
        tasks.add(task);
        return task;
    }

    BatchOutcome runProject() { return runWithBundledTools(folder, tasks); }

    int chapterCount(const std::string& dvdFolder) const {
        return authoredChapterCount(dvdFolder, folder.file("unauthored"));
    }

    bool logHasError() const {
        return readBytes(folder.file("run.log")).find("ERROR !!!!") != std::string::npos;
    }

    TempFolder folder;
    TAllTask tasks;
};

}  // namespace

TEST_F(EndToEndTest, PalAndNtscSourcesBecomeDvdFolders) {
    for (const VideoStandard* standard : {&palStandard, &ntscStandard}) {
        SCOPED_TRACE(standard->name);
        tasks.clear();
        TaskRef task = addTask(standard->name);
        makeSource(*standard, task->origVobFilePath);
        const BatchOutcome outcome = runProject();
        EXPECT_EQ(outcome.status, 0) << readBytes(folder.file("stderr.txt")) << outcome.output;
        EXPECT_FALSE(logHasError()) << readBytes(folder.file("run.log"));

        const std::string videoTs = task->dvdFolderPath + "/VIDEO_TS/";
        for (const char* name : {"VIDEO_TS.IFO", "VTS_01_0.IFO", "VTS_01_1.VOB"}) {
            EXPECT_TRUE(isExistingFile(videoTs + name)) << name;
        }
        for (const std::string* gone :
             {&task->origVobFilePath, &task->m2vFilePath, &task->ac3FilePath, &task->vobFilePath}) {
            EXPECT_FALSE(std::filesystem::exists(*gone)) << *gone;
        }
        EXPECT_EQ(chapterCount(task->dvdFolderPath), 2);

        const std::string bundle = std::string(MAROVINK_BUNDLE_DIR) + "/";
        const SettingsValues launchers{bundle + "bbdmux", bundle + "mplex", bundle + "dvdauthor",
                                       "PAL"};
        // The title read back: two chapters, five seconds, one AC-3 track, in the source's
        // standard.
        std::vector<std::string> expected = expectedLog::fullTask(
            *task, launchers, 0,
            std::string("DVD checked: 1 title, 2 chapters, 0:00:05, 1 audio track, ") +
                standard->name + " ");
        const std::vector<std::string> endLines = expectedLog::endOfRun();
        expected.insert(expected.end(), endLines.begin(), endLines.end());
        EXPECT_EQ(expectedLog::maskedLogLines(folder.file("run.log")), expected);
    }
}

TEST_F(EndToEndTest, CorruptSourcesGiveSizeErrorsAndNoCrash) {
    TaskRef random = addTask("random");
    std::mt19937 generator(7);
    std::string noise(2 << 20, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(generator());
    }
    writeBytes(random->origVobFilePath, noise);

    TaskRef truncated = addTask("truncated");
    makeSource(palStandard, truncated->origVobFilePath);
    std::filesystem::resize_file(truncated->origVobFilePath, 300 * 1024);

    const BatchOutcome outcome = runProject();
    EXPECT_EQ(outcome.status, 1) << readBytes(folder.file("stderr.txt"));
    const std::string log = readBytes(folder.file("run.log"));
    EXPECT_NE(log.find("ERROR !!!! ==>>> The file size doesn't match with expectation."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("New Task started, task N\xc2\xb0 1"), std::string::npos);
    EXPECT_NE(log.find("All Tasks finished !!!"), std::string::npos);
}

TEST_F(EndToEndTest, ASecondRunIntoTheSameFolderLeavesTheFirstDvdAlone) {
    TaskRef task = addTask("again");
    task->deleteOrigVob = task->deleteStreams = task->deleteVob = false;
    makeSource(palStandard, task->origVobFilePath);
    ASSERT_EQ(runProject().status, 0) << readBytes(folder.file("run.log"));
    const std::string videoTs = task->dvdFolderPath + "/VIDEO_TS/";
    const auto firstTitle = std::filesystem::last_write_time(videoTs + "VTS_01_1.VOB");
    const auto firstSize = std::filesystem::file_size(videoTs + "VTS_01_1.VOB");

    EXPECT_EQ(runProject().status, 1);
    EXPECT_NE(readBytes(folder.file("run.log"))
                  .find("ERROR !!!! ==>>> " + videoTs + " folder already holds a DVD !"),
              std::string::npos)
        << readBytes(folder.file("run.log"));
    EXPECT_FALSE(std::filesystem::exists(videoTs + "VTS_02_0.IFO"));
    EXPECT_EQ(std::filesystem::last_write_time(videoTs + "VTS_01_1.VOB"), firstTitle);
    EXPECT_EQ(std::filesystem::file_size(videoTs + "VTS_01_1.VOB"), firstSize);
    EXPECT_EQ(chapterCount(task->dvdFolderPath), 2);
    EXPECT_TRUE(isExistingFile(task->vobFilePath));
}

TEST_F(EndToEndTest, LaunchersTakeNamesBeginningWithADashAsFiles) {
    makeSource(palStandard, folder.file("-source.VOB"));
    const std::string bundle = std::string(MAROVINK_BUNDLE_DIR) + "/";
    const std::string command = "cd " + shellQuoted(folder.path()) + " && " +
                                shellQuoted(bundle + "bbdmux") + " -source.VOB 0xe0 -video.m2v";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(isExistingFile(folder.file("-video.m2v")));
}
