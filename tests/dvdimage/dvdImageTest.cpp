// Real DVD folders, made with ffmpeg, mplex and dvdauthor, imaged with the built dvdimage and read
// back by readers that share no code with it: lsdvd (libdvdread, UDF), isoinfo (ISO 9660) and
// udfinfo (udftools).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>

#include "support/batchProcess.h"
#include "support/dvdMaterial.h"
#include "support/tempFolder.h"

namespace {

namespace fs = std::filesystem;

const std::string dvdimagePath = std::string(MAROVINK_BUNDLE_DIR) + "/dvdimage";

struct CommandResult {
    int status = -1;
    std::string output;  // standard output and standard error
};

CommandResult runCommand(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = popen(("(" + command + ") 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.output.append(buffer, read);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CommandResult makeImage(const std::string& arguments) {
    return runCommand(shellQuoted(dvdimagePath) + " " + arguments);
}

// The lines of text that match pattern.
std::vector<std::string> linesMatching(const std::string& text, const std::string& pattern) {
    const std::regex wanted(pattern);
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (std::regex_search(line, wanted)) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Where isoinfo -l says each file of VIDEO_TS begins, in sectors from VIDEO_TS.IFO's first.
std::map<std::string, long> videoTsPlaces(const std::string& image) {
    const std::string listing = runCommand("isoinfo -l -i " + shellQuoted(image)).output;
    const std::regex record(R"(\[\s*(\d+) 00\]\s+(V\S+);1)");
    std::map<std::string, long> places;
    for (std::sregex_iterator match(listing.begin(), listing.end(), record), end; match != end;
         ++match) {
        places[(*match)[2]] = std::stol((*match)[1]);
    }
    const long manager = places["VIDEO_TS.IFO"];
    for (auto& [name, sector] : places) {
        sector -= manager;
    }
    return places;
}

long sectorsOf(const std::string& path) {
    return static_cast<long>((fs::file_size(path) + 2047) / 2048);
}

// One title of five seconds authored into a DVD folder.
class DvdImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        work = new TempFolder;
        const std::string source = shellQuoted(work->file("source.mpg"));
        const std::string video = shellQuoted(work->file("title.m2v"));
        const std::string audio = shellQuoted(work->file("title.ac3"));
        const std::string title = shellQuoted(work->file("title.mpg"));
        const std::string dvd = shellQuoted(work->file("dvd"));
        ASSERT_TRUE(makeDvdSource(palStandard, work->file("source.mpg"), 5))
            << "ffmpeg could not make the source";
        const CommandResult authored = runCommand(
            "ffmpeg -nostdin -loglevel error -i " + source + " -map 0:v -c copy -f mpeg2video " +
            video + " -map 0:a -c copy -f ac3 " + audio + " && mplex -v 0 -f 8 -o " + title + " " +
            video + " " + audio + " && VIDEO_FORMAT=PAL dvdauthor -o " + dvd + " -t " + title +
            " && VIDEO_FORMAT=PAL dvdauthor -o " + dvd + " -T");
        ASSERT_EQ(authored.status, 0) << authored.output;
    }
    static void TearDownTestSuite() {
        delete work;
        work = nullptr;
    }

    static TempFolder* work;
    TempFolder folder;
};

TempFolder* DvdImageTest::work = nullptr;

}  // namespace

TEST_F(DvdImageTest, ImageOfAuthoredFolderReadsBackInEveryReader) {
    struct Case {
        const char* name;
        bool withAudioTs;
        const char* arguments;  // before the folder; IMAGE stands for the image's path
    };
    const Case cases[] = {
        {"as genisoimage is called", true, "-quiet -dvd-video -udf -o IMAGE"},
        {"without AUDIO_TS, flags in another order", false, "-udf -o IMAGE -dvd-video"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string dvd = folder.file(std::string("dvd-") + (test.withAudioTs ? "a" : "b"));
        fs::copy(work->file("dvd"), dvd, fs::copy_options::recursive);
        if (!test.withAudioTs) {
            fs::remove_all(dvd + "/AUDIO_TS");
        }
        const std::string image = dvd + ".iso";
        const std::string arguments =
            std::regex_replace(test.arguments, std::regex("IMAGE"), shellQuoted(image));
        const CommandResult made = makeImage(arguments + " " + shellQuoted(dvd));
        ASSERT_EQ(made.status, 0) << made.output;
        EXPECT_EQ(made.output.empty(), std::string(test.arguments).find("-quiet") == 0);
        EXPECT_FALSE(fs::exists(image + ".part"));

        const std::string titles = "^Title: ";
        const std::vector<std::string> folderTitles =
            linesMatching(runCommand("lsdvd " + shellQuoted(dvd)).output, titles);
        ASSERT_FALSE(folderTitles.empty());
        EXPECT_EQ(linesMatching(runCommand("lsdvd " + shellQuoted(image)).output, titles),
                  folderTitles);

        const std::vector<std::string> names{"VIDEO_TS.IFO", "VIDEO_TS.BUP", "VTS_01_0.IFO",
                                             "VTS_01_0.BUP", "VTS_01_1.VOB"};
        const std::string tree = runCommand("isoinfo -f -i " + shellQuoted(image)).output;
        EXPECT_EQ(linesMatching(tree, "^/AUDIO_TS$").size(), 1u) << tree;
        for (const std::string& name : names) {
            const std::string inImage = "/VIDEO_TS/" + name + ";1";
            EXPECT_EQ(linesMatching(tree, "^" + inImage + "$").size(), 1u) << tree;
            const CommandResult extracted =
                runCommand("isoinfo -i " + shellQuoted(image) + " -x " + shellQuoted(inImage) +
                           " | cmp - " + shellQuoted(dvd + "/VIDEO_TS/" + name));
            EXPECT_EQ(extracted.status, 0) << name << ": " << extracted.output;
        }

        const CommandResult udf = runCommand("udfinfo " + shellQuoted(image));
        EXPECT_EQ(udf.status, 0) << udf.output;
        for (const char* line : {"udfrev=1.02", "numfiles=5", "numdirs=3", "integrity=closed"}) {
            EXPECT_EQ(linesMatching(udf.output, std::string("^") + line + "$").size(), 1u)
                << udf.output;
        }

        // Players that seek by sector find each file where genisoimage puts it, and the image
        // is about as large as genisoimage's.
        const std::string reference = dvd + ".genisoimage.iso";
        ASSERT_EQ(runCommand("genisoimage -quiet -dvd-video -udf -o " + shellQuoted(reference) +
                             " " + shellQuoted(dvd))
                      .status,
                  0);
        EXPECT_EQ(videoTsPlaces(image).size(), names.size());
        EXPECT_EQ(videoTsPlaces(image), videoTsPlaces(reference));
        EXPECT_NEAR(sectorsOf(image), sectorsOf(reference), 300);
    }
}

TEST_F(DvdImageTest, BadCallsLeaveNoImage) {
    struct Case {
        const char* name;
        const char* arguments;  // IMAGE and FOLDER stand for the paths
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"missing folder", "-quiet -dvd-video -udf -o IMAGE FOLDER/none", 1,
         "none: no such folder"},
        {"folder without VIDEO_TS", "-dvd-video -udf -o IMAGE FOLDER/VIDEO_TS", 1, "no VIDEO_TS"},
        {"name players cannot read", "-dvd-video -udf -o IMAGE FOLDER", 1, "not one DVD players"},
        {"unknown option", "-dvd-video -udf -R -o IMAGE FOLDER", 2, "usage: dvdimage"},
        {"no -udf", "-dvd-video -o IMAGE FOLDER", 2, "usage: dvdimage"},
        {"no image", "-dvd-video -udf FOLDER", 2, "usage: dvdimage"},
    };
    fs::create_directories(folder.file("dvd/VIDEO_TS"));
    folder.touch("dvd/VIDEO_TS/VIDEO_TS.IFO");
    folder.touch("dvd/VIDEO_TS/a long name.vob");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::string image = folder.file("out.iso");
        std::string arguments =
            std::regex_replace(test.arguments, std::regex("IMAGE"), shellQuoted(image));
        arguments =
            std::regex_replace(arguments, std::regex("FOLDER"), shellQuoted(folder.file("dvd")));
        const CommandResult made = makeImage(arguments);
        EXPECT_EQ(made.status, test.status);
        EXPECT_NE(made.output.find(test.message), std::string::npos) << made.output;
        EXPECT_FALSE(fs::exists(image));
        EXPECT_FALSE(fs::exists(image + ".part"));
    }
}
