// Faults from outside: tools that die or never write, outputs that vanish while measured, places
// that cannot be written, very long lists, and texts that are not what a shell or UTF-8 expects.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "chapters/chapterList.h"
#include "files/ioError.h"
#include "files/textFile.h"
#include "language/language.h"
#include "platform/platform.h"
#include "regional/regionalFormats.h"
#include "runner/exec/processThreadUnit.h"
#include "runner/exec/progressThreadUnit.h"
#include "runner/plan/commandLines.h"
#include "storage/projectFile.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

using namespace std::chrono_literals;

struct RunRecord {
    std::vector<std::string> names;
    std::vector<std::string> texts;
};

RunRecord runTasks(const TAllTask& tasks, Settings& settings, platform::Platform& platform,
                   MessageSink& messages) {
    RunRecord record;
    const auto recorder = [&record](const char* name) {
        return [&record, name](TprocessThread&, const std::string& text, int) {
            record.names.push_back(name);
            record.texts.push_back(text);
        };
    };
    TprocessThread::Handlers handlers;
    handlers.OnTaskStart = recorder("start");
    handlers.OnStepStart = recorder("step");
    handlers.OnStepDone = recorder("done");
    handlers.OnTaskError = recorder("error");
    TprocessThread runner(tasks, {settings, platform, messages, RegionalFormats()}, handlers);
    runner.waitForEnd();
    return record;
}

// Makes every write past `bytes` fail as on a full disk, for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

class FaultTest : public ::testing::Test {
protected:
    FaultTest() { settings.setValues(tools.settings()); }

    TaskRef demuxTask(const std::string& folderPath) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = folderPath + "/source.VOB";
        task->ac3FilePath = folderPath + "/out.ac3";
        task->m2vFilePath = folderPath + "/out.m2v";
        task->doRemux = task->doAuthor = false;
        writeBytes(task->origVobFilePath, std::string(100 * 1024, 'v'));
        return task;
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    Settings settings{folder.file("marovink.ini"), folder.path() + "/"};
    SetFreeSpace platform;
    RecordedMessages messages;
};

}  // namespace

TEST_F(FaultTest, ToolsThatDieOrFailReportTheirStatusAndTheSizeCheckTellsTheTruth) {
    const std::pair<const char*, const char*> cases[] = {{"kill -KILL $$", " 137"},
                                                         {"exit 3", " 3"}};
    for (const auto& [body, status] : cases) {
        SCOPED_TRACE(body);
        writeScript(tools.settings().demuxExePath, body);
        TAllTask tasks;
        tasks.add(demuxTask(folder.path()));
        const RunRecord record = runTasks(tasks, settings, platform, messages);
        ASSERT_EQ(record.names, (std::vector<std::string>{"start", "step", "done", "error", "error",
                                                          "step", "done", "error", "error"}));
        const std::string audioLine = record.texts[1].substr(record.texts[1].find("\r\n    ") + 6);
        EXPECT_EQ(record.texts[3],
                  audioLine + " command line ended with exit status" + std::string(status));
        EXPECT_NE(record.texts[4].find("=  Ko/7 Ko (60 %) )"), std::string::npos)
            << record.texts[4];
        EXPECT_TRUE(messages.warnings.empty());
    }
}

TEST_F(FaultTest, OutputDeletedOrTruncatedWhileMeasured) {
    const std::string output = folder.file("growing.m2v");
    writeBytes(output, std::string(80 * 1024, 'x'));
    std::vector<int> reports;
    std::mutex mutex;
    {
        TprogressThread monitor(
            output, 100, false,
            [&](TprogressThread&, int percentage) {
                std::lock_guard<std::mutex> lock(mutex);
                reports.push_back(percentage);
            },
            *platform.real);
        std::this_thread::sleep_for(1300ms);
        std::filesystem::resize_file(output, 10 * 1024);
        std::this_thread::sleep_for(1000ms);
        std::filesystem::remove(output);
        std::this_thread::sleep_for(1000ms);
    }
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports[0], 80);
    EXPECT_EQ(reports[1], 10);
    EXPECT_EQ(reports[2], 0);
}

TEST_F(FaultTest, FullDiskLeavesThePreviousProjectAndSettingsIntact) {
    TAllTask tasks;
    tasks.add(demuxTask(folder.path()));
    projectFile::save(folder.file("p.mvk"), tasks);
    settings.save();
    const std::string project = readBytes(folder.file("p.mvk"));
    const std::string ini = readBytes(folder.file("marovink.ini"));

    for (int i = 0; i < 50; ++i) {
        tasks.add(demuxTask(folder.path()));
    }
    SettingsValues longer = settings.values();
    longer.demuxExePath = std::string(4096, 'd');
    settings.setValues(longer);
    {
        const FileSizeLimit limit(256);
        EXPECT_THROW(projectFile::save(folder.file("p.mvk"), tasks), IoError);
        EXPECT_THROW(settings.save(), IoError);
    }
    EXPECT_EQ(readBytes(folder.file("p.mvk")), project);
    EXPECT_EQ(readBytes(folder.file("marovink.ini")), ini);
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();
    }
}

TEST_F(FaultTest, PlaceThatIsNotAFolderFailsEverySave) {
    writeBytes(folder.file("not a folder"), "");
    Settings elsewhere(folder.file("not a folder/marovink.ini"), folder.path() + "/");
    elsewhere.setValues(tools.settings());
    EXPECT_THROW(elsewhere.save(), IoError);
    TAllTask tasks;
    EXPECT_THROW(projectFile::save(folder.file("not a folder/p.mvk"), tasks), IoError);
}

// The times of the same steps: benchmarks/bigProjectBenchmark.cpp.
TEST_F(FaultTest, HundredThousandTasksLoadSaveAndRun) {
    TAllTask tasks;
    for (int i = 0; i < 100000; ++i) {
        auto task = std::make_shared<Ttask>();
        task->origVobFilePath = "/media/dvd/title " + std::to_string(i) + "/VTS_01_1.VOB";
        task->doDemux = task->doRemux = task->doAuthor = false;
        tasks.add(task);
    }
    projectFile::save(folder.file("big.mvk"), tasks);
    TAllTask loaded;
    projectFile::load(folder.file("big.mvk"), loaded);
    ASSERT_EQ(loaded.count(), 100000);
    const RunRecord record = runTasks(loaded, settings, platform, messages);
    EXPECT_EQ(record.names.size(), 100000u);
}

TEST_F(FaultTest, ShellCharactersAndEightBitBytesReachTheToolsLiterally) {
    const std::string odd = folder.file("$HOME; `touch pwned` * \"x\\ caf\xe9 \xc3\xa9");
    // The double quote is refused; every other text goes through.
    const std::string place = folder.file("$HOME; `touch pwned` * caf\xe9 \xc3\xa9 'q'");
    std::filesystem::create_directory(place);
    writeRecordingTool(tools.settings().demuxExePath, folder.file("args"));
    TAllTask tasks;
    TaskRef task = demuxTask(place);
    task->chapterList = "00:00:00";
    tasks.add(task);
    runTasks(tasks, settings, platform, messages);
    const std::vector<std::string> arguments = readLines(folder.file("args"));
    ASSERT_EQ(arguments.size(), 4u);  // the video run, the last one recorded
    EXPECT_EQ(arguments[1], task->origVobFilePath);
    EXPECT_EQ(arguments[3], task->m2vFilePath);
    EXPECT_FALSE(std::filesystem::exists(folder.file("pwned")));
    EXPECT_FALSE(std::filesystem::exists("pwned"));

    Ttask quoted = *task;
    quoted.m2vFilePath = odd;
    EXPECT_FALSE(videoDemuxCommand(quoted, tools.settings()).isSafe());
}

TEST_F(FaultTest, ALineLongerThanOneMebibyteIsRefusedNamingTheFileAndTheLine) {
    const std::string separator(36, '_');
    const struct {
        const char* name;
        std::function<void(const std::string&)> load;
        std::string head;  // the long line follows it
        int lineNumber;
    } cases[] = {
        {"project.mvk",
         [](const std::string& path) {
             TAllTask t;
             projectFile::load(path, t);
         },
         "1\r\n" + separator + "\r\na\r\nb\r\nc\r\nd\r\ne\r\n", 8},
        {"settings.ini", [this](const std::string& path) { Settings(path, "/").load(messages); },
         "[software path]\r\n", 2},
        {"chapters.txt",
         [](const std::string& path) { chapters::importChapterFile(path, "PAL", {}); },
         "0\r\n7500\n\n", 4},
    };
    for (const auto& c : cases) {
        const std::string path = folder.file(c.name);
        writeBytes(path, c.head + std::string(longestLine, '1') + "\r\n");
        EXPECT_NO_THROW(c.load(path)) << c.name;
        writeBytes(path, c.head + std::string(longestLine + 1, '1') + "\r\n");
        try {
            c.load(path);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const IoError& error) {
            EXPECT_EQ(error.what(), path + language::lineTooLongAt + std::to_string(c.lineNumber) +
                                        language::lineTooLongEnd);
        }
    }
}

TEST_F(FaultTest, AChapterFileWhoseListAProjectCouldNotHoldIsRefused) {
    // 150,000 frame numbers give 9 bytes each in the list: more than a project line may hold.
    std::string lines;
    for (int frame = 0; frame < 150000; ++frame) {
        lines += std::to_string(frame) + "\r\n";
    }
    const std::string path = folder.file("CellTimes.txt");
    writeBytes(path, lines);
    try {
        chapters::importChapterFile(path, "PAL", RegionalFormats());
        ADD_FAILURE() << "imported";
    } catch (const IoError& error) {
        EXPECT_EQ(error.what(), path + language::chapterListTooLong);
    }
}
