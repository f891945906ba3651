#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "files/textFile.h"
#include "storage/projectFile.h"
#include "support/batchProcess.h"
#include "support/expectedLog.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"
#include "task/task.h"

namespace {

class SliceTest : public ::testing::Test {
protected:
    BatchOutcome runBatch(const std::string& options, const std::string& log) const {
        return runBatchProgram("--settings " + shellQuoted(folder.file("tools.ini")) + " --log " +
                                   shellQuoted(folder.file(log)) + " " + options + " " +
                                   shellQuoted(folder.file("p.mvk")),
                               folder.file("stderr.txt"));
    }

    std::vector<std::string> expectedRun(const std::vector<int>& done, int missing = -1) const {
        std::vector<std::string> lines;
        for (const int number : done) {
            const Ttask& task = *tasks.taskAt(number);
            const std::vector<std::string> taskLines =
                number == missing ? expectedLog::missingSource(task, number)
                                  : expectedLog::fullTask(task, tools.settings(), number);
            lines.insert(lines.end(), taskLines.begin(), taskLines.end());
        }
        const std::vector<std::string> end = expectedLog::endOfRun();
        lines.insert(lines.end(), end.begin(), end.end());
        return lines;
    }

    // How many times the demultiplexer took the source of task `number`.
    int audioRuns(int number) const {
        const std::string source = tasks.taskAt(number)->origVobFilePath + " 0xbd";
        const std::vector<std::string> calls = readLines(tools.callsPath());
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto& call) {
            return call.find(source) != std::string::npos;
        }));
    }

    TempFolder folder;
    FakeDvdTools tools{folder.path()};
    TAllTask tasks = saveFakeToolsProject(folder, tools);
};

// The shell block of docs/scale-out.md that follows the marker line.
std::string documentedRecipe(const std::string& marker) {
    const std::string text = readBytes(MAROVINK_DOCS_DIR "/scale-out.md");
    const std::size_t start = text.find("```sh\n", text.find(marker)) + 6;
    return text.substr(start, text.find("```", start) - start);
}

}  // namespace

TEST_F(SliceTest, TasksAndFailedFromRunTheirTasksUnderTheirOwnNumbers) {
    std::filesystem::remove(tasks.taskAt(3)->origVobFilePath);
    EXPECT_EQ(runBatch("--tasks 1-3", "run.log").status, 1);
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("run.log")), expectedRun({1, 2, 3}, 3));
    EXPECT_EQ(audioRuns(0), 0);

    // Task 3 failed, 0 and 4 were never reached; the run may write the very log it reads.
    writeBytes(tasks.taskAt(3)->origVobFilePath, std::string(100 * 1024, 'v'));
    EXPECT_EQ(runBatch("--failed-from " + shellQuoted(folder.file("run.log")), "run.log").status,
              0);
    // The tasks that log showed finished are carried forward, after the first task's start.
    std::vector<std::string> retried = expectedRun({0, 3, 4});
    retried.insert(
        retried.begin() + 6,
        {"==>> Finished without an error in an earlier run, not run again: tasks 1-2", ""});
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("run.log")), retried);
    // Narrowed by --tasks, the list of a slice: tasks 0 and 1 have both finished by now, so a
    // retry of that slice runs nothing, and its log still shows every finished task.
    const std::string sliceRetry =
        "--tasks 0-1 --failed-from " + shellQuoted(folder.file("run.log"));
    EXPECT_EQ(runBatch(sliceRetry, "retry.log").status, 0);
    std::vector<std::string> nothingRun = expectedRun({});
    nothingRun.insert(
        nothingRun.end(),
        {"==>> Finished without an error in an earlier run, not run again: tasks 0-4", ""});
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("retry.log")), nothingRun);
    EXPECT_EQ(audioRuns(1), 1);

    for (const char* bad : {"--tasks 4-2", "--tasks x", "--tasks", "--failed-from /no/such.log"}) {
        EXPECT_EQ(runBatch(bad, "bad.log").status, 2) << bad;
    }
}

TEST_F(SliceTest, TheDocumentedParallelRecipeRunsEveryTaskOnceInItsSlice) {
    const std::string script = folder.file("recipe.sh");
    writeBytes(script, "batch=" + shellQuoted(MAROVINK_BATCH_PATH) +
                           "\nsettings=" + shellQuoted(folder.file("tools.ini")) +
                           "\nproject=" + shellQuoted(folder.file("p.mvk")) + "\nsize=2\n" +
                           documentedRecipe("<!-- recipe: parallel -->"));
    const std::string quiet = " > " + shellQuoted(folder.file("out.txt")) + " 2>&1";
    ASSERT_EQ(std::system(("bash " + shellQuoted(script) + quiet).c_str()), 0)
        << readBytes(folder.file("out.txt"));

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(audioRuns(i), 1) << "task " << i;
    }
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("p.slice-0-1.log")), expectedRun({0, 1}));
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("p.slice-2-3.log")), expectedRun({2, 3}));
    EXPECT_EQ(expectedLog::maskedLogLines(folder.file("p.slice-4-5.log")), expectedRun({4}));

    // The Slurm job array cannot run here: it must at least be well-formed shell.
    EXPECT_EQ(std::system("bash -n " MAROVINK_DOCS_DIR "/scale-out-slurm.sh"), 0);
}

TEST_F(SliceTest, TheDocumentedRetryOfASliceSettles) {
    std::filesystem::remove(tasks.taskAt(3)->origVobFilePath);
    const std::string variables = "batch=" + shellQuoted(MAROVINK_BATCH_PATH) +
                                  "\nsettings=" + shellQuoted(folder.file("tools.ini")) +
                                  "\nproject=" + shellQuoted(folder.file("p.mvk")) + "\nsize=2\n";
    const std::string quiet = " > " + shellQuoted(folder.file("out.txt")) + " 2>&1";
    writeBytes(folder.file("slices.sh"), variables + documentedRecipe("<!-- recipe: parallel -->"));
    // One slice had a failed task.
    EXPECT_EQ(std::system(("bash " + shellQuoted(folder.file("slices.sh")) + quiet).c_str()),
              1 << 8);
    writeBytes(tasks.taskAt(3)->origVobFilePath, std::string(100 * 1024, 'v'));
    writeBytes(folder.file("retry.sh"),
               variables + "slice=2-3\n" + documentedRecipe("<!-- recipe: retry -->"));
    for (int round = 1; round <= 3; ++round) {
        EXPECT_EQ(std::system(("bash " + shellQuoted(folder.file("retry.sh")) + quiet).c_str()), 0)
            << "round " << round << ": " << readBytes(folder.file("out.txt"));
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(audioRuns(i), 1) << "task " << i;
    }
}
