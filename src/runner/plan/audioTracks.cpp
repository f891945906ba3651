#include "runner/plan/audioTracks.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <stdexcept>

#include "files/textFile.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "mpeg/keptAudio.h"
#include "mpeg/streamSurvey.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

constexpr double bytesPerKb = 1024;

// The task's audio path goes to its first AC-3 track; every other track is named after it, with
// its place in the multiplexing order.
std::vector<AudioTrack> tracksOfStreams(const Ttask& task,
                                        const std::vector<mpeg::StreamInfo>& streams) {
    std::vector<AudioTrack> tracks;
    bool firstAc3Named = false;
    for (const mpeg::StreamInfo& stream : mpeg::keptAudioStreams(streams)) {
        AudioTrack track;
        track.streamId = stream.id;
        track.format = *mpeg::audioFormatOfStream(stream.id);
        track.language = stream.language;
        if (track.format == mpeg::AudioFormat::Ac3 && !firstAc3Named) {
            track.path = task.ac3FilePath;
            firstAc3Named = true;
        } else {
            track.path =
                taskChoices::audioTrackPath(task.ac3FilePath, static_cast<int>(tracks.size()) + 1,
                                            streamFileExtension(track.format));
        }
        tracks.push_back(track);
    }
    return tracks;
}

std::optional<std::vector<mpeg::StreamInfo>> surveyIfReadable(const std::string& path,
                                                              bool withLanguages) {
    if (!isExistingFile(path)) {
        return std::nullopt;
    }
    try {
        return withLanguages ? mpeg::surveyWithLanguages(path) : mpeg::surveyProgramStream(path);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

// The stream files an earlier run wrote, in their order: the numbered ones by their number, and the
// task's audio path in the first place that none of them takes.
std::vector<AudioTrack> tracksOfStreamFiles(const Ttask& task) {
    using taskChoices::audioTrackPath;
    std::vector<std::optional<AudioTrack>> places(taskChoices::mostAudioTracks);
    for (int number = 1; number <= taskChoices::mostAudioTracks; ++number) {
        for (const mpeg::AudioFormat format :
             {mpeg::AudioFormat::Ac3, mpeg::AudioFormat::MpegAudio, mpeg::AudioFormat::Lpcm}) {
            const std::string path =
                audioTrackPath(task.ac3FilePath, number, streamFileExtension(format));
            if (!places[number - 1] && isExistingFile(path)) {
                AudioTrack track;
                track.format = format;
                track.path = path;
                places[number - 1] = track;
            }
        }
    }
    if (isExistingFile(task.ac3FilePath)) {
        const auto free = std::find(places.begin(), places.end(), std::nullopt);
        if (free != places.end()) {
            *free = firstAc3Track(task);
        }
    }
    std::vector<AudioTrack> tracks;
    for (const auto& place : places) {
        if (place) {
            tracks.push_back(*place);
        }
    }
    return tracks;
}

}  // namespace

AudioTrack firstAc3Track(const Ttask& task) {
    AudioTrack track;
    track.path = task.ac3FilePath;
    return track;
}

std::vector<AudioTrack> everyAudioTrack(const Ttask& task) {
    if (const auto source = surveyIfReadable(task.origVobFilePath, true)) {
        return tracksOfStreams(task, *source);
    }
    if (task.doRemux) {
        return tracksOfStreamFiles(task);
    }
    if (const auto remuxed = surveyIfReadable(task.vobFilePath, false)) {
        return tracksOfStreams(task, *remuxed);
    }
    return {};
}

const char* streamFileExtension(mpeg::AudioFormat format) {
    switch (format) {
        case mpeg::AudioFormat::MpegAudio:
            return "mp2";
        case mpeg::AudioFormat::Lpcm:
            return "lpcm";
        case mpeg::AudioFormat::Dts:
            return "dts";
        case mpeg::AudioFormat::Ac3:
            break;
    }
    return "ac3";
}

std::string authoringAudioList(const std::vector<AudioTrack>& tracks) {
    std::string list;
    for (const AudioTrack& track : tracks) {
        if (!list.empty()) {
            list += ',';
        }
        list += track.format == mpeg::AudioFormat::Lpcm ? "pcm" : streamFileExtension(track.format);
        // Only a language code as the title set stores it; anything else would change the
        // argument's meaning.
        const std::string& code = track.language;
        if (code.size() == 2 && std::isalpha(static_cast<unsigned char>(code[0])) &&
            std::isalpha(static_cast<unsigned char>(code[1]))) {
            list += '+' + code;
        }
    }
    return list;
}

SourceTimeline measureOnTimeline(std::vector<AudioTrack>& tracks, const std::string& sourcePath,
                                 const std::vector<int>& subtitleStreamIds) {
    SourceTimeline measured;
    if (!isExistingFile(sourcePath)) {
        return measured;
    }
    // The audio streams left out are counted too: they take their share of the source.
    mpeg::TitleRead read;
    read.countOtherAudio = true;
    for (const AudioTrack& track : tracks) {
        read.tracks.push_back({track.streamId, nullptr});
    }
    for (const int streamId : subtitleStreamIds) {
        read.subtitles.push_back({streamId, nullptr});
    }
    mpeg::TitleOnTimeline title;
    try {
        title = mpeg::readTitleTimeline(sourcePath, read);
    } catch (const std::runtime_error&) {
        return measured;
    }
    measured.read = true;
    const auto usableKb = [](const mpeg::TrackOnTimeline& track) -> std::optional<double> {
        if (!track.found || !track.error.empty() || track.bytesWritten == 0) {
            return std::nullopt;
        }
        return static_cast<double>(track.bytesWritten) / bytesPerKb;
    };
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        const mpeg::TrackOnTimeline& track = title.tracks[index];
        tracks[index].expectedKb = usableKb(track);
        if (tracks[index].expectedKb) {
            measured.corrections.insert(measured.corrections.end(), track.corrections.begin(),
                                        track.corrections.end());
        }
    }
    for (const mpeg::TrackOnTimeline& other : title.otherAudio) {
        measured.leftOutAudioKb += usableKb(other).value_or(0);
    }
    measured.subtitles = title.subtitles;
    return measured;
}

std::string keptInStepSummary(const std::vector<mpeg::AudioCorrection>& corrections) {
    if (corrections.empty()) {
        return std::string();
    }
    // The tracks of one title are corrected at the same places: a place is counted once.
    std::set<std::string> places;
    double largest = 0;
    for (const mpeg::AudioCorrection& correction : corrections) {
        places.insert(mpeg::outputClockText(correction.outputTime));
        largest = std::max(largest, correction.ticks());
    }
    const long long milliseconds = std::llround(largest / 90);
    return formatMessage(
               places.size() == 1 ? language::audioKeptInStepOnce : language::audioKeptInStep,
               static_cast<int>(places.size())) +
           formatMessage(language::audioKeptInStepLargest, static_cast<int>(milliseconds));
}
