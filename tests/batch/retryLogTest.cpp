#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "batch/batchOptions.h"
#include "batch/chosenTasks.h"
#include "batch/consoleReport.h"
#include "files/ioError.h"
#include "files/textFile.h"
#include "runner/state/runLog.h"
#include "runner/state/runLogReading.h"
#include "support/tempFolder.h"

namespace {

const std::string taskRule(90, '_');

std::vector<std::string> taskBlock(const std::string& numberLine) {
    return {"", "", "", taskRule, "    New Task started, task N" + numberLine, ""};
}

}  // namespace

TEST(RetryLogTest, TaskNumbersOfAnyLengthAreLeftOutPastTheEnd) {
    struct Case {
        const char* list;
        TaskNumbers expected;
    };
    for (const Case& each : std::vector<Case>{{"3,9999999999", {3}},
                                              {"99999999999999999999", {}},
                                              {"2-99999999999", {2, 3, 4}},
                                              {"0000000000004", {4}},
                                              {"4-00000000004", {4}}}) {
        EXPECT_EQ(taskSelection::parse(each.list, 5), each.expected) << each.list;
    }
    EXPECT_THROW(taskSelection::parse("99999999999-99999999998", 5), std::invalid_argument);
}

TEST(RetryLogTest, TaskStartsAreReadInUtf8AndInTheWindowsCodePage) {
    std::vector<std::string> lines;
    for (const std::string& number : {std::string("\xb0 0"), std::string("\xc2\xb0 1")}) {
        const std::vector<std::string> block = taskBlock(number);
        lines.insert(lines.end(), block.begin(), block.end());
    }
    lines.push_back(std::string(66, '_'));
    lines.push_back("      ---   All Tasks finished !!!   ---");
    EXPECT_EQ(taskSelection::unfinishedInLog(lines, 3), TaskNumbers{2});
}

TEST(RetryLogTest, CarriedForwardTasksCountAsFinishedWhereverTheEntryLies) {
    std::vector<std::string> lines = taskBlock("\xc2\xb0 1");
    lines.push_back(taskSelection::carriedForwardEntry({0, 2, 3, 4}));
    lines.push_back("ERROR !!!! ==>>> x.VOB file doesn't exists !");
    lines.push_back(std::string(66, '_'));
    lines.push_back("      ---   All Tasks finished !!!   ---");
    // Task 1 failed after the entry; the entry speaks for the others only.
    EXPECT_EQ(taskSelection::unfinishedInLog(lines, 6), (TaskNumbers{1, 5}));
    // A damaged entry proves nothing, and a huge range costs nothing past the project's end.
    EXPECT_EQ(taskSelection::unfinishedInLog({"==>> Finished without an error in an earlier run, "
                                              "not run again: tasks 2-x"},
                                             3),
              (TaskNumbers{0, 1, 2}));
    EXPECT_EQ(taskSelection::unfinishedInLog(
                  {taskSelection::carriedForwardEntry({0}) + "-2000000000"}, 3),
              TaskNumbers{});
}

TEST(RetryLogTest, OnlyARunLogIsTakenAsAnEarlierRun) {
    TempFolder folder;
    RunLog log(folder.file("run.log"), RegionalFormats{});
    log.empty();
    log.taskStart("", 0);
    log.endOfRun();
    EXPECT_EQ(readEarlierRun(log.path(), 2).finished, std::set<int>{0});
    writeBytes(folder.file("end.log"),
               std::string(66, '_') + "\r\n      ---   All Tasks finished !!!   ---\r\n");
    EXPECT_EQ(readEarlierRun(folder.file("end.log"), 2).finished, std::set<int>{});

    for (const char* notALog : {"", "\r\n\r\n", "2\r\n____________________________________\r\n",
                                ">>> \"mplex\" -f 8\r\nINFO: [mplex] mplex version 2.1.0\r\n",
                                "\r\n\r\n\r\n\r\n" /* one empty line too many */}) {
        writeBytes(folder.file("other.txt"), notALog);
        EXPECT_THROW(readEarlierRun(folder.file("other.txt"), 2), NotARunLog) << notALog;
    }
    EXPECT_THROW(readEarlierRun(folder.file("none.log"), 2), IoError);
}

TEST(RetryLogTest, ControlBytesAreShownEscaped) {
    struct Case {
        std::string text;
        std::string console;
        std::string path;
    };
    for (const Case& each : std::vector<Case>{
             {"a\r\nb", "a\nb", "a\\x0d\\x0ab"},
             {"\x1b]0;x\x07", "\\x1b]0;x\\x07", "\\x1b]0;x\\x07"},
             {std::string("a\0b", 3), "a\\x00b", "a\\x00b"},
             {"lone\rcr\x7f", "lone\\x0dcr\\x7f", "lone\\x0dcr\\x7f"},
             {"\xc2\x9b"
              "2J caf\xc3\xa9 N\xc2\xb0",
              "\\xc2\\x9b2J caf\xc3\xa9 N\xc2\xb0", "\\xc2\\x9b2J caf\xc3\xa9 N\xc2\xb0"}}) {
        EXPECT_EQ(consoleText(each.text), each.console);
        EXPECT_EQ(shownPath(each.text), each.path);
    }
}

TEST(RetryLogTest, RepeatedOptionsAndBadTaskListsAreUsageErrors) {
    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"--log", "a", "--log", "b", "p"},
                                               {"--settings=a", "--settings", "b", "p"},
                                               {"--tasks", "1", "--tasks=2", "p"},
                                               {"--failed-from", "a", "--failed-from", "a", "p"},
                                               {"--default-settings", "--default-settings", "p"}}) {
        const BatchOptions options = parseBatchOptions(wrong);
        EXPECT_EQ(options.action, BatchOptions::Action::UsageError);
        const std::string option = wrong[0].substr(0, wrong[0].find('='));
        EXPECT_EQ(options.error, option + " is given more than once");
    }
    const BatchOptions backwards = parseBatchOptions({"--tasks", "4-2", "p"});
    EXPECT_EQ(backwards.action, BatchOptions::Action::UsageError);
    EXPECT_EQ(backwards.error, "--tasks: '4-2' runs backwards");
    EXPECT_EQ(parseBatchOptions({"--tasks", "1-99999999999", "p"}).action,
              BatchOptions::Action::Run);
}
