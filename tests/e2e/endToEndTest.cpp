// Real DVD material made with ffmpeg at test time, run through marovink-batch with the launchers
// beside the program and Debian's ffmpeg, mplex and dvdauthor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "storage/projectFile.h"
#include "storage/textFile.h"
#include "support/batchProcess.h"
#include "support/fakeDvdTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

struct Standard {
    const char* name;
    const char* target;  // ffmpeg's DVD preset
    const char* size;
    const char* rate;
};

const Standard pal{"PAL", "pal-dvd", "720x576", "25"};
const Standard ntsc{"NTSC", "ntsc-dvd", "720x480", "30000/1001"};

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

class EndToEndTest : public ::testing::Test {
protected:
    // A few seconds of moving test picture with stereo AC-3 sound, as a DVD's VOB holds them.
    void makeSource(const Standard& standard, const std::string& path) const {
        const std::string picture = std::string("testsrc2=size=") + standard.size +
                                    ":rate=" + standard.rate + ",noise=alls=20:allf=t";
        ASSERT_TRUE(run("ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i " +
                        shellQuoted(picture) +
                        " -f lavfi -i sine=frequency=440:sample_rate=48000 -t 5 -target " +
                        standard.target + " -ac 2 -c:a ac3 -b:a 192k " + shellQuoted(path)))
            << "ffmpeg could not make the test material";
    }

    TaskRef addTask(const std::string& name) {
        TaskRef task = taskInFolder(folder.path(), name, -1);
        task->chapterList = "00:00:00,00:00:03";
        task->deleteOrigVob = task->deleteStreams = task->deleteVob = true;
        tasks.add(task);
        return task;
    }

    BatchOutcome runProject() {
        projectFile::save(folder.file("p.mvk"), tasks);
        // No settings file: the tools are the launchers beside the program.
        return runBatchProgram("--settings " + shellQuoted(folder.file("none.ini")) + " --log " +
                                   shellQuoted(folder.file("run.log")) + " " +
                                   shellQuoted(folder.file("p.mvk")),
                               folder.file("stderr.txt"));
    }

    // Chapters of the authored title, as dvdunauthor reads them back from the IFO.
    int chapterCount(const std::string& dvdFolder) const {
        const std::string work = folder.file("unauthored");
        std::filesystem::create_directory(work);
        EXPECT_TRUE(run("cd " + shellQuoted(work) + " && dvdunauthor " + shellQuoted(dvdFolder) +
                        " >/dev/null 2>&1"));
        const std::string xml = readBytes(work + "/dvdauthor.xml");
        int chapters = 0;
        for (std::size_t at = xml.find("chapter=\"1\""); at != std::string::npos;
             at = xml.find("chapter=\"1\"", at + 1)) {
            ++chapters;
        }
        std::filesystem::remove_all(work);
        return chapters;
    }

    bool logHasError() const {
        return readBytes(folder.file("run.log")).find("ERROR !!!!") != std::string::npos;
    }

    TempFolder folder;
    TAllTask tasks;
};

}  // namespace

TEST_F(EndToEndTest, PalAndNtscSourcesBecomeDvdFolders) {
    for (const Standard* standard : {&pal, &ntsc}) {
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

        const std::vector<std::string> lines = maskedLogLines(folder.file("run.log"));
        ASSERT_EQ(lines.size(), 36u);
        EXPECT_EQ(lines[6], "    STAMP : Audio stream DEMUX in progress...");
        EXPECT_EQ(lines[28], "    STAMP : DVD FOLDER authoring (VIDEO_TS.IFO) in progress...");
        EXPECT_EQ(lines[35], "      ---   All Tasks finished !!!   ---");
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
    makeSource(pal, truncated->origVobFilePath);
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
