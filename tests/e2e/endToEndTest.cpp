// Real DVD material made with ffmpeg at test time, run through marovink-batch with the launchers
// beside the program and Debian's ffmpeg, mplex and dvdauthor.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "task/taskChoices.h"

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

    BatchOutcome runProject(const std::string& options = std::string()) {
        return runWithBundledTools(folder, tasks, options);
    }

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

namespace {

// What lsdvd (libdvdread) reads of a DVD folder's or image's titles: "Title: 01, Length: ...".
std::string lsdvdTitles(const std::string& dvd) {
    FILE* pipe = popen(("lsdvd " + shellQuoted(dvd) + " 2>/dev/null").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t read; pipe != nullptr && (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, read);
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    std::string titles;
    for (std::size_t at = output.find("\nTitle: "); at != std::string::npos;
         at = output.find("\nTitle: ", at + 1)) {
        titles += output.substr(at + 1, output.find('\n', at + 1) - at);
    }
    return titles;
}

bool decodesWithoutError(const std::string& vob, const std::string& errorsPath) {
    const std::string command = "ffmpeg -nostdin -v error -i " + shellQuoted(vob) +
                                " -f null - 2>" + shellQuoted(errorsPath);
    return std::system(command.c_str()) == 0 && readBytes(errorsPath).empty();
}

}  // namespace

// Three titles and their discs, with the real requantizer and genisoimage: one that fits, one
// that needs its video at about 70 %, and one whose requantizer misses its size the first time,
// as a real one may on other material, so that its DVD is fitted once more. Each gets its image.
TEST_F(EndToEndTest, TitlesAreFittedToTheirDiscsAndImaged) {
    const std::string bundle = std::string(MAROVINK_BUNDLE_DIR) + "/";
    const std::string missingOnce = folder.file("requantizer missing once");
    writeBytes(
        missingOnce,
        "#!/bin/sh\nfactor=$1\ncase $3 in *again*)\n"
        "  [ -e \"$3.missed\" ] || { : > \"$3.missed\"; factor=$(awk \"BEGIN{print $1/1.15}\"); }\n"
        "esac\nexec " +
            shellQuoted(bundle + "m2vrequantiser") + " \"$factor\" \"$2\" \"$3\"\n");
    std::filesystem::permissions(missingOnce, std::filesystem::perms::owner_all);
    writeBytes(folder.file("tools.ini"), "[software path]\r\ndemuxing=" + bundle +
                                             "bbdmux\r\nmuxing=" + bundle +
                                             "mplex\r\nauthoring=" + bundle +
                                             "dvdauthor\r\nrequantizing=" + missingOnce + "\r\n");
    struct Case {
        const char* name;
        double shareOfSource;  // the disc's size; 0 for a DVD-5
        const char* fittingLine;
        int fittings;
    };
    const Case cases[] = {{"fits", 0, nullptr, 0},
                          {"seventy", 0.7, "Video fitted to ", 1},
                          {"again", 0.7, ": its video is fitted once more ", 2}};
    std::vector<TaskRef> made;
    for (const Case& each : cases) {
        TaskRef task = addTask(each.name);
        makeDvdSource(palStandard, task->origVobFilePath, 20);
        const auto sourceBytes = std::filesystem::file_size(task->origVobFilePath);
        const std::string disc =
            each.shareOfSource == 0
                ? "DVD-5"
                : std::to_string(static_cast<long long>(each.shareOfSource * sourceBytes / 1e6)) +
                      "MB";
        task->extraChoices = "disc=" + disc + " iso";
        made.push_back(task);
    }
    const BatchOutcome outcome = runProject("--settings " + shellQuoted(folder.file("tools.ini")));
    const std::string log = readBytes(folder.file("run.log"));
    EXPECT_EQ(outcome.status, 0) << log;

    for (std::size_t i = 0; i < made.size(); ++i) {
        const Ttask& task = *made[i];
        SCOPED_TRACE(cases[i].name);
        const std::string image = task.dvdFolderPath + ".iso";
        const auto disc = taskChoices::discNamed(taskChoices::discName(task));
        ASSERT_TRUE(disc && isExistingFile(image));
        EXPECT_LE(std::filesystem::file_size(image), disc->bytes);
        // A player reads the image as the folder: one title of 20 s, two chapters, one track.
        const std::string titles = lsdvdTitles(task.dvdFolderPath);
        EXPECT_NE(titles.find("Length: 00:00:20.000 Chapters: 02, Cells: 02, Audio streams: 01"),
                  std::string::npos)
            << titles;
        EXPECT_EQ(lsdvdTitles(image), titles);
        EXPECT_TRUE(decodesWithoutError(task.dvdFolderPath + "/VIDEO_TS/VTS_01_1.VOB",
                                        folder.file("decoding.txt")));
        const std::string block = log.substr(log.find(task.origVobFilePath));
        const std::string ownBlock = block.substr(0, block.find("New Task started"));
        std::size_t fittings = 0;
        for (std::size_t at = ownBlock.find("VIDEO FITTING"); at != std::string::npos;
             at = ownBlock.find("VIDEO FITTING", at + 1)) {
            ++fittings;
        }
        EXPECT_EQ(fittings, static_cast<std::size_t>(cases[i].fittings)) << ownBlock;
        if (cases[i].fittingLine != nullptr) {
            EXPECT_NE(ownBlock.find(cases[i].fittingLine), std::string::npos) << ownBlock;
        }
        EXPECT_FALSE(std::filesystem::exists(taskChoices::fittedVideoPath(task)));
    }

    // The title that fits logs what a task without a disc logs, and the new lines besides: the
    // disc check's line, the image's step and the image's line, each with what follows it.
    const std::vector<std::pair<const char*, std::size_t>> newLines{
        {"as an image (DVD-5 holds 4.70 GB)", 1},
        {"DVD IMAGE in progress...", 3},
        {"Image made: ", 1}};
    const std::vector<std::string> logged = expectedLog::maskedLogLines(folder.file("run.log"));
    std::vector<std::string> firstTask;
    for (std::size_t i = 0; i < logged.size(); ++i) {
        if (logged[i].find("task N\xc2\xb0 1") != std::string::npos) {
            firstTask.resize(firstTask.size() - 4);  // the next task's heading
            break;
        }
        const auto isNew = std::find_if(newLines.begin(), newLines.end(), [&](const auto& line) {
            return logged[i].find(line.first) != std::string::npos;
        });
        if (isNew != newLines.end()) {
            i += isNew->second;
        } else {
            firstTask.push_back(logged[i]);
        }
    }
    const SettingsValues launchers{bundle + "bbdmux", bundle + "mplex", bundle + "dvdauthor",
                                   "PAL"};
    EXPECT_EQ(firstTask, expectedLog::fullTask(
                             *made[0], launchers, 0,
                             "DVD checked: 1 title, 2 chapters, 0:00:20, 1 audio track, PAL "));
}
