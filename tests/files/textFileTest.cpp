#include <gtest/gtest.h>

#include "files/textFile.h"
#include "support/tempFolder.h"

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    TempFolder folder;
    writeBytes(folder.file("t.txt"), bytes);
    TextLineReader reader(folder.file("t.txt"));
    std::vector<std::string> lines;
    for (std::string line; reader.readLine(line);) {
        lines.push_back(line);
    }
    std::string afterEnd = "x";
    EXPECT_FALSE(reader.readLine(afterEnd));
    EXPECT_EQ(afterEnd, "");
    return lines;
}

}  // namespace

TEST(TextLineReader, LineEndsAndEndOfFile) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("a\r\n"), Lines{"a"});
    EXPECT_EQ(linesOf("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(linesOf("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(linesOf("a\rb\r\r\n"), Lines{"ab"});
    EXPECT_EQ(linesOf("a\n\x1a"
                      "b\n"),
              Lines{"a"});
    EXPECT_EQ(linesOf(std::string("a\0b\n", 4)), Lines{std::string("a\0b", 3)});
    EXPECT_EQ(linesOf(std::string(200000, 'y') + "\n").at(0).size(), 200000u);
}

TEST(TextLineReader, ShortLineKeepsNoMoreThanItsLimit) {
    TempFolder folder;
    writeBytes(folder.file("t.txt"), "12345\r\nrest\r\n" + std::string(100000, '9'));
    TextLineReader reader(folder.file("t.txt"));
    std::string line;
    EXPECT_FALSE(reader.readShortLine(line, 3));
    EXPECT_EQ(line, "123");
    EXPECT_TRUE(reader.readShortLine(line, 10));
    EXPECT_EQ(line, "45");
    EXPECT_TRUE(reader.readShortLine(line, 4));
    EXPECT_EQ(line, "rest");
    EXPECT_FALSE(reader.readShortLine(line, 70000));
    EXPECT_EQ(line, std::string(70000, '9'));
}
