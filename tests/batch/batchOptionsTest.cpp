#include <gtest/gtest.h>

#include <optional>

#include "batch/batchOptions.h"

TEST(BatchOptions, CommandLineForms) {
    BatchOptions options = parseBatchOptions({"--log", "l", "p.mvk", "--settings", "s"});
    EXPECT_EQ(options.action, BatchOptions::Action::Run);
    EXPECT_EQ(options.projectPath, "p.mvk");
    EXPECT_EQ(options.settingsPath, "s");
    EXPECT_EQ(options.logPath, "l");
    EXPECT_EQ(parseBatchOptions({"--", "-odd.mvk"}).projectPath, "-odd.mvk");
    options = parseBatchOptions({"--log=a=b", "--default-settings", "p.mvk"});
    EXPECT_EQ(options.logPath, "a=b");
    EXPECT_TRUE(options.defaultSettings);
    EXPECT_EQ(parseBatchOptions({"--settings=s", "p"}).settingsPath, "s");
    EXPECT_EQ(parseBatchOptions({"x", "--help"}).action, BatchOptions::Action::Help);
    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{},
                                               {"--log"},
                                               {"a", "b"},
                                               {"--fast", "a"},
                                               {"--log=", "a"},
                                               {"--settings", "s", "--default-settings", "a"}}) {
        EXPECT_EQ(parseBatchOptions(wrong).action, BatchOptions::Action::UsageError);
    }
}

TEST(BatchOptions, JobsOption) {
    const std::string range = "' is not a whole number from 0 to 64 (0: one per processor core)";
    struct Case {
        std::vector<std::string> arguments;
        std::optional<int> tasksAtOnce;
        std::string error;  // empty: the command line is valid
    };
    for (const Case& expected : std::vector<Case>{
             {{"p.mvk"}, std::nullopt, ""},
             {{"--jobs", "3", "p.mvk"}, 3, ""},
             {{"p.mvk", "--jobs=2"}, 2, ""},
             {{"--jobs", "0", "p.mvk"}, 0, ""},
             {{"--jobs", "65", "p.mvk"}, std::nullopt, "--jobs: '65" + range},
             {{"--jobs", "two", "p.mvk"}, std::nullopt, "--jobs: 'two" + range},
             {{"p.mvk", "--jobs"}, std::nullopt, "--jobs needs a number of tasks to run at once"},
             {{"--jobs", "2", "--jobs=2", "p.mvk"}, std::nullopt, "--jobs is given more than once"},
         }) {
        const BatchOptions options = parseBatchOptions(expected.arguments);
        const std::string shown = ::testing::PrintToString(expected.arguments);
        EXPECT_EQ(options.action, expected.error.empty() ? BatchOptions::Action::Run
                                                         : BatchOptions::Action::UsageError)
            << shown;
        EXPECT_EQ(options.error, expected.error) << shown;
        if (expected.error.empty()) {
            EXPECT_EQ(options.tasksAtOnce, expected.tasksAtOnce) << shown;
        }
    }
}

TEST(BatchOptions, TasksAtOnceResolved) {
    struct Case {
        std::optional<int> jobs;
        int fromSettings;
        unsigned processorCores;
        int expected;
    };
    for (const Case& c : std::vector<Case>{
             {std::nullopt, 1, 8, 1},  // the settings file's value, not the cores
             {3, 4, 8, 3},             // --jobs wins over the settings file
             {0, 4, 8, 8},             // one per core
             {0, 4, 0, 1},             // the system does not know its cores
             {0, 1, 200, 64},
         }) {
        EXPECT_EQ(resolvedTasksAtOnce(c.jobs, c.fromSettings, c.processorCores), c.expected)
            << c.fromSettings << " " << c.processorCores;
    }
}
