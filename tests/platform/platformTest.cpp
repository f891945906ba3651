#include <gtest/gtest.h>

#include <langinfo.h>
#include <locale.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <regex>
#include <thread>

#include "files/ioError.h"
#include "platform/platform.h"
#include "platform/posix/posixRegionalFormats.h"
#include "regional/formatting.h"
#include "support/fakeTools.h"
#include "support/tempFolder.h"

namespace {

class PlatformTest : public ::testing::Test {
protected:
    std::unique_ptr<platform::Platform> system = platform::createPlatform();
    TempFolder folder;
};

}  // namespace

TEST_F(PlatformTest, StartsTheProgramWithItsArgumentsLiterallyAndWaits) {
    const std::string tool = folder.file("my tool");
    writeRecordingTool(tool, folder.file("args.txt"));
    const std::string odd = folder.file("$HOME; `id` * caf\xc3\xa9");
    ASSERT_EQ(system->startAndWait("\"" + tool + "\" \"" + odd + "\" 0xbd \"\"", 1), 0);
    EXPECT_EQ(readLines(folder.file("args.txt")),
              (std::vector<std::string>{tool, odd, "0xbd", ""}));
}

TEST_F(PlatformTest, WaitsForTheEndAndGivesTheExitStatus) {
    writeScript(folder.file("slow"), "sleep 0.3; echo done > '" + folder.file("out") + "'; exit 3");
    EXPECT_EQ(system->startAndWait("\"" + folder.file("slow") + "\"", 1), 3);
    EXPECT_EQ(readBytes(folder.file("out")), "done\n");
    // A tool that a signal ends reads as a shell reports it.
    writeScript(folder.file("killed"), "kill -KILL $$");
    EXPECT_EQ(system->startAndWait("\"" + folder.file("killed") + "\"", 1), 128 + SIGKILL);
}

TEST_F(PlatformTest, ToolOutputGoesToTheToolsLogAfterItsCommandLine) {
    writeScript(folder.file("noisy"), "echo out; echo err >&2");
    system->setToolOutputLog(folder.file("tools.log"));
    const std::string commandLine = "\"" + folder.file("noisy") + "\" a";
    ASSERT_EQ(system->startAndWait(commandLine, 1), 0);
    ASSERT_EQ(system->startAndWait(commandLine, 1), 0);
    const std::string once = "\r\n>>> " + commandLine + "\r\nout\nerr\n";
    EXPECT_EQ(readBytes(folder.file("tools.log")), once + once);

    system->setToolOutputLog(folder.file("no folder/tools.log"));
    EXPECT_THROW(system->startAndWait(commandLine, 1), IoError);
}

TEST_F(PlatformTest, ToolsOfTasksSideBySideKeepTheirOutputWholeAndTheirOwnFolders) {
    // Each tool writes a line, waits for the other to write, then writes again.
    writeScript(folder.file("slow"), "echo \"$1 begins\"; sleep 0.3; pwd; echo \"$1 ends\"");
    system->setToolOutputLog(folder.file("tools.log"));
    system->setToolOutputWhole(true);
    std::filesystem::create_directories(folder.file("elsewhere"));
    const std::string before = std::filesystem::current_path().string();
    const auto run = [&](const char* name, const std::string& workingFolder) {
        EXPECT_EQ(system->startAndWait("\"" + folder.file("slow") + "\" " + name, 1, workingFolder),
                  0);
    };
    std::thread first(run, "first", folder.file("elsewhere"));
    std::thread second(run, "second", std::string());
    first.join();
    second.join();
    EXPECT_EQ(std::filesystem::current_path().string(), before);
    const std::string log = readBytes(folder.file("tools.log"));
    for (const auto& [name, where] :
         {std::pair{"first", folder.file("elsewhere")}, std::pair{"second", before}}) {
        const std::string whole = std::string(name) + " begins\n" + where + "\n" + name + " ends\n";
        EXPECT_NE(log.find("\r\n>>> \"" + folder.file("slow") + "\" " + name + "\r\n" + whole),
                  std::string::npos)
            << log;
    }
    // Only the log is left: each tool's own file went into it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              3);
}

TEST_F(PlatformTest, WhatCannotBeStarted) {
    writeBytes(folder.file("not executable"), "#!/bin/sh\n");
    writeBytes(folder.file("no interpreter"), "");
    std::filesystem::permissions(folder.file("no interpreter"), std::filesystem::perms::owner_all);
    for (const std::string& program :
         {folder.file("missing"), folder.path(), folder.file("not executable"),
          folder.file("no interpreter"), std::string()}) {
        EXPECT_EQ(system->startAndWait("\"" + program + "\" x", 1), std::nullopt) << program;
    }
}

TEST_F(PlatformTest, FreeSpaceOfTheNearestExistingFolder) {
    const std::int64_t free = system->freeBytesAvailable(folder.path());
    EXPECT_GT(free, 0);
    const std::int64_t below = system->freeBytesAvailable(folder.file("not/yet/made.m2v"));
    EXPECT_NEAR(static_cast<double>(below), static_cast<double>(free), 64.0 * 1024 * 1024);
    EXPECT_THROW(system->freeBytesAvailable(""), IoError);
}

TEST_F(PlatformTest, PowerOffAsksLogindThenFallsBackToSystemctl) {
    // Stand-ins found first in PATH: the real programs are never reached.
    const std::string calls = folder.file("calls");
    writeScript(folder.file("busctl"), "echo \"busctl $*\" >> '" + calls + "'; exit 1");
    writeScript(folder.file("systemctl"), "echo \"systemctl $*\" >> '" + calls + "'; exit 0");
    const char* const path = std::getenv("PATH");
    const std::string savedPath = path != nullptr ? path : "";
    setenv("PATH", folder.path().c_str(), 1);
    const bool accepted = system->requestPowerOff();
    writeScript(folder.file("systemctl"), "exit 1");
    const bool refused = system->requestPowerOff();
    setenv("PATH", savedPath.c_str(), 1);

    EXPECT_TRUE(accepted);
    EXPECT_FALSE(refused);
    const std::vector<std::string> expected{
        "busctl call org.freedesktop.login1 /org/freedesktop/login1 "
        "org.freedesktop.login1.Manager PowerOff b false",
        "systemctl poweroff --no-ask-password"};
    EXPECT_EQ(readLines(calls), (std::vector<std::string>{expected[0], expected[1], expected[0]}));
}

TEST_F(PlatformTest, AMonitorMadeOnTheRunnerThreadRunsOneStepAboveIt) {
    const auto ownNice = [] { return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); };
    const int base = ownNice();
    int runnerNice = 0;
    int monitorNice = 0;
    std::thread runner([&] {
        system->setCurrentThreadPriority(platform::ThreadPriority::Lowest);
        runnerNice = ownNice();
        std::thread monitor([&] {
            system->setCurrentThreadPriority(platform::ThreadPriority::BelowNormal);
            monitorNice = ownNice();
        });
        monitor.join();
    });
    runner.join();
    EXPECT_EQ(runnerNice, std::min(base + 10, 19));
    EXPECT_EQ(monitorNice, std::min(base + 5, 19));
}

TEST_F(PlatformTest, DeletionSaysWhyAFileStays) {
    std::string reason;
    writeBytes(folder.file("f"), "x");
    EXPECT_TRUE(system->deleteFile(folder.file("f"), reason));
    EXPECT_FALSE(std::filesystem::exists(folder.file("f")));
    std::filesystem::create_directory(folder.file("d"));
    EXPECT_FALSE(system->deleteFile(folder.file("d"), reason));
    EXPECT_EQ(reason, "Is a directory");
    EXPECT_TRUE(std::filesystem::exists(folder.file("d")));
}

TEST(RegionalFormatsTest, TimeStampsShowDateAndTimeInEveryLocale) {
    std::vector<std::string> locales;
    std::FILE* list = popen("locale -a", "r");
    ASSERT_NE(list, nullptr);
    char name[256];
    while (std::fgets(name, sizeof name, list) != nullptr) {
        locales.emplace_back(name, std::strcspn(name, "\n"));
    }
    pclose(list);
    ASSERT_GT(locales.size(), 400u) << "every locale (Debian's locales-all) is needed";

    std::tm moment{};  // Monday 23 November 2026, 14:37:58
    moment.tm_year = 2026 - 1900;
    moment.tm_mon = 10;
    moment.tm_mday = 23;
    moment.tm_wday = 1;
    moment.tm_hour = 14;
    moment.tm_min = 37;
    moment.tm_sec = 58;
    for (const std::string& localeName : locales) {
        const RegionalFormats formats = platform::regionalFormatsOfLocale(localeName);
        std::string stamp = formatting::dateTime(formats.shortDateFormat, moment, formats) + " " +
                            formatting::dateTime(formats.longTimeFormat, moment, formats);
        SCOPED_TRACE(localeName + ": " + stamp + " from " + formats.shortDateFormat + " " +
                     formats.longTimeFormat);
        const auto has = [&stamp](const std::string& part) {
            return !part.empty() && stamp.find(part) != std::string::npos;
        };
        EXPECT_TRUE(has("23"));
        EXPECT_TRUE(has("11") || has(formats.longMonthNames[10]) ||
                    has(formats.shortMonthNames[10]));
        EXPECT_TRUE(has("26"));
        EXPECT_TRUE(has("14") || (has("2") && has(formats.pmText)));
        EXPECT_TRUE(has("37") && has("58"));

        // What is left once the locale's own words are gone is figures, separators and the
        // locale's literal texts: no pattern letter, no % sign.
        locale_t locale = newlocale(LC_ALL_MASK, localeName.c_str(), locale_t{});
        ASSERT_NE(locale, locale_t{});
        const std::string literals =
            std::regex_replace(std::string(nl_langinfo_l(D_FMT, locale)) +
                                   nl_langinfo_l(T_FMT, locale) + nl_langinfo_l(T_FMT_AMPM, locale),
                               std::regex("%[-_0^#]*[EO]?."), "");
        freelocale(locale);
        std::vector<std::string> words(formats.longMonthNames.begin(),
                                       formats.longMonthNames.end());
        words.insert(words.end(), formats.shortMonthNames.begin(), formats.shortMonthNames.end());
        words.insert(words.end(), formats.longDayNames.begin(), formats.longDayNames.end());
        words.insert(words.end(), formats.shortDayNames.begin(), formats.shortDayNames.end());
        words.push_back(formats.amText);
        words.push_back(formats.pmText);
        std::sort(words.begin(), words.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        for (const std::string& word : words) {
            for (std::size_t at; !word.empty() && (at = stamp.find(word)) != std::string::npos;) {
                stamp.erase(at, word.size());
            }
        }
        EXPECT_EQ(stamp.find('%'), std::string::npos);
        for (const char c : stamp) {
            if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
                EXPECT_NE(literals.find(c), std::string::npos) << "stray letter " << c;
            }
        }
    }
}
