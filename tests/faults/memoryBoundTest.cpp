// Crafted project and settings files load with memory in proportion to the file: peak memory of
// a process that loads one, measured by the system.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

#include "language/language.h"
#include "support/tempFolder.h"

namespace {

constexpr std::int64_t mebibyte = 1 << 20;
// What a loaded task costs at its own size, and what the program costs before it reads a byte.
constexpr std::int64_t bytesPerTask = 250;
constexpr std::int64_t baseline = 16 * mebibyte;

struct ProbeOutcome {
    int status = -1;
    std::int64_t peakBytes = 0;
    std::string output;
};

// Loads the file in a child process whose address space is capped a little above the budget,
// so a loader that runs away fails fast instead of taking the machine's memory.
ProbeOutcome probeLoad(const char* kind, const std::string& path, const std::string& outputPath,
                       std::int64_t budget) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(output, STDOUT_FILENO);
        const rlim_t cap = static_cast<rlim_t>(2 * budget + 256 * mebibyte);
        const rlimit limit{cap, cap};
        setrlimit(RLIMIT_AS, &limit);
        execl(MAROVINK_LOAD_PROBE_PATH, MAROVINK_LOAD_PROBE_PATH, kind, path.c_str(), nullptr);
        _exit(127);
    }
    ProbeOutcome outcome;
    int status = 0;
    rusage usage{};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
        outcome.status = WEXITSTATUS(status);
    }
    outcome.peakBytes = static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
    outcome.output = readBytes(outputPath);
    return outcome;
}

std::int64_t fileSize(const std::string& path) {
    return static_cast<std::int64_t>(std::filesystem::file_size(path));
}

class MemoryBoundTest : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef MAROVINK_SANITIZED
        GTEST_SKIP() << "sanitizers reserve memory of their own";
#endif
    }

    TempFolder folder;
};

}  // namespace

TEST_F(MemoryBoundTest, LoadingTakesAtMostFourTimesTheFileAndTheTasksAtTheirSize) {
    const std::string project = folder.file("lines.mvk");
    writeBytes(project, "2000000000\r\n" + std::string(50 * mebibyte, '\n'));
    // Every 21 lines begin a task whose texts are empty.
    const std::int64_t tasks = (50 * mebibyte + 20) / 21;
    std::int64_t budget = 4 * fileSize(project) + tasks * bytesPerTask + baseline;
    ProbeOutcome outcome = probeLoad("project", project, folder.file("out"), budget);
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_EQ(outcome.output, std::to_string(tasks) + "\n");
    EXPECT_LE(outcome.peakBytes, budget);

    const std::string settings = folder.file("lines.ini");
    writeBytes(settings, "[various]\r\n" + std::string(50 * mebibyte, '\n') + "standard=PAL\r\n");
    budget = 4 * fileSize(settings) + baseline;
    outcome = probeLoad("settings", settings, folder.file("out"), budget);
    EXPECT_EQ(outcome.status, 0) << outcome.output;
    EXPECT_LE(outcome.peakBytes, budget);
    // Nothing is kept for empty lines: the whole file costs what a small one does.
    EXPECT_LE(outcome.peakBytes, baseline);
}

TEST_F(MemoryBoundTest, EndlessFirstLineIsRefusedWithoutReadingIt) {
    // 2 GB of zeros, sparse on the disk: one line that is no whole number.
    const std::string project = folder.file("zeros.mvk");
    writeBytes(project, "");
    std::filesystem::resize_file(project, std::uintmax_t{2} << 30);
    const ProbeOutcome outcome = probeLoad("project", project, folder.file("out"), baseline);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_LE(outcome.peakBytes, baseline);
}

TEST_F(MemoryBoundTest, HugeValuesManySectionsAndLongChapterListsStayWithinFourTimesTheFile) {
    const std::string separator(36, '_');
    std::string sections;
    for (int i = 0; i < 5000000; ++i) {
        sections += "[s" + std::to_string(i) + "]\n";
    }
    std::string invalidEntries;
    for (int i = 0; i < 10000000; ++i) {
        invalidEntries += "abc\r\n";
    }
    const struct {
        const char* kind;
        const char* name;
        std::string bytes;
        int status;
        std::string output;  // what the probe's output begins with
    } cases[] = {
        {"settings", "value.ini", "[software path]\r\ndemuxing=" + std::string(50 * mebibyte, 'x'),
         1, folder.file("value.ini") + language::lineTooLongAt + "2" + language::lineTooLongEnd},
        {"settings", "sections.ini", std::move(sections), 0, "0\n"},
        // A task's chapter list as a run would hand it to the authoring tool.
        {"project", "chapters.mvk",
         "1\r\n" + separator + "\r\na\r\nb\r\nc\r\nd\r\ne\r\n" + std::string(50 * mebibyte, ','), 1,
         folder.file("chapters.mvk") + language::lineTooLongAt + "8" + language::lineTooLongEnd},
        {"chapters", "CellTimes.txt", std::move(invalidEntries), 0, "0\n"},
    };
    for (const auto& c : cases) {
        const std::string path = folder.file(c.name);
        writeBytes(path, c.bytes);
        const std::int64_t budget = 4 * fileSize(path) + baseline;
        const ProbeOutcome outcome = probeLoad(c.kind, path, folder.file("out"), budget);
        EXPECT_EQ(outcome.status, c.status) << c.name << ": " << outcome.output;
        EXPECT_EQ(outcome.output.rfind(c.output, 0), 0u) << c.name << ": " << outcome.output;
        EXPECT_LE(outcome.peakBytes, budget) << c.name;
        std::filesystem::remove(path);
    }
}
