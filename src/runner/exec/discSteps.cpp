// The steps a task's disc adds to its run: the fitting decided from the demultiplexed streams,
// the authored DVD measured against the disc, and the image reported.
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "files/textFile.h"
#include "language/language.h"
#include "mpeg/streamSurvey.h"
#include "platform/platform.h"
#include "runner/exec/dvdCheck.h"
#include "runner/exec/taskRun.h"
#include "runner/plan/discFitting.h"

double titleSeconds(const Ttask& task) {
    for (const std::string* path : {&task.origVobFilePath, &task.vobFilePath}) {
        if (path->empty() || !isExistingFile(*path)) {
            continue;
        }
        try {
            return vobFactsOf(mpeg::surveyProgramStream(*path)).videoSeconds.value_or(0);
        } catch (const std::runtime_error&) {
            // Unreadable: the other file may tell.
        }
    }
    return 0;
}

TprocessThread::StepOutcome TprocessThread::decideFitting(const plan::DecideFitting& step,
                                                          TaskRun& run) {
    TaskStreams& streams = run.plan.streams;
    const discSize::TitleStreams title = discFitting::titleOfStreamFiles(run.task, streams);
    const double factor = discSize::fittingFactor(title, step.disc.bytes);
    if (!std::isfinite(factor)) {
        reportError(language::discNoRoomForVideo);
        return StepOutcome::Failed;
    }
    streams.fittingFactor = factor;
    streams.fittingIsPredicted = false;
    if (factor <= 1) {
        reportDone(discFitting::fitsAsItIsText(step.disc, discSize::predictedImageBytes(title)));
    }
    run.replanFrom = plan::StageKind::Fit;
    return StepOutcome::Replan;
}

TprocessThread::StepOutcome TprocessThread::checkDiscFit(const plan::CheckDiscFit& step,
                                                         TaskRun& run) {
    const std::uint64_t image = discSize::imageBytesOfFolder(step.videoTsFolder);
    if (image <= step.disc.bytes) {
        reportDone(discFitting::takesText(step.videoTsFolder, image, step.disc));
        return StepOutcome::Done;
    }
    TaskStreams& streams = run.plan.streams;
    // A second fitting starts again from the demultiplexed video, into a DVD folder emptied of
    // what this run authored into it.
    if (step.canFitAgain && run.dvdMatches && isExistingFile(run.task.m2vFilePath)) {
        const double factor =
            discFitting::refittingFactor(discFitting::titleOfStreamFiles(run.task, streams),
                                         streams.fittingFactor, image, step.disc);
        if (std::isfinite(factor) && removeAuthoredFiles(step.videoTsFolder)) {
            reportDone(discFitting::fittedAgainText(step.videoTsFolder, image, step.disc));
            streams.fittingFactor = factor;
            streams.fittingIsPredicted = false;
            ++streams.fittingRounds;
            run.replanFrom = plan::StageKind::Fit;
            return StepOutcome::Replan;
        }
    }
    reportError(
        discFitting::tooBigText(step.videoTsFolder, image, step.disc, plan::fitsVideo(run.task)));
    run.dvdMatches = false;
    return StepOutcome::Done;
}

bool TprocessThread::removeAuthoredFiles(const std::string& videoTsFolder) {
    // Listed whole first: a folder read while its files go may skip some.
    std::error_code error;
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(videoTsFolder, error)) {
        paths.push_back(entry.path().string());
    }
    for (const std::string& path : paths) {
        std::string reason;
        if (!services_.platform.deleteFile(path, reason)) {
            reportError(path + language::fileNotDeleted + reason);
            return false;
        }
    }
    return !error;
}

void TprocessThread::reportImage(const plan::ReportImage& step) {
    reportDone(discFitting::imageText(step.imagePath, fileBytesOf(step.imagePath), step.disc));
}
