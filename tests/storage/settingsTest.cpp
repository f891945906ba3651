#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "storage/settings.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    std::string programFolder() const { return folder.path() + "/"; }
    std::string iniPath() const { return folder.file("marovink.ini"); }

    void putToolsBesideProgram() const {
        for (const char* name : {platform::defaultDemuxerName, platform::defaultMultiplexerName,
                                 platform::defaultAuthoringName}) {
            writeBytes(programFolder() + name, "");
        }
    }

    TempFolder folder;
    RecordedMessages messages;
};

}  // namespace

TEST_F(SettingsTest, NoFileAndToolsBesideProgramGivesDefaultsAndNoMessage) {
    putToolsBesideProgram();
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    const SettingsValues values = settings.values();
    EXPECT_EQ(values.demuxExePath, programFolder() + platform::defaultDemuxerName);
    EXPECT_EQ(values.muxExePath, programFolder() + platform::defaultMultiplexerName);
    EXPECT_EQ(values.authorExePath, programFolder() + platform::defaultAuthoringName);
    EXPECT_EQ(values.videoStandard, "PAL");
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_FALSE(std::filesystem::exists(iniPath()));

    settings.save();
    EXPECT_EQ(readBytes(iniPath()), "[software path]\r\ndemuxing=" + values.demuxExePath +
                                        "\r\nmuxing=" + values.muxExePath +
                                        "\r\nauthoring=" + values.authorExePath +
                                        "\r\n\r\n[various]\r\nstandard=PAL\r\n\r\n");
}

TEST_F(SettingsTest, OneMessageForTheFirstMissingTool) {
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0], programFolder() + platform::defaultDemuxerName +
                                      " program file is missing,\r\ncheck the path and re-enter "
                                      "it in the option dialog");
}

TEST_F(SettingsTest, EmptyValueIsNotTheDefaultAndFolderIsNoTool) {
    putToolsBesideProgram();
    std::filesystem::create_directory(folder.file("toolFolder"));
    writeBytes(iniPath(), "[software path]\r\ndemuxing=\r\nmuxing=" + folder.file("toolFolder") +
                              "\r\n[various]\r\nstandard=pal\r\n");
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    EXPECT_EQ(settings.values().demuxExePath, "");
    EXPECT_EQ(settings.values().videoStandard, "pal");
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0], language::programFileMissing);

    SettingsValues values = settings.values();
    values.demuxExePath = programFolder() + platform::defaultDemuxerName;
    settings.setValues(values);
    EXPECT_FALSE(settings.validateToolPaths(messages));
    EXPECT_EQ(messages.errors.back(), folder.file("toolFolder") + language::programFileMissing);
}

TEST_F(SettingsTest, SaveKeepsUnknownLinesAndOverwritesWhatOthersWrote) {
    putToolsBesideProgram();
    writeBytes(iniPath(), "[various]\r\nstandard = NTSC\r\nwindow=big\r\n[mine]\r\nx=1\r\n");
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    EXPECT_EQ(settings.values().videoStandard, "NTSC");
    EXPECT_EQ(settings.values().muxExePath, programFolder() + platform::defaultMultiplexerName);

    writeBytes(iniPath(), "[other]\r\n");  // another program's change, overwritten by the save
    SettingsValues values = settings.values();
    values.muxExePath = "/usr/bin/mplex";
    settings.setValues(values);
    settings.save();
    EXPECT_EQ(readBytes(iniPath()),
              "[various]\r\nstandard=NTSC\r\nwindow=big\r\n\r\n[mine]\r\nx=1\r\n\r\n"
              "[software path]\r\ndemuxing=" +
                  values.demuxExePath +
                  "\r\nmuxing=/usr/bin/mplex\r\nauthoring=" + values.authorExePath + "\r\n\r\n");
}

TEST_F(SettingsTest, TasksAtOnceIsWrittenOnlyOnceItIsNotOne) {
    putToolsBesideProgram();
    for (const auto& [line, read] :
         {std::pair{"", 1}, std::pair{"tasks at once=2\r\n", 2},
          std::pair{"tasks at once=0\r\n", 1}, std::pair{"tasks at once=65\r\n", 1},
          std::pair{"tasks at once=-3\r\n", 1}, std::pair{"tasks at once=two\r\n", 1}}) {
        SCOPED_TRACE(line);
        writeBytes(iniPath(), std::string("[various]\r\nstandard=PAL\r\n") + line);
        Settings settings(iniPath(), programFolder());
        settings.load(messages);
        EXPECT_EQ(settings.values().tasksAtOnce, read);
    }
    writeBytes(iniPath(), "[various]\r\nstandard=PAL\r\n");
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    settings.save();
    EXPECT_EQ(readBytes(iniPath()).find("tasks at once"), std::string::npos);
    SettingsValues values = settings.values();
    values.tasksAtOnce = 3;
    settings.setValues(values);
    settings.save();
    EXPECT_NE(readBytes(iniPath()).find("[various]\r\nstandard=PAL\r\ntasks at once=3\r\n"),
              std::string::npos);
    // Back to one: the line the file has is kept true.
    values.tasksAtOnce = 1;
    settings.setValues(values);
    settings.save();
    EXPECT_NE(readBytes(iniPath()).find("tasks at once=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, TheDiscOfNewTasksAndItsToolsAreWrittenOnlyOnceChosen) {
    putToolsBesideProgram();
    const std::string earlier = "[various]\r\nstandard=PAL\r\n";
    writeBytes(iniPath(), earlier);
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    SettingsValues values = settings.values();
    EXPECT_EQ(values.requantizerExePath, programFolder() + platform::defaultRequantizerName);
    EXPECT_EQ(values.imagerExePath, programFolder() + platform::defaultImagerName);
    EXPECT_EQ(values.discForNewTasks, "");
    settings.save();
    EXPECT_EQ(readBytes(iniPath()).find("requantizing"), std::string::npos);
    EXPECT_EQ(readBytes(iniPath()).find("disc"), std::string::npos);
    values.requantizerExePath = "/opt/requantizer";
    values.discForNewTasks = "DVD-9";
    settings.setValues(values);
    settings.save();
    Settings reread(iniPath(), programFolder());
    reread.load(messages);
    EXPECT_EQ(reread.values().requantizerExePath, "/opt/requantizer");
    EXPECT_EQ(reread.values().imagerExePath, values.imagerExePath);
    EXPECT_EQ(reread.values().discForNewTasks, "DVD-9");
    EXPECT_EQ(readBytes(iniPath()).find("imaging"), std::string::npos);
}

TEST_F(SettingsTest, FailedSaveKeepsTheOldFile) {
    writeBytes(iniPath(), "[various]\r\nstandard=NTSC\r\n");
    std::filesystem::permissions(iniPath(), std::filesystem::perms::owner_read);
    Settings settings(iniPath(), programFolder());
    settings.load(messages);
    settings.setValues({"a", "b", "c", "PAL"});
    EXPECT_THROW(settings.save(), IoError);
    EXPECT_EQ(readBytes(iniPath()), "[various]\r\nstandard=NTSC\r\n");
    EXPECT_EQ(settings.values().videoStandard, "PAL");
}

TEST_F(SettingsTest, ReaderNeverSeesAHalfReplacedValue) {
    Settings settings(iniPath(), programFolder());
    const SettingsValues first{std::string(4096, 'a'), std::string(4096, 'a'),
                               std::string(4096, 'a'), "PAL"};
    const SettingsValues second{std::string(16, 'b'), std::string(16, 'b'), std::string(16, 'b'),
                                "NTSC"};
    settings.setValues(first);
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            settings.setValues(i % 2 ? first : second);
        }
    });
    int torn = 0;
    for (int i = 0; i < 20000; ++i) {
        const SettingsValues seen = settings.values();
        const bool isFirst = seen.demuxExePath == first.demuxExePath &&
                             seen.authorExePath == first.authorExePath &&
                             seen.videoStandard == "PAL";
        const bool isSecond = seen.demuxExePath == second.demuxExePath &&
                              seen.authorExePath == second.authorExePath &&
                              seen.videoStandard == "NTSC";
        torn += !(isFirst || isSecond);
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}

TEST_F(SettingsTest, AByteOrderMarkIsLeftOutAndTheFirstLoadWarnsOfAFileThatHoldsNothingUsable) {
    putToolsBesideProgram();
    const struct {
        std::string bytes;
        const char* warning;  // nothing: silent
        const char* standard;
    } cases[] = {
        {std::string("[various]\r\nstandard=NTSC\0", 25), language::settingsBinary, "PAL"},
        {"standard=NTSC\r\n", language::settingsNoSection, "PAL"},
        {"[various]\r\n", nullptr, "PAL"},
        {"\xef\xbb\xbf[various]\r\nstandard=NTSC\r\n", nullptr, "NTSC"},
    };
    for (const auto& c : cases) {
        writeBytes(iniPath(), c.bytes);
        Settings settings(iniPath(), programFolder());
        RecordedMessages recorded;
        settings.load(recorded);
        const std::vector<std::string> expected =
            c.warning == nullptr ? std::vector<std::string>{}
                                 : std::vector<std::string>{iniPath() + c.warning};
        EXPECT_EQ(recorded.warnings, expected) << c.bytes;
        EXPECT_TRUE(recorded.errors.empty());
        // The options dialog loads again: no second warning.
        settings.load(recorded);
        EXPECT_EQ(recorded.warnings, expected);
        EXPECT_EQ(settings.values().videoStandard, c.standard) << c.bytes;
    }
}
