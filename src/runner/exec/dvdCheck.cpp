#include "runner/exec/dvdCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "language/language.h"
#include "mpeg/programStream.h"
#include "mpeg/titleTimeline.h"

namespace {

// Seconds the title may play short of the VOB's video: the last frames of a cut stream may be
// dropped by the authoring tool.
constexpr double playbackTolerance = 1.0;

std::string clockText(double seconds) {
    const long long whole = std::llround(std::max(0.0, seconds));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + (count == 1 ? one : many);
}

// A format as a VOB's survey and an IFO name it alike: MPEG audio of either kind is one.
mpeg::IfoAudioFormat formatOf(const std::string& codec) {
    if (codec == "ac3") {
        return mpeg::IfoAudioFormat::Ac3;
    }
    if (codec == "mp1" || codec == "mp2") {
        return mpeg::IfoAudioFormat::Mpeg1;
    }
    if (codec == "lpcm") {
        return mpeg::IfoAudioFormat::Lpcm;
    }
    if (codec == "dts") {
        return mpeg::IfoAudioFormat::Dts;
    }
    return mpeg::IfoAudioFormat::Other;
}

mpeg::IfoAudioFormat formatOf(mpeg::IfoAudioFormat format) {
    return format == mpeg::IfoAudioFormat::Mpeg2Extended ? mpeg::IfoAudioFormat::Mpeg1 : format;
}

std::string audioCounts(const char* name, std::size_t inVob, std::size_t onDvd) {
    return name + std::string(language::dvdAudioCountsBetween) + std::to_string(inVob) +
           language::dvdAudioCountsDvd + std::to_string(onDvd) + language::dvdAudioCountsEnd;
}

std::vector<std::string> audioMismatches(const std::string& folder, const mpeg::TitleSetInfo& dvd,
                                         const VobFacts& vob) {
    std::map<mpeg::IfoAudioFormat, std::size_t> onDvd;
    for (const mpeg::IfoAudioStream& stream : dvd.audioStreams) {
        ++onDvd[formatOf(stream.format)];
    }
    std::map<mpeg::IfoAudioFormat, std::size_t> inVob;
    for (const std::string& codec : vob.audioCodecs) {
        ++inVob[formatOf(codec)];
    }
    std::vector<std::string> mismatches;
    for (const auto& [format, count] : inVob) {
        if (format != mpeg::IfoAudioFormat::Other && count > onDvd[format]) {
            mismatches.push_back(folder + language::dvdMissingAudio +
                                 audioCounts(mpeg::audioFormatName(format), count, onDvd[format]));
        }
    }
    // Streams of a format the survey could not name count only in number.
    if (mismatches.empty() && vob.audioCodecs.size() > dvd.audioStreams.size()) {
        mismatches.push_back(
            folder + language::dvdMissingAudio +
            audioCounts(language::dvdAnyAudio, vob.audioCodecs.size(), dvd.audioStreams.size()));
    }
    return mismatches;
}

}  // namespace

VobFacts vobFactsOf(const std::vector<mpeg::StreamInfo>& streams) {
    VobFacts facts;
    for (const mpeg::StreamInfo& stream : streams) {
        if (stream.kind == mpeg::StreamKind::Audio) {
            facts.audioCodecs.push_back(stream.codec);
        } else if (stream.kind == mpeg::StreamKind::Video && ++facts.videoStreams == 1) {
            // The first video stream is the one a task keeps.
            facts.standard = stream.standard;
            if (stream.firstTime && stream.lastTime && stream.frameSeconds > 0 &&
                *stream.lastTime >= *stream.firstTime) {
                facts.videoSeconds = *stream.lastTime - *stream.firstTime + stream.frameSeconds;
            }
        }
    }
    return facts;
}

int chapterPointsOf(const std::string& chapterList) {
    if (chapterList.empty()) {
        return 1;
    }
    return static_cast<int>(std::count(chapterList.begin(), chapterList.end(), ',')) + 1;
}

std::string dvdSummary(const mpeg::TitleSetInfo& dvd, std::optional<int> keptSubtitles) {
    std::string summary = language::dvdChecked;
    summary += counted(static_cast<std::size_t>(dvd.titleCount), language::dvdOneTitle,
                       language::dvdTitles);
    summary += language::dvdSummarySeparator;
    summary += counted(static_cast<std::size_t>(dvd.chapterCount), language::dvdOneChapter,
                       language::dvdChapters);
    summary += language::dvdSummarySeparator + clockText(dvd.playbackSeconds);
    summary += language::dvdSummarySeparator;
    summary +=
        counted(dvd.audioStreams.size(), language::dvdOneAudioTrack, language::dvdAudioTracks);
    if (keptSubtitles) {
        summary += language::dvdSummarySeparator +
                   counted(static_cast<std::size_t>(dvd.subtitleStreamCount),
                           language::dvdOneSubtitleStream, language::dvdSubtitleStreams);
    }
    if (!dvd.standard.empty()) {
        summary += language::dvdSummarySeparator + dvd.standard;
    }
    return summary + language::dvdSummaryEnd;
}

std::vector<std::string> dvdMismatches(const std::string& videoTsFolder,
                                       const mpeg::TitleSetInfo& dvd, const VobFacts& vob,
                                       int chapterPoints, std::optional<int> keptSubtitles) {
    std::vector<std::string> mismatches;
    if (dvd.chapterCount < chapterPoints) {
        mismatches.push_back(videoTsFolder + language::dvdFewerChapters +
                             std::to_string(dvd.chapterCount) + language::dvdFallsShortOf +
                             std::to_string(chapterPoints));
    }
    if (vob.videoSeconds && dvd.playbackSeconds + playbackTolerance < *vob.videoSeconds) {
        mismatches.push_back(videoTsFolder + language::dvdShorterPlayback +
                             clockText(dvd.playbackSeconds) + language::dvdFallsShortOf +
                             clockText(*vob.videoSeconds));
    }
    if (vob.videoStreams > 1) {
        mismatches.push_back(videoTsFolder + language::dvdSeveralVideoStreams +
                             std::to_string(vob.videoStreams));
    }
    const std::vector<std::string> audio = audioMismatches(videoTsFolder, dvd, vob);
    mismatches.insert(mismatches.end(), audio.begin(), audio.end());
    if (keptSubtitles && dvd.subtitleStreamCount < *keptSubtitles) {
        mismatches.push_back(videoTsFolder + language::dvdFewerSubtitles +
                             std::to_string(dvd.subtitleStreamCount) + language::dvdFallsShortOf +
                             std::to_string(*keptSubtitles));
    }
    if (!vob.standard.empty() && !dvd.standard.empty() && vob.standard != dvd.standard) {
        mismatches.push_back(videoTsFolder + language::dvdOtherStandard + dvd.standard +
                             language::dvdStandardOfVob + vob.standard);
    }
    return mismatches;
}

DvdCheck checkAuthoredDvd(const std::string& videoTsFolder, const std::string& vobPath,
                          const std::string& chapterList, std::optional<int> keptSubtitles) {
    DvdCheck check;
    mpeg::TitleSetInfo dvd;
    try {
        dvd = mpeg::readTitleSet(videoTsFolder);
    } catch (const mpeg::IfoError& error) {
        check.errors.push_back(videoTsFolder + language::dvdUnreadable + error.what());
        return check;
    }
    check.summary = dvdSummary(dvd, keptSubtitles);
    VobFacts vob;
    try {
        vob = vobFactsOf(mpeg::surveyProgramStream(vobPath));
        // Its video's length is that of its pictures, however often its time stamps restart.
        const mpeg::TitleOnTimeline timeline = mpeg::readTitleTimeline(vobPath, mpeg::TitleRead());
        if (vob.videoSeconds && timeline.videoTicks > 0) {
            vob.videoSeconds = timeline.videoTicks / static_cast<double>(mpeg::ticksPerSecond);
        }
    } catch (const std::exception&) {
        // A VOB that cannot be surveyed shows nothing to compare; the DVD is not at fault.
    }
    check.errors =
        dvdMismatches(videoTsFolder, dvd, vob, chapterPointsOf(chapterList), keptSubtitles);
    return check;
}
