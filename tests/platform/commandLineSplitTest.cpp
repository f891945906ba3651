#include <gtest/gtest.h>

#include "platform/commandLineSplit.h"

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, ProgramNameTakesNoEscapes) {
    EXPECT_EQ(splitCommandLine(R"("C:\my tools\mplex.exe" -f 8)"),
              (Arguments{R"(C:\my tools\mplex.exe)", "-f", "8"}));
    EXPECT_EQ(splitCommandLine(R"(C:\tools\a\ b)"), (Arguments{R"(C:\tools\a\)", "b"}));
    EXPECT_EQ(splitCommandLine(""), Arguments{""});
    EXPECT_EQ(splitCommandLine(R"("")"), Arguments{""});
}

TEST(SplitCommandLine, BlanksQuotesAndBackslashes) {
    const std::vector<std::pair<std::string, Arguments>> cases{
        {R"(p  a	b )", {"p", "a", "b"}},
        {R"(p "a b" "")", {"p", "a b", ""}},
        {R"(p a"b c"d)", {"p", "ab cd"}},
        {R"(p a\\b a\b)", {"p", R"(a\\b)", R"(a\b)"}},
        {R"(p a\"b)", {"p", R"(a"b)"}},
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},
        {R"(p "a""b" c)", {"p", R"(a"b)", "c"}},
        {R"(p "D:\dvd\" -T)", {"p", R"(D:\dvd" -T)"}},
        {R"(p "unterminated arg)", {"p", "unterminated arg"}},
        {"p 00:00:00,00:05:00 -f", {"p", "00:00:00,00:05:00", "-f"}},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(splitCommandLine(line), expected) << line;
    }
}
