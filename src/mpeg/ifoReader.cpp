#include "mpeg/ifoReader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <regex>

#include "language/language.h"
#include "mpeg/ifoBytes.h"
#include "mpeg/ifoSubtitles.h"

namespace mpeg {

using ifo::Bytes;
using ifo::sectorBytes;
using ifo::Table;
using ifo::tableAt;

namespace {

// Far above any real IFO file, whose tables a title set of hours keeps within a few hundred
// kilobytes: a larger file is read no further.
constexpr std::size_t largestIfoFile = 16 * 1024 * 1024;

// Offsets in the title set's information table (VTSI_MAT) and in the video manager's (VMGI_MAT).
constexpr std::size_t partOfTitleTablePointer = 0xC8;
constexpr std::size_t programChainTablePointer = 0xCC;
constexpr std::size_t videoAttributes = 0x200;
constexpr std::size_t audioStreamCount = 0x202;
constexpr std::size_t audioAttributes = 0x204;
constexpr std::size_t audioAttributeBytes = 8;
constexpr std::size_t maximumAudioStreams = 8;
constexpr std::size_t titleTablePointer = 0xC4;

int bcdDigits(std::uint8_t value, int limit) {
    const int tens = value >> 4;
    const int ones = value & 0x0F;
    if (tens > 9 || ones > 9 || tens * 10 + ones > limit) {
        throw IfoError(language::ifoBadTime);
    }
    return tens * 10 + ones;
}

// hh:mm:ss:ff in BCD; the two high bits of ff give the frame rate.
double playbackTime(const Bytes& bytes, std::uint64_t offset) {
    const int hours = bcdDigits(bytes.byte(offset), 99);
    const int minutes = bcdDigits(bytes.byte(offset + 1), 59);
    const int seconds = bcdDigits(bytes.byte(offset + 2), 59);
    const std::uint8_t frameByte = bytes.byte(offset + 3);
    const int frames = bcdDigits(frameByte & 0x3F, 39);
    double framesPerSecond = 0;
    switch (frameByte >> 6) {
        case 1:
            framesPerSecond = 25;
            break;
        case 3:
            framesPerSecond = 30000.0 / 1001;
            break;
        default:
            // No rate: a chain without frames, or one that names none; its frames are not counted.
            break;
    }
    return hours * 3600.0 + minutes * 60.0 + seconds +
           (framesPerSecond > 0 ? frames / framesPerSecond : 0);
}

IfoAudioFormat audioFormat(std::uint8_t codingMode) {
    switch (codingMode) {
        case 0:
            return IfoAudioFormat::Ac3;
        case 2:
            return IfoAudioFormat::Mpeg1;
        case 3:
            return IfoAudioFormat::Mpeg2Extended;
        case 4:
            return IfoAudioFormat::Lpcm;
        case 6:
            return IfoAudioFormat::Dts;
        default:
            return IfoAudioFormat::Other;
    }
}

bool isLowerLetter(std::uint8_t c) {
    return c >= 'a' && c <= 'z';
}

std::vector<IfoAudioStream> audioStreams(const Bytes& bytes) {
    const std::size_t count = bytes.word(audioStreamCount);
    if (count > maximumAudioStreams) {
        throw IfoError(language::ifoTruncated);
    }
    std::vector<IfoAudioStream> streams;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = audioAttributes + i * audioAttributeBytes;
        const std::uint8_t first = bytes.byte(at);
        IfoAudioStream stream;
        stream.format = audioFormat(first >> 5);
        stream.channels = (bytes.byte(at + 1) & 0x07) + 1;
        // Language type 1: the two letters of an ISO 639 code follow.
        const std::uint8_t letter1 = bytes.byte(at + 2);
        const std::uint8_t letter2 = bytes.byte(at + 3);
        if (((first >> 2) & 0x03) == 1 && isLowerLetter(letter1) && isLowerLetter(letter2)) {
            stream.language = {static_cast<char>(letter1), static_cast<char>(letter2)};
        }
        streams.push_back(stream);
    }
    return streams;
}

// The program chain numbers of title 1's chapters, in the order the chapters play.
std::vector<int> firstTitleChains(const Bytes& bytes, int& titleCount) {
    const Table table = tableAt(bytes, partOfTitleTablePointer);
    titleCount = bytes.word(table.start);
    if (titleCount == 0) {
        throw IfoError(language::ifoNoTitle);
    }
    const std::uint64_t offsetsEnd = 8 + 4 * static_cast<std::uint64_t>(titleCount);
    const std::uint64_t first = bytes.longWord(table.start + 8);
    const std::uint64_t next =
        titleCount > 1 ? bytes.longWord(table.start + 12) : table.end - table.start;
    if (first < offsetsEnd || next <= first || next > table.end - table.start ||
        (next - first) % 4 != 0) {
        throw IfoError(language::ifoTruncated);
    }
    std::vector<int> chains;
    for (std::uint64_t at = table.start + first; at < table.start + next; at += 4) {
        chains.push_back(bytes.word(at));
    }
    return chains;
}

double firstTitleSeconds(const Bytes& bytes, const std::vector<int>& chains) {
    const Table table = tableAt(bytes, programChainTablePointer);
    const int chainCount = bytes.word(table.start);
    std::vector<bool> counted(static_cast<std::size_t>(chainCount), false);
    double seconds = 0;
    for (const int chain : chains) {
        if (chain < 1 || chain > chainCount) {
            throw IfoError(language::ifoTruncated);
        }
        // Chapters that share a chain play it once.
        if (counted[static_cast<std::size_t>(chain - 1)]) {
            continue;
        }
        counted[static_cast<std::size_t>(chain - 1)] = true;
        const std::uint64_t pointer = table.start + 8 + 8 * static_cast<std::uint64_t>(chain - 1);
        const std::uint64_t programChain = table.start + bytes.longWord(pointer + 4);
        if (programChain + 8 > table.end) {
            throw IfoError(language::ifoTruncated);
        }
        seconds += playbackTime(bytes, programChain + 4);
    }
    return seconds;
}

}  // namespace

std::vector<std::uint8_t> readIfoFile(const std::string& path) {
    // A pipe or a device would block or never end: only a file is opened.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw IfoError(language::ifoCannotOpen);
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        throw IfoError(language::ifoCannotOpen);
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> block(64 * 1024);
    bool tooLarge = false;
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), file)) > 0;) {
        if (bytes.size() + got > largestIfoFile) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (tooLarge) {
        throw IfoError(language::ifoTooLarge);
    }
    if (failed) {
        throw IfoError(language::ifoCannotOpen);
    }
    return bytes;
}

namespace {

bool exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

}  // namespace

TitleSetInfo parseTitleSetIfo(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    if (!bytes.startsWith("DVDVIDEO-VTS")) {
        throw IfoError(language::ifoNotTitleSet);
    }
    TitleSetInfo info;
    const std::vector<int> chains = firstTitleChains(bytes, info.titleCount);
    info.chapterCount = static_cast<int>(chains.size());
    info.playbackSeconds = firstTitleSeconds(bytes, chains);
    info.audioStreams = audioStreams(bytes);
    // What a player offers: the streams that the title's chain shows, not those merely described.
    info.subtitleStreamCount =
        static_cast<int>(parseTitleSubtitles(data, size, std::nullopt).streams.size());
    switch ((bytes.byte(videoAttributes) >> 4) & 0x03) {
        case 0:
            info.standard = language::ntscStandard;
            break;
        case 1:
            info.standard = language::palStandard;
            break;
        default:
            break;
    }
    return info;
}

int parseVideoManagerTitleCount(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    if (!bytes.startsWith("DVDVIDEO-VMG")) {
        throw IfoError(language::ifoNotVideoManager);
    }
    const std::uint64_t table =
        static_cast<std::uint64_t>(bytes.longWord(titleTablePointer)) * sectorBytes;
    return bytes.word(table);
}

TitleSetInfo readTitleSet(const std::string& videoTsFolder) {
    std::string folder = videoTsFolder;
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
        folder += '/';
    }
    const auto withName = [](const char* name, const IfoError& error) {
        return IfoError(name + std::string(language::ifoInFile) + error.what());
    };
    TitleSetInfo info;
    try {
        const std::vector<std::uint8_t> bytes = readIfoFile(folder + "VTS_01_0.IFO");
        info = parseTitleSetIfo(bytes.data(), bytes.size());
    } catch (const IfoError& error) {
        throw withName("VTS_01_0.IFO", error);
    }
    const std::string videoManager = folder + "VIDEO_TS.IFO";
    if (exists(videoManager)) {
        try {
            const std::vector<std::uint8_t> bytes = readIfoFile(videoManager);
            info.titleCount = parseVideoManagerTitleCount(bytes.data(), bytes.size());
        } catch (const IfoError& error) {
            throw withName("VIDEO_TS.IFO", error);
        }
    }
    return info;
}

std::string titleSetIfoBeside(const std::string& sourcePath) {
    const std::filesystem::path source(sourcePath);
    static const std::regex titleSetName("VTS_([0-9][0-9])_[0-9]+\\.VOB", std::regex::icase);
    static const std::regex ifoName("VTS_[0-9][0-9]_0\\.IFO", std::regex::icase);
    const std::filesystem::path folder = source.parent_path().empty() ? "." : source.parent_path();
    std::smatch match;
    const std::string name = source.filename().string();
    std::error_code error;
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string candidate = entry.path().filename().string();
        if (std::regex_match(candidate, ifoName)) {
            if (std::regex_match(name, match, titleSetName) &&
                candidate.substr(4, 2) == match[1].str()) {
                return entry.path().string();
            }
            found.push_back(entry.path());
        }
    }
    if (found.size() == 1 && !std::regex_match(name, titleSetName)) {
        return found.front().string();
    }
    return std::string();
}

const char* audioFormatName(IfoAudioFormat format) {
    switch (format) {
        case IfoAudioFormat::Ac3:
            return language::audioAc3;
        case IfoAudioFormat::Mpeg1:
            return language::audioMpeg1;
        case IfoAudioFormat::Mpeg2Extended:
            return language::audioMpeg2;
        case IfoAudioFormat::Lpcm:
            return language::audioLpcm;
        case IfoAudioFormat::Dts:
            return language::audioDts;
        case IfoAudioFormat::Other:
            break;
    }
    return language::audioOther;
}

}  // namespace mpeg
