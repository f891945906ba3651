#include <gtest/gtest.h>

#include "storage/iniFile.h"
#include "support/tempFolder.h"

TEST(IniFile, RoundTripKeepsUnknownSectionsAndDropsCommentsAndBlanks) {
    const IniFile ini = IniFile::parse({
        "stray=before any section",
        "  [ software path ]  ",
        "; a comment",
        "",
        "\tdemuxing =  /opt/bbdmux  ",
        "just a line",
        "[extra]",
        "colour = blue = green",
        "[various]",
        "standard=NTSC",
    });
    EXPECT_EQ(ini.serialize(),
              "[software path]\r\ndemuxing=/opt/bbdmux\r\njust a line\r\n\r\n"
              "[extra]\r\ncolour=blue = green\r\n\r\n"
              "[various]\r\nstandard=NTSC\r\n\r\n");
    EXPECT_EQ(ini.value("extra", "colour"), "blue = green");
}

TEST(IniFile, LooksUpSectionsAndKeysRegardlessOfCase) {
    const IniFile ini = IniFile::parse({"[Software Path]", "DEMUXING=x", "muxing="});
    EXPECT_EQ(ini.value("software path", "demuxing"), "x");
    // Present with nothing after "=" is the empty text, not a missing key.
    EXPECT_EQ(ini.value("SOFTWARE PATH", "Muxing"), "");
    EXPECT_EQ(ini.value("software path", "authoring"), std::nullopt);
    EXPECT_EQ(ini.value("various", "standard"), std::nullopt);
    // A line without "=" is no key, even if it reads like one.
    EXPECT_EQ(IniFile::parse({"[a]", "demuxing"}).value("a", "demuxing"), std::nullopt);
}

TEST(IniFile, RepeatedSectionNamesStaySeparateAndTheFirstAnswers) {
    IniFile ini = IniFile::parse({"[a]", "k=1", "[b]", "[A]", "k=2"});
    EXPECT_EQ(ini.value("a", "k"), "1");
    ini.setValue("a", "K", "3");
    ini.setValue("a", "new", "4");
    ini.setValue("c", "k", "5");
    EXPECT_EQ(ini.serialize(),
              "[a]\r\nK=3\r\nnew=4\r\n\r\n[b]\r\n\r\n[A]\r\nk=2\r\n\r\n[c]\r\nk=5\r\n\r\n");
}

TEST(IniFile, LoadAndSaveFiles) {
    TempFolder folder;
    EXPECT_EQ(IniFile::load(folder.file("missing.ini")).serialize(), "");

    writeBytes(folder.file("s.ini"), "[x]\r\na = 1\nb=2\r\n");
    IniFile ini = IniFile::load(folder.file("s.ini"));
    ini.setValue("x", "a", "9");
    ini.save(folder.file("s.ini"));
    EXPECT_EQ(readBytes(folder.file("s.ini")), "[x]\r\na=9\r\nb=2\r\n\r\n");
}
