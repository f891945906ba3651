#include "demux/streamListing.h"

#include <cstdio>

#include "mpeg/streamSurvey.h"

namespace demux {

namespace {

const char* kindName(mpeg::StreamKind kind) {
    switch (kind) {
        case mpeg::StreamKind::Video:
            return "video";
        case mpeg::StreamKind::Audio:
            return "audio";
        case mpeg::StreamKind::Subpicture:
            break;
    }
    return "subpicture";
}

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

std::string number(int value) {
    return value > 0 ? std::to_string(value) : "-";
}

std::string time(const std::optional<double>& seconds) {
    if (!seconds) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", *seconds);
    return text;
}

}  // namespace

std::string streamListing(const std::string& source) {
    std::string listing;
    for (const mpeg::StreamInfo& stream : mpeg::surveyWithLanguages(source)) {
        char id[8];
        std::snprintf(id, sizeof id, "0x%02x", stream.id);
        listing += std::string(id) + '\t' + kindName(stream.kind) + '\t' + orDash(stream.codec) +
                   '\t' + number(stream.channels) + '\t' + number(stream.sampleRate) + '\t' +
                   time(stream.firstTime) + '\t' + time(stream.lastTime) + '\t' +
                   orDash(stream.language) + '\n';
    }
    return listing;
}

}  // namespace demux
