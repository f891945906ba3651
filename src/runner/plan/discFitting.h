#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "runner/plan/discSize.h"
#include "task/taskChoices.h"

class Ttask;
struct TaskStreams;

// How a task's title is brought onto its disc, and what the run log says of it.
namespace discFitting {

// The title as the task's stream files make it, once demultiplexed.
discSize::TitleStreams titleOfStreamFiles(const Ttask& task, const TaskStreams& streams);
// The title as the task will make it, predicted before anything runs: from the source, less
// the audio the task leaves out, or from the stream files when the task does not demultiplex,
// or from the remultiplexed VOB when it only authors.
discSize::TitleStreams predictedTitle(const Ttask& task, const TaskStreams& streams);

// Sets the streams' fitting factor to the one the prediction asks for.
void predictFitting(const Ttask& task, TaskStreams& streams, const taskChoices::Disc& disc);

// The factor for one more fitting of a title whose DVD took imageBytes after a fitting by
// `factor`: what was too much is taken from the video.
double refittingFactor(const discSize::TitleStreams& streamFiles, double factor,
                       std::uint64_t imageBytes, const taskChoices::Disc& disc);

// What the task editor says of the task's disc, from the sizes of the files the task starts
// from: "about 5.21 GB: fitted to DVD-5, video at 86 %", "about 4.12 GB: fits DVD-5"; empty
// for a task without a disc or a DVD, or whose files are not there yet.
std::string predictionText(const Ttask& task);

// The run log's lines.
std::string fitsAsItIsText(const taskChoices::Disc& disc, std::uint64_t predictedBytes);
std::string takesText(const std::string& videoTsFolder, std::uint64_t imageBytes,
                      const taskChoices::Disc& disc);
std::string fittedAgainText(const std::string& videoTsFolder, std::uint64_t imageBytes,
                            const taskChoices::Disc& disc);
std::string tooBigText(const std::string& videoTsFolder, std::uint64_t imageBytes,
                       const taskChoices::Disc& disc, bool couldFit);
std::string imageText(const std::string& imagePath, std::uint64_t imageBytes,
                      const std::optional<taskChoices::Disc>& disc);
std::string unknownDiscText(const std::string& name);

}  // namespace discFitting
