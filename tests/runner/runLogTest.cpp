#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "files/ioError.h"
#include "language/language.h"
#include "platform/platform.h"
#include "runner/state/runLog.h"
#include "support/tempFolder.h"

namespace {

using namespace std::chrono_literals;

class RunLogTest : public ::testing::Test {
protected:
    RunLogTest() {
        formats.shortDateFormat = "dd/MM/yyyy";
        formats.longTimeFormat = "HH:mm:ss";
    }

    RunLog makeLog() {
        return RunLog(folder.file("marovink.log"), formats, [this] { return now; });
    }
    std::string contents() const { return readBytes(folder.file("marovink.log")); }

    TempFolder folder;
    RegionalFormats formats;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

}  // namespace

TEST_F(RunLogTest, EntriesHaveTheirExactLayout) {
    RunLog log = makeLog();
    log.empty();
    log.stepDone("Done ");  // no step has started yet: no seconds
    log.taskStart("", 0);
    log.stepStart("Audio stream DEMUX in progress...\r\n    \"bbdmux\" x");
    now += 42900ms;
    log.stepDone("Done ");
    now += 2s;
    log.stepDone("/a.VOB deleted ");
    log.taskError("oops");
    log.abort();
    log.endOfRun();

    const std::string text = contents();
    const std::size_t stamp = text.find(" : Audio");
    ASSERT_NE(stamp, std::string::npos);
    // dd/MM/yyyy HH:mm:ss
    const std::string stampText = text.substr(stamp - 19, 19);
    EXPECT_EQ(stampText[2], '/');
    EXPECT_EQ(stampText[10], ' ');
    EXPECT_EQ(stampText[13], ':');
    const std::string expected =
        "    Done     ______________________\r\n"
        "\r\n\r\n\r\n" +
        std::string(90, '_') + "\r\n    " +
        platform::systemText("New Task started, task N\xc2\xb0 ") + "0\r\n\r\n" + "    " +
        stampText +
        " : Audio stream DEMUX in progress...\r\n    \"bbdmux\" x\r\n"
        "    Done after 42s \r\n    ______________________\r\n"
        "    /a.VOB deleted after 44s \r\n    ______________________\r\n"
        "ERROR !!!! ==>>> oops\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
        "==>> Tasks process aborted by user !!!!!!!!!!!\r\n\r\n" +
        std::string(66, '_') + "\r\n      ---   All Tasks finished !!!   ---\r\n";
    EXPECT_EQ(text, expected);

    log.empty();
    EXPECT_EQ(contents(), "");
}

TEST_F(RunLogTest, EmptyingTouchesNoLogUntilEveryOneOpensAndNamesTheToolsLogThatFails) {
    RunLog log = makeLog();
    const std::string runLog = log.path();
    const std::string toolsLog = folder.file("marovink.tools.log");
    const std::string victim = folder.file("victim.txt");
    const std::string toolsLogNamed = toolsLog + language::toolsLogCannotBeWritten;
    struct Case {
        const char* name;
        std::string spoiled;
        std::function<void()> spoil;
        std::string errorStart;
    };
    const std::vector<Case> cases = {
        {"a link as the tools log", toolsLog,
         [&] { std::filesystem::create_symlink(victim, toolsLog); },
         toolsLogNamed + language::toolsLogIsLink},
        {"a folder as the tools log", toolsLog,
         [&] { std::filesystem::create_directory(toolsLog); }, toolsLogNamed},
        {"a folder as the run log", runLog, [&] { std::filesystem::create_directory(runLog); }, ""},
    };
    for (const Case& spoilt : cases) {
        SCOPED_TRACE(spoilt.name);
#ifdef _WIN32
        if (spoilt.errorStart.find(language::toolsLogIsLink) != std::string::npos) {
            continue;  // links need special rights
        }
#endif
        for (const std::string& path : {runLog, toolsLog}) {
            std::filesystem::remove_all(path);
            writeBytes(path, "previous");
        }
        writeBytes(victim, "victim");
        std::filesystem::remove(spoilt.spoiled);
        spoilt.spoil();

        std::string error;
        try {
            log.empty(toolsLog);
        } catch (const IoError& failure) {
            error = failure.what();
        }
        EXPECT_EQ(error.rfind(spoilt.errorStart, 0), 0u) << error;
        EXPECT_EQ(error.find(toolsLog) != std::string::npos, spoilt.spoiled == toolsLog) << error;
        for (const std::string& path : {runLog, toolsLog}) {
            if (path != spoilt.spoiled) {
                EXPECT_EQ(readBytes(path), "previous") << path;
            }
        }
        EXPECT_EQ(readBytes(victim), "victim");
    }

    std::filesystem::remove_all(toolsLog);
    std::filesystem::remove_all(runLog);
    writeBytes(runLog, "previous");
    log.empty(toolsLog);
    EXPECT_EQ(readBytes(runLog), "");
    EXPECT_TRUE(std::filesystem::is_regular_file(toolsLog));
    EXPECT_EQ(readBytes(toolsLog), "");
}

TEST_F(RunLogTest, EntriesFromSeveralThreadsNeverInterleave) {
    RunLog log = makeLog();
    log.empty();
    const std::string longText(20000, 'x');
    std::thread other([&] {
        for (int i = 0; i < 200; ++i) {
            log.taskError(longText);
        }
    });
    for (int i = 0; i < 200; ++i) {
        log.abort();
    }
    other.join();
    std::string text = contents();
    std::size_t errors = 0;
    std::size_t aborts = 0;
    const std::string abortEntry = "==>> Tasks process aborted by user !!!!!!!!!!!\r\n\r\n";
    const std::string errorWhole = "ERROR !!!! ==>>> " + longText + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, errorWhole.size(), errorWhole) == 0) {
            ++errors;
            at += errorWhole.size();
        } else if (text.compare(at, abortEntry.size(), abortEntry) == 0) {
            ++aborts;
            at += abortEntry.size();
        } else {
            FAIL() << "entries interleave at byte " << at;
        }
    }
    EXPECT_EQ(errors, 200u);
    EXPECT_EQ(aborts, 200u);
}

TEST_F(RunLogTest, WriteFailuresRaiseIoErrors) {
    RunLog log(folder.file("no folder/marovink.log"), formats);
    EXPECT_THROW(log.empty(), IoError);
    EXPECT_THROW(log.abort(), IoError);
}
