#include "support/subtitleMaterial.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/batchProcess.h"
#include "support/tempFolder.h"

namespace {

// A unit that shows nothing is a dozen bytes; a picture with text is hundreds.
constexpr int emptyUnitBytes = 32;

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// spumux's time: hh:mm:ss.ff
std::string spumuxTime(double value) {
    const int whole = static_cast<int>(value);
    char text[32];
    std::snprintf(text, sizeof text, "00:%02d:%02d.%02d", whole / 60, whole % 60,
                  static_cast<int>((value - whole) * 100 + 0.5));
    return text;
}

}  // namespace

bool makeSubtitledDisc(const std::string& source, const std::string& discFolder,
                       const std::vector<SubtitleStreamSpec>& streams,
                       const std::vector<std::string>& palette) {
    const std::string work = discFolder + "/making";
    std::filesystem::create_directories(work);
    // A white box on transparent black: one colour, as spumux takes it.
    const std::string image = work + "/box.png";
    if (!run("ffmpeg -nostdin -loglevel error -y -f lavfi -i color=black:s=720x576 -vf "
             "drawbox=x=200:y=450:w=320:h=60:color=white:t=fill -frames:v 1 " +
             shellQuoted(image))) {
        return false;
    }
    // A disc's video says its shape: 4:3, where the material's square pixels make none a DVD has.
    std::string input = work + "/shaped.mpg";
    if (!run("ffmpeg -nostdin -loglevel error -y -i " + shellQuoted(source) +
             " -map 0:v -map 0:a -c copy -bsf:v mpeg2_metadata=display_aspect_ratio=4/3 -f dvd " +
             shellQuoted(input))) {
        return false;
    }
    for (std::size_t index = 0; index < streams.size(); ++index) {
        std::string xml = "<subpictures><stream>\n";
        for (const double start : streams[index].starts) {
            xml += "<spu start=\"" + spumuxTime(start) + "\" end=\"" + spumuxTime(start + 0.8) +
                   "\" image=\"" + image + "\" transparent=\"000000\" force=\"yes\"/>\n";
        }
        xml += "</stream></subpictures>\n";
        const std::string control = work + "/spu" + std::to_string(index) + ".xml";
        writeBytes(control, xml);
        const std::string output = work + "/with" + std::to_string(index) + ".mpg";
        if (!run("spumux -s " + std::to_string(index) + " " + shellQuoted(control) + " <" +
                 shellQuoted(input) + " >" + shellQuoted(output) + " 2>/dev/null")) {
            return false;
        }
        input = output;
    }
    std::string colours;
    for (const std::string& colour : palette) {
        colours += colour + "\n";
    }
    writeBytes(work + "/palette.rgb", colours);
    std::string xml = "<dvdauthor dest=\"" + discFolder + "\"><vmgm/><titleset><titles>\n";
    for (const SubtitleStreamSpec& stream : streams) {
        xml += "<subpicture lang=\"" + stream.language + "\"" +
               (stream.forcedOnly ? " content=\"forced\"" : "") + "/>\n";
    }
    xml += "<pgc palette=\"" + work + "/palette.rgb\"><vob file=\"" + input +
           "\"/></pgc></titles></titleset></dvdauthor>\n";
    writeBytes(work + "/disc.xml", xml);
    const bool authored = run("VIDEO_FORMAT=PAL dvdauthor -x " + shellQuoted(work + "/disc.xml") +
                              " >/dev/null 2>&1");
    std::filesystem::remove_all(work);
    return authored;
}

std::map<int, std::vector<double>> subtitleStartsOf(const std::string& vob,
                                                    const std::string& workFolder) {
    std::filesystem::create_directories(workFolder);
    const std::string listing = workFolder + "/listing.txt";
    std::map<int, std::vector<double>> starts;
    // One line per stream, then one per subtitle packet: "index=3|codec_type=subtitle|...".
    const bool listed =
        run("ffprobe -v error -show_entries stream=index,id,codec_type,start_time -of "
            "compact=p=0 " +
            shellQuoted(vob) + " >" + shellQuoted(listing)) &&
        run("ffprobe -v error -select_streams s -show_entries packet=stream_index,pts_time,size "
            "-of compact=p=0 " +
            shellQuoted(vob) + " >>" + shellQuoted(listing));
    const std::string text = listed ? readBytes(listing) : std::string();
    std::filesystem::remove_all(workFolder);
    std::map<int, int> idOfIndex;
    double videoStart = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::map<std::string, std::string> fields;
        std::istringstream pairs(line);
        for (std::string pair; std::getline(pairs, pair, '|');) {
            const std::size_t equals = pair.find('=');
            if (equals != std::string::npos) {
                fields[pair.substr(0, equals)] = pair.substr(equals + 1);
            }
        }
        if (fields["codec_type"] == "video") {
            videoStart = std::strtod(fields["start_time"].c_str(), nullptr);
        } else if (fields["codec_type"] == "subtitle") {
            idOfIndex[std::atoi(fields["index"].c_str())] =
                static_cast<int>(std::strtol(fields["id"].c_str(), nullptr, 16));
        } else if (fields.count("pts_time") && std::atoi(fields["size"].c_str()) > emptyUnitBytes) {
            starts[idOfIndex[std::atoi(fields["stream_index"].c_str())]].push_back(
                std::strtod(fields["pts_time"].c_str(), nullptr) - videoStart);
        }
    }
    return starts;
}

std::string lsdvdView(const std::string& dvdFolder, const std::string& workFolder) {
    std::filesystem::create_directories(workFolder);
    const std::string view = workFolder + "/lsdvd.txt";
    run("lsdvd -x " + shellQuoted(dvdFolder) + " >" + shellQuoted(view) + " 2>/dev/null");
    const std::string text = readBytes(view);
    std::filesystem::remove_all(workFolder);
    return text;
}
