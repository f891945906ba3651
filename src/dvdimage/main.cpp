// dvdimage: writes the ISO 9660 and UDF image of a DVD folder, as genisoimage -dvd-video -udf
// does, for the systems that have no genisoimage.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "dvdimage/imageWriter.h"

namespace {

const char* const usage =
    "usage: dvdimage [-quiet] -dvd-video -udf -o IMAGE FOLDER\n"
    "  writes the DVD-Video image (ISO 9660 and UDF 1.02) of FOLDER, which holds VIDEO_TS and\n"
    "  perhaps AUDIO_TS, to IMAGE\n";

struct Arguments {
    bool quiet = false;
    bool dvdVideo = false;
    bool udf = false;
    std::string image;
    std::string folder;
};

// False when the arguments are not the ones the program takes.
bool parse(int argc, char* argv[], Arguments& arguments) {
    for (int index = 1; index < argc; ++index) {
        const char* argument = argv[index];
        if (std::strcmp(argument, "-quiet") == 0) {
            arguments.quiet = true;
        } else if (std::strcmp(argument, "-dvd-video") == 0) {
            arguments.dvdVideo = true;
        } else if (std::strcmp(argument, "-udf") == 0) {
            arguments.udf = true;
        } else if (std::strcmp(argument, "-o") == 0 && index + 1 < argc &&
                   arguments.image.empty()) {
            arguments.image = argv[++index];
        } else if (argument[0] != '-' && index == argc - 1) {
            arguments.folder = argument;
        } else {
            return false;
        }
    }
    return arguments.dvdVideo && arguments.udf && !arguments.image.empty() &&
           !arguments.folder.empty();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    Arguments arguments;
    if (!parse(argc, argv, arguments)) {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        const dvdimage::ImageSummary summary =
            dvdimage::writeDvdImage(arguments.folder, arguments.image);
        if (!arguments.quiet) {
            for (const std::string& path : summary.leftOut) {
                std::fprintf(stderr, "dvdimage: left out of the image: %s\n", path.c_str());
            }
            std::fprintf(stderr, "dvdimage: %s: %u files, %u sectors of 2048 bytes\n",
                         arguments.image.c_str(), summary.files, summary.sectors);
        }
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "dvdimage: %s\n", failure.what());
        return 1;
    }
}
