#include "mpeg/streamListing.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace mpeg {

namespace {

const char* const dash = "-";
constexpr std::size_t fieldCount = 9;

const char* kindName(StreamKind kind) {
    switch (kind) {
        case StreamKind::Video:
            return "video";
        case StreamKind::Audio:
            return "audio";
        case StreamKind::Subpicture:
            break;
    }
    return "subpicture";
}

std::optional<StreamKind> kindNamed(const std::string& name) {
    for (const StreamKind kind : {StreamKind::Video, StreamKind::Audio, StreamKind::Subpicture}) {
        if (name == kindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

std::string orDash(const std::string& text) {
    return text.empty() ? dash : text;
}

std::string number(int value) {
    return value > 0 ? std::to_string(value) : dash;
}

std::string time(const std::optional<double>& seconds) {
    if (!seconds) {
        return dash;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", *seconds);
    return text;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

// A whole number written in full, or 0 for a dash; nullopt for anything else.
std::optional<long> wholeNumber(const std::string& text, int base) {
    if (text == dash) {
        return 0;
    }
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, base);
    if (text.empty() || *end != '\0' || value < 0 || value > 10'000'000) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> timeOf(const std::string& text) {
    if (text == dash) {
        return std::nullopt;
    }
    return std::strtod(text.c_str(), nullptr);
}

std::string unlessDash(const std::string& text) {
    return text == dash ? std::string() : text;
}

std::optional<StreamInfo> streamOf(const std::string& line) {
    const std::vector<std::string> fields = fieldsOf(line);
    if (fields.size() < fieldCount - 1 || fields[0].rfind("0x", 0) != 0) {
        return std::nullopt;
    }
    const auto id = wholeNumber(fields[0].substr(2), 16);
    const auto kind = kindNamed(fields[1]);
    const auto channels = wholeNumber(fields[3], 10);
    const auto sampleRate = wholeNumber(fields[4], 10);
    const auto bits = fields.size() > fieldCount - 1 ? wholeNumber(fields[8], 10) : 0;
    if (!id || *id > 0xff || !kind || !channels || !sampleRate || !bits) {
        return std::nullopt;
    }
    StreamInfo stream;
    stream.id = static_cast<int>(*id);
    stream.kind = *kind;
    stream.codec = unlessDash(fields[2]);
    stream.channels = static_cast<int>(*channels);
    stream.sampleRate = static_cast<int>(*sampleRate);
    stream.firstTime = timeOf(fields[5]);
    stream.lastTime = timeOf(fields[6]);
    stream.language = unlessDash(fields[7]);
    stream.bitsPerSample = static_cast<int>(*bits);
    return stream;
}

}  // namespace

std::string formatStreamListing(const std::vector<StreamInfo>& streams) {
    std::string listing;
    for (const StreamInfo& stream : streams) {
        char id[8];
        std::snprintf(id, sizeof id, "0x%02x", stream.id);
        listing += std::string(id) + '\t' + kindName(stream.kind) + '\t' + orDash(stream.codec) +
                   '\t' + number(stream.channels) + '\t' + number(stream.sampleRate) + '\t' +
                   time(stream.firstTime) + '\t' + time(stream.lastTime) + '\t' +
                   orDash(stream.language) + '\t' + number(stream.bitsPerSample) + '\n';
    }
    return listing;
}

std::optional<std::vector<StreamInfo>> parseStreamListing(const std::string& text) {
    std::vector<StreamInfo> streams;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        const auto stream = streamOf(line);
        if (!stream) {
            return std::nullopt;
        }
        streams.push_back(*stream);
    }
    if (streams.empty()) {
        return std::nullopt;
    }
    return streams;
}

}  // namespace mpeg
