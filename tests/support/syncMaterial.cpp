#include "support/syncMaterial.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <vector>

#include "mpeg/programStream.h"
#include "support/batchProcess.h"
#include "support/tempFolder.h"
#include "support/timeStampBytes.h"

namespace {

constexpr double flashPeriodSeconds = 2;

bool run(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// The numbers that follow each `key` in text, in order.
std::vector<double> valuesAfter(const std::string& text, const std::string& key) {
    std::vector<double> values;
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        values.push_back(std::strtod(text.c_str() + at + key.size(), nullptr));
    }
    return values;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

namespace {

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

bool makeMaterial(const std::string& path, const SyncPiece& piece,
                  const std::vector<std::string>& audioCodecs, int noise) {
    // Frame and sample numbers, not times, so that rounding never lights a second frame. The
    // flashes fall on odd seconds: a first beep needs silence before it to be found. Light noise
    // gives a DVD's bitrate, yet first pictures that mplex's start-up buffer can take.
    const std::string picture =
        "color=black:size=720x576:rate=25,"
        "drawbox=color=white:t=fill:enable='eq(mod(n,50),25)',noise=allf=t:alls=" +
        std::to_string(noise);
    const std::string sound =
        "aevalsrc='0.5*sin(2*PI*1000*t)*lt(mod(n+48000,96000),1920)':s=48000:c=stereo";
    std::string tracks = " -map 0:v";
    for (std::size_t track = 0; track < audioCodecs.size(); ++track) {
        tracks += " -map 1:a -c:a:" + std::to_string(track) + " " + audioCodecs[track];
    }
    const std::string bitRate = piece.videoKbps > 0
                                    ? " -b:v " + std::to_string(piece.videoKbps) + "k -maxrate " +
                                          std::to_string(piece.videoKbps + 500) + "k"
                                    : std::string();
    const std::string start = piece.farStart ? " -output_ts_offset 3600" : std::string();
    return run("ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -t " +
               number(piece.videoSeconds) + " -i " + shellQuoted(picture) + " -f lavfi -t " +
               number(piece.audioSeconds) + " -i " + shellQuoted(sound) + start +
               " -target pal-dvd" + bitRate + tracks + " -ac 2 -b:a 192k " + shellQuoted(path) +
               " 2>/dev/null");
}

}  // namespace

bool makeSyncSource(const std::string& path, int seconds,
                    const std::vector<std::string>& audioCodecs, int noise) {
    SyncPiece piece;
    piece.videoSeconds = seconds;
    piece.audioSeconds = seconds;
    return makeMaterial(path, piece, audioCodecs, noise);
}

bool makeSyncPiece(const std::string& path, const SyncPiece& piece) {
    return makeMaterial(path, piece, {"ac3"}, 6);
}

bool concatenate(const std::vector<std::string>& files, const std::string& joined) {
    std::ofstream out(joined, std::ios::binary | std::ios::trunc);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        out << in.rdbuf();
    }
    return static_cast<bool>(out);
}

namespace {

// A copy of source in which `change` is given the bytes of each packet of the first AC-3 track
// with a time stamp, at the packet's start, and the stamp in seconds.
bool changeAudioPackets(const std::string& source, const std::string& changed,
                        const std::function<void(char*, double)>& change) {
    std::string bytes = readBytes(source);
    std::vector<std::pair<std::uint64_t, double>> packets;
    try {
        mpeg::ProgramStreamReader reader(source);
        reader.read([&](const mpeg::PesPacket& packet) {
            if (packet.streamId == 0x80 && packet.pts) {
                packets.emplace_back(packet.filePosition, static_cast<double>(*packet.pts) / 90000);
            }
            return true;
        });
    } catch (const std::exception&) {
        return false;
    }
    for (const auto& [at, seconds] : packets) {
        change(bytes.data() + at, seconds);
    }
    writeBytes(changed, bytes);
    return !packets.empty();
}

}  // namespace

bool dropAudio(const std::string& source, const std::string& holed, double fromSeconds,
               double toSeconds) {
    return changeAudioPackets(source, holed, [&](char* packet, double heard) {
        if (heard >= fromSeconds && heard < toSeconds) {
            packet[3] = '\xbe';  // a padding packet of the same length
        }
    });
}

bool delayAudio(const std::string& source, const std::string& delayed, double seconds) {
    return changeAudioPackets(source, delayed, [&](char* packet, double heard) {
        // The MPEG-2 header's time stamp follows its flags and length, nine bytes in.
        const auto pts =
            static_cast<std::int64_t>(std::llround((heard + seconds) * 90000)) & ((1LL << 33) - 1);
        timeStampBytes(pts).copy(packet + 9, 5);
    });
}

bool shiftAudio(const std::string& source, const std::string& shifted, double offsetSeconds) {
    std::ostringstream offset;
    offset << offsetSeconds;
    return run("ffmpeg -nostdin -hide_banner -loglevel error -y -i " + shellQuoted(source) +
               " -itsoffset " + offset.str() + " -i " + shellQuoted(source) +
               " -map 0:v -map 1:a -c copy -f dvd " + shellQuoted(shifted));
}

bool cutAtSector(const std::string& source, const std::string& cut, std::uintmax_t sector) {
    std::ifstream in(source, std::ios::binary);
    std::ofstream out(cut, std::ios::binary | std::ios::trunc);
    if (!in.seekg(static_cast<std::streamoff>(sector * 2048))) {
        return false;
    }
    out << in.rdbuf();
    return static_cast<bool>(out);
}

StreamStarts streamStarts(const std::string& vob, const std::string& workFolder) {
    std::filesystem::create_directories(workFolder);
    const std::string listing = workFolder + "/starts.txt";
    StreamStarts starts;
    if (run("ffprobe -v error -show_entries stream=codec_type,start_time -of csv=p=0 " +
            shellQuoted(vob) + " >" + shellQuoted(listing))) {
        const std::string text = readBytes(listing);
        const std::vector<double> video = valuesAfter(text, "video,");
        const std::vector<double> audio = valuesAfter(text, "audio,");
        starts.read = !video.empty() && !audio.empty();
        if (starts.read) {
            starts.video = video.front();
            starts.audio = audio.front();
        }
    }
    std::filesystem::remove_all(workFolder);
    return starts;
}

SyncMeasurement measureSync(const std::string& vob, const std::string& workFolder, int audioTrack) {
    std::filesystem::create_directories(workFolder);
    // -copyts keeps the container's time stamps, which are what a player synchronises on.
    const std::string graph =
        "[0:v:0]signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=frames.txt[v];"
        "[0:a:" +
        std::to_string(audioTrack) +
        "]silencedetect=n=-40dB:d=0.5,ametadata=print:key=lavfi.silence_end:file=beeps.txt"
        "[a]";
    const bool decoded =
        run("cd " + shellQuoted(workFolder) +
            " && ffmpeg -nostdin -hide_banner -loglevel fatal -copyts -i " + shellQuoted(vob) +
            " -filter_complex " + shellQuoted(graph) + " -map '[v]' -map '[a]' -f null -");
    const std::string frames = readBytes(workFolder + "/frames.txt");
    const std::vector<double> beeps =
        valuesAfter(readBytes(workFolder + "/beeps.txt"), "lavfi.silence_end=");
    std::filesystem::remove_all(workFolder);
    SyncMeasurement measurement;
    const std::vector<double> times = valuesAfter(frames, "pts_time:");
    const std::vector<double> brightness = valuesAfter(frames, "YAVG=");
    if (!decoded || times.size() != brightness.size() || times.empty()) {
        return measurement;
    }
    measurement.videoSeconds = times.back() - times.front();

    std::vector<double> offsets;
    bool wasWhite = false;
    for (std::size_t frame = 0; frame < times.size(); ++frame) {
        // A flash begins where the picture turns white: full black is 16, full white 235.
        const bool white = brightness[frame] > 128;
        if (white && !wasWhite) {
            double nearest = std::numeric_limits<double>::infinity();
            for (double beep : beeps) {
                if (std::fabs(beep - times[frame]) < std::fabs(nearest)) {
                    nearest = beep - times[frame];
                }
            }
            if (std::fabs(nearest) < flashPeriodSeconds / 2) {
                offsets.push_back(nearest * 1000);
                measurement.flashes.emplace_back(times[frame] - times.front(), nearest * 1000);
            }
        }
        wasWhite = white;
    }
    measurement.pairs = static_cast<int>(offsets.size());
    if (!offsets.empty()) {
        measurement.offsetMs = median(offsets);
    }
    return measurement;
}
