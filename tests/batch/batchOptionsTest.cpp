#include <gtest/gtest.h>

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
