#include <gtest/gtest.h>

#include <stdexcept>

#include "files/textFile.h"
#include "runner/state/runLog.h"
#include "runner/state/runLogReading.h"
#include "support/tempFolder.h"

namespace {

std::vector<std::string> linesOf(const std::string& path) {
    std::vector<std::string> lines;
    TextLineReader reader(path);
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(TaskSelectionTest, ListsOfNumbersAndRanges) {
    EXPECT_EQ(taskSelection::parse("3,5-9", 20), (TaskNumbers{3, 5, 6, 7, 8, 9}));
    // Sorted, each once; numbers past the end left out, so that fixed slices cover any list.
    EXPECT_EQ(taskSelection::parse("7,0-2,1,6-40", 8), (TaskNumbers{0, 1, 2, 6, 7}));
    EXPECT_EQ(taskSelection::parse("10-19", 8), TaskNumbers{});
    for (const char* bad : {"", "3,", "-2", "a", "3-", "5-3", "1;2", " 1"}) {
        EXPECT_THROW(taskSelection::parse(bad, 20), std::invalid_argument) << bad;
    }
    EXPECT_EQ(taskSelection::common({0, 2, 4, 6}, {1, 2, 3, 6}), (TaskNumbers{2, 6}));
}

TEST(TaskSelectionTest, UnfinishedTasksAreReadFromARealRunLog) {
    TempFolder folder;
    RunLog log(folder.file("run.log"), RegionalFormats{});
    log.empty();
    const auto doneTask = [&log](int number) {
        log.taskStart("", number);
        log.stepStart("Remuxing in progress...\r\n    \"mplex\" x");
        log.stepDone("Done ");
    };
    // A sliced run: 1 fails, 3 and 5 pass, 7 is cut short by the abort; 0, 2, 4, 6, 8 and 9 never
    // start.
    doneTask(1);
    log.taskError("x.VOB file doesn't exists !\r\nThis task will abort.");
    doneTask(3);
    doneTask(5);
    doneTask(7);
    log.abort();
    log.endOfRun();
    EXPECT_EQ(taskSelection::unfinishedInLog(linesOf(log.path()), 10),
              (TaskNumbers{0, 1, 2, 4, 6, 7, 8, 9}));

    // A run that stopped without its end entry (a killed program): the task it was running is
    // not finished, whatever its steps say.
    log.empty();
    doneTask(0);
    doneTask(1);
    EXPECT_EQ(taskSelection::unfinishedInLog(linesOf(log.path()), 3), (TaskNumbers{1, 2}));
    log.endOfRun();
    EXPECT_EQ(taskSelection::unfinishedInLog(linesOf(log.path()), 3), (TaskNumbers{2}));
}
