#include "mpeg/ifoSubtitles.h"

#include <cctype>

#include "mpeg/ifoBytes.h"
#include "mpeg/programStream.h"

namespace mpeg {

using ifo::Bytes;

namespace {

// Offsets in the title set's information table (VTSI_MAT).
constexpr std::size_t programChainTablePointer = 0xCC;
constexpr std::size_t videoAttributes = 0x200;
constexpr std::size_t subpictureStreamCount = 0x254;
constexpr std::size_t subpictureAttributes = 0x256;
constexpr std::size_t subpictureAttributeBytes = 6;
constexpr std::size_t mostSubpictureStreams = 32;
// In a program chain: its cell count, its subpicture stream control, its palette, the offset of
// its cell position table.
constexpr std::size_t chainCellCount = 0x03;
constexpr std::size_t chainSubpictureControl = 0x1C;
constexpr std::size_t chainPalette = 0xA4;
constexpr std::size_t chainCellPositions = 0xEA;
// The language extension (code extension) of forced captions.
constexpr std::uint8_t forcedCaptions = 9;

// The chain's start in the file for each of its chains, in their order.
std::vector<std::uint64_t> programChains(const Bytes& bytes) {
    const ifo::Table table = ifo::tableAt(bytes, programChainTablePointer);
    const int count = bytes.word(table.start);
    std::vector<std::uint64_t> chains;
    for (int chain = 0; chain < count; ++chain) {
        const std::uint64_t pointer = table.start + 8 + 8 * static_cast<std::uint64_t>(chain);
        const std::uint64_t start = table.start + bytes.longWord(pointer + 4);
        bytes.require(start, chainCellPositions + 2);
        chains.push_back(start);
    }
    if (chains.empty()) {
        throw IfoError(language::ifoNoTitle);
    }
    return chains;
}

bool holdsVob(const Bytes& bytes, std::uint64_t chain, int vobId) {
    const int cells = bytes.byte(chain + chainCellCount);
    const std::uint16_t offset = bytes.word(chain + chainCellPositions);
    if (offset == 0) {
        return false;
    }
    for (int cell = 0; cell < cells; ++cell) {
        if (bytes.word(chain + offset + 4 * static_cast<std::uint64_t>(cell)) == vobId) {
            return true;
        }
    }
    return false;
}

// A stream number when its byte marks it as one (bits 0-4; bit 7 marks the 4:3 one available).
int streamOf(std::uint8_t value) {
    return value & 0x1F;
}

std::string languageOf(const Bytes& bytes, std::size_t at) {
    const std::uint8_t first = bytes.byte(at + 2);
    const std::uint8_t second = bytes.byte(at + 3);
    // Language type 1: the two letters of an ISO 639 code follow.
    if ((bytes.byte(at) & 0x03) != 1 || !std::islower(first) || !std::islower(second)) {
        return std::string();
    }
    return {static_cast<char>(first), static_cast<char>(second)};
}

}  // namespace

TitleSubtitles parseTitleSubtitles(const std::uint8_t* data, std::size_t size,
                                   std::optional<int> vobId) {
    const Bytes bytes(data, size);
    if (!bytes.startsWith("DVDVIDEO-VTS")) {
        throw IfoError(language::ifoNotTitleSet);
    }
    const std::size_t count = bytes.word(subpictureStreamCount);
    if (count > mostSubpictureStreams) {
        throw IfoError(language::ifoTruncated);
    }
    const std::vector<std::uint64_t> chains = programChains(bytes);
    TitleSubtitles title;
    title.programChain = 1;
    if (vobId) {
        for (std::size_t index = 0; index < chains.size(); ++index) {
            if (holdsVob(bytes, chains[index], *vobId)) {
                title.programChain = static_cast<int>(index) + 1;
                break;
            }
        }
    }
    const std::uint64_t chain = chains[static_cast<std::size_t>(title.programChain - 1)];
    // The display aspect ratio, bits 2-3 of the video attributes' first byte: 3 is 16:9. Bits
    // 0-1 say how a 4:3 screen may show it: 0 pan-scan or letterbox, 1 pan-scan, 2 letterbox.
    const std::uint8_t video = bytes.byte(videoAttributes);
    title.wideScreen = ((video >> 2) & 0x03) == 3;
    const bool letterbox = (video & 0x03) == 0 || (video & 0x03) == 2;
    const bool panScan = (video & 0x03) == 0 || (video & 0x03) == 1;
    for (std::size_t colour = 0; colour < title.palette.size(); ++colour) {
        title.palette[colour] = bytes.longWord(chain + chainPalette + 4 * colour) & 0x00FFFFFF;
    }
    for (std::size_t stream = 0; stream < count; ++stream) {
        const std::uint64_t control = chain + chainSubpictureControl + 4 * stream;
        const std::uint8_t normal = bytes.byte(control);
        // A stream the chain does not enable is not shown by any player.
        if ((normal & 0x80) == 0) {
            continue;
        }
        const std::size_t at = subpictureAttributes + stream * subpictureAttributeBytes;
        IfoSubtitleStream subtitles;
        subtitles.language = languageOf(bytes, at);
        subtitles.forcedOnly = bytes.byte(at + 5) == forcedCaptions;
        if (!title.wideScreen) {
            subtitles.displays.normal = streamOf(normal);
        } else {
            subtitles.displays.wide = streamOf(bytes.byte(control + 1));
            subtitles.displays.letterbox = letterbox ? streamOf(bytes.byte(control + 2)) : -1;
            subtitles.displays.panScan = panScan ? streamOf(bytes.byte(control + 3)) : -1;
        }
        title.streams.push_back(subtitles);
    }
    return title;
}

std::optional<int> firstVobId(const std::string& vobPath) {
    std::optional<int> vobId;
    try {
        ProgramStreamReader reader(vobPath);
        reader.read(
            [&](const PesPacket& packet) {
                // The data search information: sub-stream 1, its VOB id at 25.
                if (packet.streamId == navigationStream && packet.size >= 27 &&
                    packet.payload[0] == 1) {
                    vobId = packet.payload[25] << 8 | packet.payload[26];
                    return false;
                }
                return true;
            },
            0, 4 << 20);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    return vobId;
}

std::optional<SourceTitleSet> titleSetOfSource(const std::string& vobPath) {
    SourceTitleSet titleSet;
    titleSet.ifoPath = titleSetIfoBeside(vobPath);
    if (titleSet.ifoPath.empty()) {
        return std::nullopt;
    }
    try {
        const std::vector<std::uint8_t> bytes = readIfoFile(titleSet.ifoPath);
        titleSet.info = parseTitleSetIfo(bytes.data(), bytes.size());
        titleSet.subtitles = parseTitleSubtitles(bytes.data(), bytes.size(), firstVobId(vobPath));
    } catch (const IfoError&) {
        return std::nullopt;
    }
    return titleSet;
}

}  // namespace mpeg
