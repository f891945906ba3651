#include "runner/plan/discFitting.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "files/textFile.h"
#include "language/language.h"
#include "runner/plan/taskPlan.h"
#include "task/task.h"

namespace discFitting {

namespace {

std::uint64_t kbToBytes(double kb) {
    return static_cast<std::uint64_t>(std::max(kb, 0.0) * 1024);
}

std::string holdsText(const taskChoices::Disc& disc) {
    return language::discHoldsOpen + disc.name + language::discHolds +
           discSize::sizeText(disc.bytes) + language::discHoldsClose;
}

}  // namespace

discSize::TitleStreams titleOfStreamFiles(const Ttask& task, const TaskStreams& streams) {
    discSize::TitleStreams title;
    title.videoBytes = fileBytesOf(task.m2vFilePath);
    for (const std::string& path : plan::streamPaths(streams)) {
        title.otherBytes.push_back(fileBytesOf(path));
    }
    title.seconds = streams.seconds;
    return title;
}

discSize::TitleStreams predictedTitle(const Ttask& task, const TaskStreams& streams) {
    if (!task.doDemux && task.doRemux) {
        return titleOfStreamFiles(task, streams);
    }
    discSize::TitleStreams title;
    title.seconds = streams.seconds;
    if (!task.doDemux) {
        // The VOB is authored as it is: its packs are what the disc holds.
        title.videoBytes = fileBytesOf(task.vobFilePath);
        return title;
    }
    // The source is a DVD's VOB already: its packs, less those of the audio left out, are what
    // the remultiplexing makes again. Its video is what is left of them besides the other streams.
    for (const AudioTrack& track : streams.tracks) {
        title.otherBytes.push_back(kbToBytes(track.expectedKb.value_or(0)));
    }
    for (const SubtitleStream& stream : streams.subtitles) {
        title.otherBytes.push_back(kbToBytes(stream.expectedKb.value_or(0)));
    }
    const std::uint64_t kept = fileBytesOf(task.origVobFilePath) -
                               std::min<std::uint64_t>(fileBytesOf(task.origVobFilePath),
                                                       kbToBytes(streams.leftOutAudioKb));
    discSize::TitleStreams withoutVideo = title;
    const std::uint64_t others = discSize::multiplexedBytes(withoutVideo);
    const double videoPacks =
        static_cast<double>(kept - std::min(kept, others)) / discSize::sectorBytes;
    title.videoBytes = static_cast<std::uint64_t>(videoPacks * discSize::videoBytesPerPack);
    return title;
}

void predictFitting(const Ttask& task, TaskStreams& streams, const taskChoices::Disc& disc) {
    streams.fittingFactor = plan::fitsVideo(task)
                                ? discSize::fittingFactor(predictedTitle(task, streams), disc.bytes)
                                : 1;
    streams.fittingIsPredicted = true;
}

double refittingFactor(const discSize::TitleStreams& streamFiles, double factor,
                       std::uint64_t imageBytes, const taskChoices::Disc& disc) {
    discSize::TitleStreams withoutVideo = streamFiles;
    withoutVideo.videoBytes = 0;
    const double others = static_cast<double>(discSize::predictedImageBytes(withoutVideo));
    const double videoTook = static_cast<double>(imageBytes) - others;
    const double videoRoom =
        static_cast<double>(disc.bytes) * (1 - discSize::fittingMargin) - others;
    if (videoRoom <= 0 || videoTook <= 0) {
        return std::numeric_limits<double>::infinity();
    }
    return std::max(factor, 1.0) * std::max(1.0, videoTook / videoRoom);
}

std::string predictionText(const Ttask& task) {
    const std::string name = taskChoices::discName(task);
    if (name.empty() || !task.doAuthor) {
        return "";
    }
    const std::optional<taskChoices::Disc> disc = taskChoices::discNamed(name);
    if (!disc) {
        return language::discUnknownBefore + name + language::discUnknownShort;
    }
    // Only the stream files are read here, never the source: the editor must not wait for it.
    const TaskStreams streams = task.doDemux ? TaskStreams() : surveyedStreams(task);
    const discSize::TitleStreams title = predictedTitle(task, streams);
    if (title.videoBytes == 0) {
        return "";
    }
    const std::uint64_t predicted = discSize::predictedImageBytes(title);
    const std::string about = language::predictionAbout + discSize::sizeText(predicted);
    if (predicted <= disc->bytes) {
        return about + language::predictionFits + disc->name;
    }
    const double factor = discSize::fittingFactor(title, disc->bytes);
    if (!plan::fitsVideo(task) || !std::isfinite(factor)) {
        return about + language::predictionTooBig + disc->name;
    }
    return about + language::predictionFitted + disc->name + language::predictionVideoAt +
           std::to_string(static_cast<int>(100 / factor)) + language::predictionPercent;
}

std::string fitsAsItIsText(const taskChoices::Disc& disc, std::uint64_t predictedBytes) {
    return language::discFitsAsItIs + disc.name + language::discAbout +
           discSize::sizeText(predictedBytes) + language::discOf + discSize::sizeText(disc.bytes) +
           language::discFitsAsItIsEnd;
}

std::string takesText(const std::string& videoTsFolder, std::uint64_t imageBytes,
                      const taskChoices::Disc& disc) {
    return videoTsFolder + language::discTakes + discSize::sizeText(imageBytes) +
           language::discAsImage + holdsText(disc);
}

std::string fittedAgainText(const std::string& videoTsFolder, std::uint64_t imageBytes,
                            const taskChoices::Disc& disc) {
    std::string text = takesText(videoTsFolder, imageBytes, disc);
    text.pop_back();  // the blank that ends a line, before what follows
    return text + language::discFittedAgain;
}

std::string tooBigText(const std::string& videoTsFolder, std::uint64_t imageBytes,
                       const taskChoices::Disc& disc, bool couldFit) {
    // At least the megabyte it is shown as, however little it is over.
    const std::uint64_t over =
        std::max<std::uint64_t>(imageBytes > disc.bytes ? imageBytes - disc.bytes : 0, 1000000);
    return videoTsFolder + language::discTakes + discSize::sizeText(imageBytes) +
           language::discAsImage + language::discTooBig + discSize::sizeText(over) +
           language::discTooBigMore + disc.name + language::discHoldsIn +
           discSize::sizeText(disc.bytes) + language::discTooBigEnd +
           (couldFit ? "" : language::discCannotFit);
}

std::string imageText(const std::string& imagePath, std::uint64_t imageBytes,
                      const std::optional<taskChoices::Disc>& disc) {
    return language::imageMade + imagePath + language::imageSize + discSize::sizeText(imageBytes) +
           (disc ? holdsText(*disc) : std::string(" "));
}

std::string unknownDiscText(const std::string& name) {
    return language::discUnknownBefore + name + language::discUnknownAfter;
}

}  // namespace discFitting
