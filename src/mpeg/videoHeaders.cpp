#include "mpeg/videoHeaders.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mpeg {

std::size_t nextStartCode(const std::uint8_t* data, std::size_t from, std::size_t size) {
    if (size < 4) {
        return size;
    }
    // A prefix has its code byte before `end`.
    const std::size_t end = size - 3;
    std::size_t at = from;
#if defined(__SSE2__)
    // A prefix begins with two zero bytes: sixteen bytes without such a pair, nearly all of a
    // picture's coded data, are passed over at once. A zero in a block's last byte may begin a
    // pair with the next block's first.
    const __m128i zero = _mm_setzero_si128();
    for (; at + 16 <= end; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        const auto zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, zero)));
        for (unsigned pairs = (zeros & (zeros >> 1)) | (zeros & 0x8000); pairs != 0;
             pairs &= pairs - 1) {
            const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(pairs));
            if (data[candidate + 1] == 0 && data[candidate + 2] == 1) {
                return candidate;
            }
        }
    }
#endif
    for (; at < end; ++at) {
        if (data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 1) {
            return at;
        }
    }
    return size;
}

bool holdsGroupOrSequenceStart(const std::vector<std::uint8_t>& stream, std::size_t from) {
    const std::size_t begin = from < 3 ? 0 : from - 3;
    for (std::size_t at = nextStartCode(stream.data(), begin, stream.size()); at < stream.size();
         at = nextStartCode(stream.data(), at + 3, stream.size())) {
        if (stream[at + 3] == sequenceHeaderCode || stream[at + 3] == groupStartCode) {
            return true;
        }
    }
    return false;
}

SequenceHeader readSequenceHeader(const std::uint8_t* p) {
    // Ticks of the 90 kHz clock per frame for the frame rate codes 1 to 8.
    static constexpr double ticks[9] = {0, 3753.75, 3750, 3600, 3003, 3000, 1800, 1501.5, 1500};
    SequenceHeader header;
    header.frameRateCode = p[7] & 0x0f;
    // The aspect ratio information: 3 is 16:9, 4 is 2.21:1.
    header.wideScreen = (p[7] >> 4) == 3 || (p[7] >> 4) == 4;
    if (header.frameRateCode >= 1 && header.frameRateCode <= 8) {
        header.frameTicks = ticks[header.frameRateCode];
    }
    if (header.frameRateCode == 3 || header.frameRateCode == 6) {
        header.standard = "PAL";
    } else if (header.frameRateCode == 1 || header.frameRateCode == 4 ||
               header.frameRateCode == 7) {
        header.standard = "NTSC";
    }
    return header;
}

namespace {

// The time stamp that applies to an access unit beginning at `offset`: that of the packet the
// unit begins in, if no earlier unit of that packet took it.
struct StampLookup {
    const std::vector<TimeStampMark>& marks;
    std::size_t next = 0;

    std::optional<std::int64_t> forUnitAt(std::size_t offset) {
        std::optional<std::int64_t> found;
        while (next < marks.size() && marks[next].offset <= offset) {
            found = marks[next].pts;
            ++next;
        }
        return found;
    }
};

}  // namespace

std::vector<PictureStamp> picturesOf(const std::vector<std::uint8_t>& stream,
                                     const std::vector<TimeStampMark>& marks, std::size_t from) {
    const std::uint8_t* data = stream.data();
    const std::size_t size = stream.size();
    std::vector<PictureStamp> pictures;
    StampLookup stamps{marks};
    bool unitOpen = false;  // a header opened the access unit of the next picture
    std::optional<std::int64_t> unitStamp;
    int group = 0;
    // The units before `from` are read too: each takes the time stamp of its packet, which a
    // later unit of the same packet must not take.
    for (std::size_t at = nextStartCode(data, 0, size); at + 6 <= size;
         at = nextStartCode(data, at + 3, size)) {
        const int code = data[at + 3];
        if (code == groupStartCode || code == sequenceHeaderCode) {
            if (code == groupStartCode && at >= from) {
                ++group;
            }
            if (!unitOpen) {
                unitOpen = true;
                unitStamp = stamps.forUnitAt(at);
            }
        } else if (code == pictureStartCode) {
            if (!unitOpen) {
                unitStamp = stamps.forUnitAt(at);
            }
            unitOpen = false;
            if (at < from) {
                unitStamp.reset();
                continue;
            }
            PictureStamp picture;
            picture.offset = at;
            picture.group = group;
            picture.temporalReference = (data[at + 4] << 2) | (data[at + 5] >> 6);
            picture.pts = unitStamp;
            pictures.push_back(picture);
            unitStamp.reset();
        }
    }
    return pictures;
}

std::optional<VideoStart> findVideoStart(const std::vector<std::uint8_t>& stream,
                                         const std::vector<TimeStampMark>& marks, bool atEnd) {
    const std::uint8_t* data = stream.data();
    const std::size_t size = stream.size();
    std::size_t at = nextStartCode(data, 0, size);
    while (at + 3 < size && data[at + 3] != sequenceHeaderCode) {
        at = nextStartCode(data, at + 3, size);
    }
    if (at + 12 > size) {
        return std::nullopt;
    }
    VideoStart start;
    start.sequenceHeader = at;
    start.sequence = readSequenceHeader(data + at);
    const std::size_t group = nextStartCode(data, at + 3, size);
    for (std::size_t code = group; code + 3 < size; code = nextStartCode(data, code + 3, size)) {
        if (data[code + 3] == groupStartCode) {
            start.firstGroup = code;
            break;
        }
        if (data[code + 3] == pictureStartCode) {
            break;
        }
    }
    const int firstGroup = start.firstGroup ? 1 : 0;
    for (const PictureStamp& picture : picturesOf(stream, marks, at)) {
        if (picture.group > firstGroup) {
            start.groupComplete = true;
            break;
        }
        if (picture.pts && start.sequence.frameTicks > 0) {
            // The group's earliest picture is the one with temporal reference 0.
            const std::int64_t shown =
                *picture.pts - static_cast<std::int64_t>(
                                   picture.temporalReference * start.sequence.frameTicks + 0.5);
            start.presentation = start.presentation ? std::min(*start.presentation, shown) : shown;
        }
    }
    if (atEnd) {
        start.groupComplete = true;
    }
    return start;
}

std::optional<std::int64_t> lastPresentation(const std::vector<std::uint8_t>& stream,
                                             const std::vector<TimeStampMark>& marks,
                                             double frameTicks) {
    // Each group is shown from its temporal reference 0 on, one frame per reference: a group's
    // last picture is its first shown plus its highest reference.
    std::optional<std::int64_t> last;
    const std::vector<PictureStamp> pictures = picturesOf(stream, marks, 0);
    for (std::size_t first = 0; first < pictures.size();) {
        std::size_t end = first;
        int highest = 0;
        std::optional<std::int64_t> groupStart;
        for (; end < pictures.size() && pictures[end].group == pictures[first].group; ++end) {
            const PictureStamp& picture = pictures[end];
            highest = std::max(highest, picture.temporalReference);
            if (picture.pts && !groupStart) {
                groupStart = *picture.pts - static_cast<std::int64_t>(
                                                picture.temporalReference * frameTicks + 0.5);
            }
        }
        if (groupStart) {
            const std::int64_t shown =
                *groupStart + static_cast<std::int64_t>(highest * frameTicks + 0.5);
            last = last ? std::max(*last, shown) : shown;
        }
        first = end;
    }
    return last;
}

}  // namespace mpeg
