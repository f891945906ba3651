#include "support/dvdMaterial.h"

#include <cstdlib>
#include <filesystem>

#include "support/batchProcess.h"
#include "support/tempFolder.h"

const VideoStandard palStandard{"PAL", "pal-dvd", "720x576", "25"};
const VideoStandard ntscStandard{"NTSC", "ntsc-dvd", "720x480", "30000/1001"};

bool makeDvdSource(const VideoStandard& standard, const std::string& path, int seconds) {
    // Light noise: heavier noise makes a first picture too large for mplex's buffer model, which
    // mplex reports as an error ("Frame data under-runs detected!", exit status 1).
    const std::string picture = std::string("testsrc2=size=") + standard.size +
                                ":rate=" + standard.rate + ",noise=alls=4:allf=t";
    const std::string command =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i " + shellQuoted(picture) +
        " -f lavfi -i sine=frequency=440:sample_rate=48000 -t " + std::to_string(seconds) +
        " -target " + standard.target + " -ac 2 -c:a ac3 -b:a 192k " + shellQuoted(path);
    return std::system(command.c_str()) == 0;
}

int authoredChapterCount(const std::string& dvdFolder, const std::string& workFolder) {
    std::filesystem::create_directories(workFolder);
    const std::string command = "cd " + shellQuoted(workFolder) + " && dvdunauthor " +
                                shellQuoted(dvdFolder) + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return -1;
    }
    // Every cell that begins a chapter carries chapter="1".
    const std::string xml = readBytes(workFolder + "/dvdauthor.xml");
    int chapters = 0;
    for (std::size_t at = xml.find("chapter=\"1\""); at != std::string::npos;
         at = xml.find("chapter=\"1\"", at + 1)) {
        ++chapters;
    }
    std::filesystem::remove_all(workFolder);
    return chapters;
}
