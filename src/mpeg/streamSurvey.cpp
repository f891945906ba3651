#include "mpeg/streamSurvey.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "mpeg/audioFrames.h"
#include "mpeg/ifoReader.h"
#include "mpeg/ifoSubtitles.h"
#include "mpeg/programStream.h"
#include "mpeg/subtitleUnits.h"
#include "mpeg/videoHeaders.h"

namespace mpeg {

namespace {

// A survey reads this much at each end of a file; a smaller file is read whole, once.
constexpr std::uint64_t endBytes = 16 << 20;
// What is kept of a stream's first bytes to read its headers from.
constexpr std::size_t videoHeadBytes = 4 << 20;
constexpr std::size_t audioHeadBytes = 64 << 10;

struct StreamFacts {
    std::vector<std::uint8_t> head;
    std::vector<TimeStampMark> marks;
    std::optional<std::size_t> firstUnit;  // where an audio frame begins in head
    std::uint8_t lpcmHeader[3] = {0, 0, 0};
    std::optional<std::int64_t> firstPts;
    std::optional<std::int64_t> lastPts;
    // Video only: the stream's last bytes, for when its last picture is shown.
    std::vector<std::uint8_t> tail;
    std::vector<TimeStampMark> tailMarks;
};

void noteTail(StreamFacts& facts, const PesPacket& packet, StreamKind kind) {
    if (packet.pts) {
        facts.lastPts = std::max(facts.lastPts.value_or(*packet.pts), *packet.pts);
        if (kind == StreamKind::Video) {
            facts.tailMarks.push_back({facts.tail.size(), *packet.pts});
        }
    }
    if (kind == StreamKind::Video) {
        facts.tail.insert(facts.tail.end(), packet.payload, packet.payload + packet.size);
    }
}

std::optional<StreamKind> kindOf(int id) {
    if (id >= 0xe0 && id <= 0xef) {
        return StreamKind::Video;
    }
    if (audioFormatOfStream(id)) {
        return StreamKind::Audio;
    }
    if (id >= 0x20 && id <= 0x3f) {
        return StreamKind::Subpicture;
    }
    return std::nullopt;
}

void noteHead(StreamFacts& facts, const PesPacket& packet, StreamKind kind) {
    if (packet.pts && !facts.firstPts) {
        facts.firstPts = packet.pts;
    }
    const std::size_t room = kind == StreamKind::Video ? videoHeadBytes : audioHeadBytes;
    if (facts.head.size() >= room) {
        return;
    }
    if (facts.head.empty()) {
        std::copy(packet.lpcmHeader, packet.lpcmHeader + 3, facts.lpcmHeader);
    }
    if (packet.pts) {
        facts.marks.push_back({facts.head.size(), *packet.pts});
    }
    if (!facts.firstUnit && packet.firstAccessUnit && *packet.firstAccessUnit < packet.size) {
        facts.firstUnit = facts.head.size() + *packet.firstAccessUnit;
    }
    facts.head.insert(facts.head.end(), packet.payload, packet.payload + packet.size);
}

double seconds(std::int64_t ticks) {
    return static_cast<double>(ticks) / static_cast<double>(ticksPerSecond);
}

void describeVideo(const StreamFacts& facts, StreamInfo& info) {
    const auto start = findVideoStart(facts.head, facts.marks, true);
    if (!start) {
        return;
    }
    info.standard = start->sequence.standard;
    info.wideScreen = start->sequence.wideScreen;
    info.frameSeconds = start->sequence.frameTicks / static_cast<double>(ticksPerSecond);
    // MPEG-2 follows its sequence header with a sequence extension.
    const std::size_t next =
        nextStartCode(facts.head.data(), start->sequenceHeader + 3, facts.head.size());
    const bool extended = next + 4 < facts.head.size() &&
                          facts.head[next + 3] == extensionStartCode &&
                          (facts.head[next + 4] >> 4) == 1;
    info.codec = extended ? "mpeg2video" : "mpeg1video";
    if (start->presentation) {
        info.firstTime = seconds(*start->presentation);
    }
    // Only some pictures carry a time stamp: the last one shown may have none of its own.
    if (const auto last =
            lastPresentation(facts.tail, facts.tailMarks, start->sequence.frameTicks)) {
        info.lastTime = seconds(*last);
    }
}

void describeAudio(const StreamFacts& facts, StreamInfo& info) {
    const AudioFormat format = *audioFormatOfStream(info.id);
    if (format == AudioFormat::Lpcm) {
        const LpcmLayout layout = readLpcmLayout(facts.lpcmHeader);
        info.codec = "lpcm";
        info.channels = layout.channels;
        info.sampleRate = layout.sampleRate;
        info.bitsPerSample = layout.bitsPerSample;
        info.bitRate = layout.sampleRate * layout.channels * layout.bitsPerSample;
        return;
    }
    std::size_t at = facts.firstUnit.value_or(0);
    for (; at + audioHeaderBytes <= facts.head.size(); ++at) {
        if (const auto header = readAudioFrameHeader(format, facts.head.data() + at)) {
            info.codec = header->codec;
            info.channels = header->channels;
            info.sampleRate = header->sampleRate;
            if (header->duration > 0) {
                const std::int64_t bitRate = static_cast<std::int64_t>(header->length) * 8 *
                                             ticksPerSecond / header->duration;
                info.bitRate = bitRate <= INT32_MAX ? static_cast<int>(bitRate) : 0;
            }
            return;
        }
    }
}

int sortRank(const StreamInfo& info) {
    return info.kind == StreamKind::Video ? 0 : info.kind == StreamKind::Audio ? 1 : 2;
}

// The id that a title set's audio stream number `index` has in the program stream: its format's
// first sub-stream plus the number.
int audioStreamId(IfoAudioFormat format, int index) {
    switch (format) {
        case IfoAudioFormat::Ac3:
            return 0x80 + index;
        case IfoAudioFormat::Dts:
            return 0x88 + index;
        case IfoAudioFormat::Lpcm:
            return 0xa0 + index;
        case IfoAudioFormat::Mpeg1:
        case IfoAudioFormat::Mpeg2Extended:
            return 0xc0 + index;
        case IfoAudioFormat::Other:
            break;
    }
    return -1;
}

}  // namespace

std::vector<StreamInfo> surveyProgramStream(const std::string& path) {
    ProgramStreamReader reader(path);
    std::map<int, StreamFacts> streams;
    const bool readWhole = reader.fileSize() <= 2 * endBytes;
    reader.read(
        [&](const PesPacket& packet) {
            const auto kind = kindOf(packet.streamId);
            if (kind) {
                StreamFacts& facts = streams[packet.streamId];
                noteHead(facts, packet, *kind);
                if (readWhole) {
                    noteTail(facts, packet, *kind);
                }
            }
            return true;
        },
        0, readWhole ? UINT64_MAX : endBytes);
    if (!readWhole) {
        reader.read(
            [&](const PesPacket& packet) {
                if (const auto kind = kindOf(packet.streamId)) {
                    noteTail(streams[packet.streamId], packet, *kind);
                }
                return true;
            },
            reader.fileSize() - endBytes);
    }

    std::vector<StreamInfo> survey;
    for (const auto& [id, facts] : streams) {
        StreamInfo info;
        info.id = id;
        info.kind = *kindOf(id);
        if (facts.firstPts) {
            info.firstTime = seconds(*facts.firstPts);
        }
        if (facts.lastPts) {
            info.lastTime = seconds(*facts.lastPts);
        }
        if (info.kind == StreamKind::Video) {
            describeVideo(facts, info);
        } else if (info.kind == StreamKind::Audio) {
            describeAudio(facts, info);
        } else {
            info.codec = "subpicture";
        }
        survey.push_back(info);
    }
    std::stable_sort(survey.begin(), survey.end(), [](const StreamInfo& a, const StreamInfo& b) {
        return sortRank(a) < sortRank(b);
    });
    return survey;
}

std::vector<StreamInfo> surveyWithLanguages(const std::string& path) {
    std::vector<StreamInfo> survey = surveyProgramStream(path);
    const std::optional<SourceTitleSet> titleSet = titleSetOfSource(path);
    if (!titleSet) {
        return survey;
    }
    const auto nameStream = [&survey](int id, const std::string& language) {
        for (StreamInfo& info : survey) {
            if (info.id == id && info.language.empty()) {
                info.language = language;
            }
        }
    };
    for (std::size_t index = 0; index < titleSet->info.audioStreams.size(); ++index) {
        const IfoAudioStream& stream = titleSet->info.audioStreams[index];
        nameStream(audioStreamId(stream.format, static_cast<int>(index)), stream.language);
    }
    // A subtitle stream of the title names the VOB's streams it shows in each display mode.
    for (const IfoSubtitleStream& stream : titleSet->subtitles.streams) {
        const SubtitleDisplays& shown = stream.displays;
        for (const int number : {shown.normal, shown.wide, shown.letterbox, shown.panScan}) {
            if (number >= 0) {
                nameStream(firstSubpictureStream + number, stream.language);
            }
        }
    }
    return survey;
}

}  // namespace mpeg
