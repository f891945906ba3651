// bbdmux: writes one elementary stream of a DVD-Video program stream (a VOB) to a file, in step
// with the video, or lists the streams a VOB holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "demux/streamExtraction.h"
#include "mpeg/streamListing.h"
#include "mpeg/subtitleUnits.h"
#include "mpeg/timeline.h"

namespace {

const char* const usage =
    "usage: bbdmux SOURCE 0xbd OUTPUT SUBSTREAM   a private-stream-1 audio track: SUBSTREAM\n"
    "                                            0x80-0x87 (AC-3), 0x88-0x8f (DTS), 0xa0-0xa7 "
    "(LPCM)\n"
    "       bbdmux SOURCE 0xe0 OUTPUT             the first MPEG video stream (0xe0-0xef)\n"
    "       bbdmux SOURCE 0xc0 OUTPUT             an MPEG audio stream (0xc0-0xc7)\n"
    "       bbdmux SOURCE 0xbd OUTPUT 0x20        a subtitle stream (0x20-0x3f), for mplex\n"
    "       bbdmux SOURCE --streams ID OUTPUT...  several streams in one pass: 0xe0, audio\n"
    "                                            (0x80-0x8f, 0xa0-0xa7, 0xc0-0xc7), subtitles\n"
    "       bbdmux --list SOURCE                  the streams of SOURCE, one a line\n";

// A stream number written 0xNN, as the command lines give them; -1 when it is not one.
int streamNumber(const char* text) {
    if (std::strlen(text) != 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
        return -1;
    }
    char* end = nullptr;
    const long value = std::strtol(text + 2, &end, 16);
    return *end == '\0' ? static_cast<int>(value) : -1;
}

double milliseconds(std::int64_t ticks) {
    return static_cast<double>(ticks) / 90.0;
}

// What was done to keep the output in step, for the tools log.
void printReport(const demux::ExtractionReport& report, int stream) {
    std::printf("bbdmux: stream 0x%02x, %llu bytes written", stream,
                static_cast<unsigned long long>(report.bytesWritten));
    if (report.bytesPassedOver > 0) {
        std::printf(", %llu bytes of cut or broken units passed over",
                    static_cast<unsigned long long>(report.bytesPassedOver));
    }
    std::printf("\n");
    if (mpeg::isSubpictureStream(stream)) {
        std::printf("bbdmux: 0x%02x: %d subtitle%s", stream, report.subtitleUnits,
                    report.subtitleUnits == 1 ? "" : "s");
        if (report.firstSubtitleTime) {
            std::printf(", the first at %s from the video's first picture",
                        mpeg::outputClockText(*report.firstSubtitleTime).c_str());
        }
        std::printf("\n");
        if (report.subtitleUnitsLeftOut > 0) {
            std::printf(
                "bbdmux: 0x%02x: %d subtitles left out: outside the video's time, or cut short\n",
                stream, report.subtitleUnitsLeftOut);
        }
        return;
    }
    const bool audio = !(stream >= 0xe0 && stream <= 0xef);
    if (!audio) {
        return;
    }
    if (!report.videoStart) {
        std::printf(
            "bbdmux: the video's first pictures carry no time stamp: the audio begins "
            "with its first whole frame, not lined up with the video\n");
        return;
    }
    const char* unit = stream >= 0xa0 && stream <= 0xa7 ? "samples" : "frames";
    if (report.silenceAdded > 0) {
        std::printf("bbdmux: %lld %s of silence put before the audio\n",
                    static_cast<long long>(report.silenceAdded), unit);
    }
    if (report.unitsLeftOut > 0) {
        std::printf("bbdmux: %lld %s before the video's start left out\n",
                    static_cast<long long>(report.unitsLeftOut), unit);
    }
    if (report.outputStart) {
        std::printf("bbdmux: the audio begins %.1f ms from the video's first picture\n",
                    milliseconds(*report.outputStart - *report.videoStart));
    }
    for (const mpeg::AudioCorrection& correction : report.corrections) {
        std::printf("bbdmux: %s\n", mpeg::correctionText(correction, stream).c_str());
    }
    if (report.unitsPastVideo > 0) {
        std::printf("bbdmux: %lld %s past the video's end and a second left out\n",
                    static_cast<long long>(report.unitsPastVideo), unit);
    }
}

int usageError() {
    std::fputs(usage, stderr);
    return 2;
}

// The pairs of stream numbers and outputs of the one-pass form.
int extractInOnePass(const char* source, int count, char* pairs[]) {
    std::vector<demux::StreamOutput> outputs;
    for (int index = 0; index + 1 < count; index += 2) {
        const int stream = streamNumber(pairs[index]);
        if (stream < 0) {
            return usageError();
        }
        outputs.push_back({stream, pairs[index + 1]});
    }
    const std::vector<demux::ExtractionReport> reports = demux::extractStreams(source, outputs);
    for (std::size_t index = 0; index < outputs.size(); ++index) {
        printReport(reports[index], outputs[index].streamId);
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    try {
        if (argc == 3 && std::strcmp(argv[1], "--list") == 0) {
            std::fputs(mpeg::formatStreamListing(mpeg::surveyWithLanguages(argv[2])).c_str(),
                       stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argc >= 5 && argc % 2 == 1 && std::strcmp(argv[2], "--streams") == 0) {
            return extractInOnePass(argv[1], argc - 3, argv + 3);
        }
        int stream = -1;
        if (argc == 5 && streamNumber(argv[2]) == 0xbd) {
            stream = streamNumber(argv[4]);
            const bool privateAudio =
                (stream >= 0x80 && stream <= 0x8f) || (stream >= 0xa0 && stream <= 0xa7);
            if (!privateAudio && !mpeg::isSubpictureStream(stream)) {
                return usageError();
            }
        } else if (argc == 4) {
            stream = streamNumber(argv[2]);
            const bool videoOrMpegAudio =
                (stream >= 0xe0 && stream <= 0xef) || (stream >= 0xc0 && stream <= 0xc7);
            if (!videoOrMpegAudio) {
                return usageError();
            }
        } else {
            return usageError();
        }
        printReport(demux::extractStream(argv[1], stream, argv[3]), stream);
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bbdmux: %s\n", failure.what());
        return 1;
    }
}
