#include "runner/plan/subtitleStreams.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "files/textFile.h"
#include "language/language.h"
#include "mpeg/streamSurvey.h"
#include "mpeg/subtitleUnits.h"
#include "runner/plan/commandLines.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

constexpr double bytesPerKb = 1024;

SubtitleStream streamOf(const Ttask& task, int streamId) {
    SubtitleStream stream;
    stream.streamId = streamId;
    stream.path = taskChoices::subtitleStreamPath(task.ac3FilePath, streamId);
    return stream;
}

std::string escapedForXml(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&apos;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

bool isLanguageCode(const std::string& code) {
    return code.size() == 2 && std::islower(static_cast<unsigned char>(code[0])) &&
           std::islower(static_cast<unsigned char>(code[1]));
}

std::string audioElement(const AudioTrack& track) {
    const std::string format =
        track.format == mpeg::AudioFormat::Lpcm ? "pcm" : streamFileExtension(track.format);
    std::string element = "   <audio format=\"" + format + "\"";
    if (isLanguageCode(track.language)) {
        element += " lang=\"" + track.language + "\"";
    }
    return element + "/>\n";
}

std::string subtitleElement(const AuthoredSubtitle& subtitle) {
    std::string element = "   <subpicture";
    if (isLanguageCode(subtitle.language)) {
        element += " lang=\"" + subtitle.language + "\"";
    }
    if (subtitle.forcedOnly) {
        element += " content=\"forced\"";
    }
    const std::pair<int, const char*> modes[] = {{subtitle.displays.normal, "normal"},
                                                 {subtitle.displays.wide, "widescreen"},
                                                 {subtitle.displays.letterbox, "letterbox"},
                                                 {subtitle.displays.panScan, "panscan"}};
    std::string streams;
    for (const auto& [stream, mode] : modes) {
        if (stream >= 0) {
            streams +=
                "    <stream id=\"" + std::to_string(stream) + "\" mode=\"" + mode + "\"/>\n";
        }
    }
    if (streams.empty()) {
        return element + "/>\n";
    }
    return element + ">\n" + streams + "   </subpicture>\n";
}

bool keeps(const std::vector<SubtitleStream>& kept, int stream) {
    return stream >= 0 &&
           std::any_of(kept.begin(), kept.end(), [stream](const SubtitleStream& subtitles) {
               return subtitles.streamId == mpeg::firstSubpictureStream + stream;
           });
}

}  // namespace

std::vector<SubtitleStream> everySubtitleStream(const Ttask& task) {
    std::vector<SubtitleStream> streams;
    if (isExistingFile(task.origVobFilePath)) {
        try {
            for (const mpeg::StreamInfo& stream : mpeg::surveyProgramStream(task.origVobFilePath)) {
                if (stream.kind == mpeg::StreamKind::Subpicture) {
                    streams.push_back(streamOf(task, stream.id));
                }
            }
            return streams;
        } catch (const std::runtime_error&) {
            // Not readable now: an earlier run's stream files tell.
        }
    }
    for (int id = mpeg::firstSubpictureStream; id <= mpeg::lastSubpictureStream; ++id) {
        SubtitleStream stream = streamOf(task, id);
        if (isExistingFile(stream.path)) {
            streams.push_back(stream);
        }
    }
    return streams;
}

void measureSubtitles(std::vector<SubtitleStream>& streams,
                      const std::vector<mpeg::SubtitlesOnTimeline>& measured) {
    for (SubtitleStream& stream : streams) {
        for (const mpeg::SubtitlesOnTimeline& onTimeline : measured) {
            if (onTimeline.streamId == stream.streamId && onTimeline.found) {
                stream.expectedKb = static_cast<double>(onTimeline.bytesWritten) / bytesPerKb;
            }
        }
    }
}

std::vector<AuthoredSubtitle> authoredSubtitles(const std::vector<SubtitleStream>& kept,
                                                const std::optional<mpeg::TitleSubtitles>& title,
                                                bool videoIsWide) {
    std::vector<AuthoredSubtitle> authored;
    std::vector<bool> named(mpeg::lastSubpictureStream - mpeg::firstSubpictureStream + 1, false);
    if (title) {
        for (mpeg::IfoSubtitleStream stream : title->streams) {
            mpeg::SubtitleDisplays& displays = stream.displays;
            if (videoIsWide && !title->wideScreen) {
                displays = {-1, displays.normal, -1, -1};
            } else if (!videoIsWide && title->wideScreen) {
                displays = {displays.wide, -1, -1, -1};
            }
            AuthoredSubtitle subtitle;
            subtitle.language = stream.language;
            subtitle.forcedOnly = stream.forcedOnly;
            // A mode whose stream the VOB does not carry is left to the others.
            for (const auto& [from, to] :
                 {std::pair{stream.displays.normal, &subtitle.displays.normal},
                  std::pair{stream.displays.wide, &subtitle.displays.wide},
                  std::pair{stream.displays.letterbox, &subtitle.displays.letterbox},
                  std::pair{stream.displays.panScan, &subtitle.displays.panScan}}) {
                if (keeps(kept, from)) {
                    *to = from;
                    named[static_cast<std::size_t>(from)] = true;
                    subtitle.stream = from;
                }
            }
            const mpeg::SubtitleDisplays& shown = subtitle.displays;
            if (shown.normal >= 0 || shown.wide >= 0 || shown.letterbox >= 0 ||
                shown.panScan >= 0) {
                authored.push_back(subtitle);
            }
        }
    }
    for (const SubtitleStream& stream : kept) {
        const int number = stream.streamId - mpeg::firstSubpictureStream;
        if (named[static_cast<std::size_t>(number)]) {
            continue;
        }
        AuthoredSubtitle subtitle;
        subtitle.stream = number;
        if (title) {
            (videoIsWide ? subtitle.displays.wide : subtitle.displays.normal) = number;
        }
        authored.push_back(subtitle);
    }
    // Without the title's facts, dvdauthor numbers the streams in order: only a gap needs naming.
    for (std::size_t index = 0; !title && index < authored.size(); ++index) {
        if (authored[index].stream != static_cast<int>(index)) {
            for (AuthoredSubtitle& subtitle : authored) {
                (videoIsWide ? subtitle.displays.wide : subtitle.displays.normal) = subtitle.stream;
            }
            break;
        }
    }
    return authored;
}

std::string authoringControlPath(const Ttask& task) {
    return task.vobFilePath + ".dvdauthor.xml";
}

std::string authoringPalettePath(const Ttask& task) {
    return task.vobFilePath + ".palette.yuv";
}

std::string authoringControlFile(const Ttask& task, const std::vector<AudioTrack>& tracks,
                                 const std::vector<AuthoredSubtitle>& subtitles,
                                 const std::string& palettePath) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<dvdauthor>\n <titleset>\n"
        "  <titles>\n";
    for (const AudioTrack& track : tracks) {
        text += audioElement(track);
    }
    for (const AuthoredSubtitle& subtitle : subtitles) {
        text += subtitleElement(subtitle);
    }
    text += "   <pgc";
    if (!palettePath.empty()) {
        text += " palette=\"" + escapedForXml(palettePath) + "\"";
    }
    text += ">\n    <vob file=\"" + escapedForXml(task.vobFilePath) + "\"";
    const std::string chapters = chapterArgument(task.chapterList);
    if (!chapters.empty()) {
        text += " chapters=\"" + escapedForXml(chapters) + "\"";
    }
    return text + "/>\n   </pgc>\n  </titles>\n </titleset>\n</dvdauthor>\n";
}

std::string paletteFileText(const std::array<std::uint32_t, 16>& palette) {
    std::string text;
    for (const std::uint32_t colour : palette) {
        char line[16];
        std::snprintf(line, sizeof line, "%06x\n", static_cast<unsigned>(colour & 0xFFFFFF));
        text += line;
    }
    return text;
}

std::string subtitleSummary(const std::vector<AuthoredSubtitle>& subtitles,
                            const std::string& ifoPath) {
    std::string names;
    for (const AuthoredSubtitle& subtitle : subtitles) {
        names += names.empty() ? "" : ", ";
        names += subtitle.language.empty() ? language::subtitleWithoutLanguage : subtitle.language;
        if (subtitle.forcedOnly) {
            names += language::subtitleForcedOnly;
        }
    }
    const std::string count =
        std::to_string(subtitles.size()) +
        (subtitles.size() == 1 ? language::subtitleStreamCountOne : language::subtitleStreamCount);
    const std::string palette =
        ifoPath.empty()
            ? std::string(language::subtitlePaletteStandard)
            : language::subtitlePaletteOf + std::filesystem::path(ifoPath).filename().string();
    // A blank before the duration that the run log adds, as after "Done ".
    return language::subtitlesForDvd + count + " (" + names + ")" + palette + " ";
}
