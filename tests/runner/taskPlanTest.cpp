#include "runner/plan/taskPlan.h"

#include <gtest/gtest.h>

#include <sstream>

#include "language/language.h"
#include "storage/settings.h"
#include "task/task.h"

namespace {

// A plan as lines that a table can hold: per stage its inputs, reference and deletions, per step
// what it runs, writes and expects ("share*ref+kb ±tolerance").
std::string expectationText(const plan::Expectation& expected) {
    std::ostringstream text;
    text << expected.shareOfReference << "*ref" << (expected.kb < 0 ? "" : "+") << expected.kb;
    return text.str();
}

std::string joined(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += (text.empty() ? "" : ",") + path;
    }
    return text;
}

std::vector<std::string> planLines(const plan::TaskPlan& taskPlan) {
    std::vector<std::string> lines;
    for (const plan::Stage& stage : taskPlan.stages) {
        std::string line = "stage in=" + joined(stage.inputs);
        if (!stage.reference.imageOfFolder.empty()) {
            line += " ref=image(" + stage.reference.imageOfFolder + ")";
        }
        if (!stage.reference.measured.empty()) {
            std::ostringstream factor;
            factor << stage.reference.factor;
            line += " ref=" + factor.str() + "*(" + joined(stage.reference.measured) + ")";
        }
        if (!stage.emptyFolder.empty()) {
            line += " empty=" + stage.emptyFolder;
        }
        lines.push_back(line);
        for (const plan::Step& step : stage.steps) {
            if (const auto* run = std::get_if<plan::ToolRun>(&step)) {
                std::ostringstream text;
                text << "  run " << run->command.arguments.front() << " -> " << run->target
                     << " check=" << static_cast<int>(run->check) << " "
                     << expectationText(run->expected) << " ±" << run->tolerancePercent;
                for (const plan::OutputCheck& output : run->outputChecks) {
                    text << " | " << output.path << " " << expectationText(output.expected) << " ±"
                         << output.tolerancePercent;
                }
                if (!run->removedAfter.empty()) {
                    text << " then removes " << joined(run->removedAfter);
                }
                lines.push_back(text.str());
            } else if (const auto* note = std::get_if<plan::NoteWhenAllDone>(&step)) {
                lines.push_back("  note " + note->text);
            } else if (const auto* control = std::get_if<plan::WriteAuthoringControl>(&step)) {
                lines.push_back("  control " + control->controlPath +
                                " palette=" + control->palettePath);
            } else if (const auto* check = std::get_if<plan::CheckAuthoredDvd>(&step)) {
                lines.push_back("  check " + check->videoTsFolder +
                                (check->checksSubtitles ? " with subtitles" : ""));
            } else if (const auto* decision = std::get_if<plan::DecideFitting>(&step)) {
                lines.push_back("  decide fitting to " + decision->disc.name);
            } else if (const auto* discCheck = std::get_if<plan::CheckDiscFit>(&step)) {
                lines.push_back("  disc check " + discCheck->disc.name +
                                (discCheck->canFitAgain ? " can fit again" : ""));
            } else {
                lines.push_back("  report image " + std::get<plan::ReportImage>(step).imagePath);
            }
        }
        if (!stage.deletedAfter.empty()) {
            lines.push_back(std::string("  deletes ") + joined(stage.deletedAfter) +
                            (stage.deletionNeedsMatchingDvd ? " if the DVD matches" : ""));
        }
    }
    return lines;
}

Ttask taskOfStages(bool demux, bool remux, bool author) {
    Ttask task;
    task.origVobFilePath = "s.VOB";
    task.m2vFilePath = "s.m2v";
    task.ac3FilePath = "s.ac3";
    task.vobFilePath = "r.VOB";
    task.dvdFolderPath = "dvd";
    task.doDemux = demux;
    task.doRemux = remux;
    task.doAuthor = author;
    return task;
}

AudioTrack track(const std::string& path, std::optional<double> expectedKb) {
    AudioTrack made;
    made.path = path;
    made.expectedKb = expectedKb;
    return made;
}

SettingsValues tools() {
    SettingsValues settings;
    settings.demuxExePath = "bbdmux";
    settings.muxExePath = "mplex";
    settings.authorExePath = "dvdauthor";
    settings.requantizerExePath = "m2vrequantiser";
    settings.imagerExePath = "genisoimage";
    return settings;
}

const std::string videoTs = plan::videoTsFolderOf(taskOfStages(true, true, true));

}  // namespace

TEST(TaskPlanTest, StagesStepsExpectationsAndDeletionsOfEachKindOfTask) {
    TaskStreams firstTrack;
    firstTrack.tracks = {track("s.ac3", std::nullopt)};
    TaskStreams everyTrack;
    everyTrack.keepsEveryAudioTrack = true;
    everyTrack.tracks = {track("s.ac3", 100), track("s.2.mp2", 50), track("s.3.ac3", std::nullopt)};
    everyTrack.leftOutAudioKb = 30;
    everyTrack.corrections = {mpeg::AudioCorrection{}};
    TaskStreams subtitles = firstTrack;
    SubtitleStream measured;
    measured.path = "s.s32.spu";
    measured.expectedKb = 4;
    SubtitleStream unmeasured;
    unmeasured.streamId = 0x21;
    unmeasured.path = "s.s33.spu";
    subtitles.subtitles = {measured, unmeasured};
    subtitles.sourceSubtitles = mpeg::TitleSubtitles{};
    const std::string keptInStep = keptInStepSummary(everyTrack.corrections);

    struct Case {
        const char* name;
        Ttask task;
        TaskStreams streams;
        std::vector<std::string> lines;
        int toolRuns;
    };
    Ttask deleting = taskOfStages(true, true, true);
    deleting.deleteOrigVob = deleting.deleteStreams = deleting.deleteVob = true;
    Ttask fittedWithImage = deleting;
    fittedWithImage.extraChoices = "disc=DVD-5 iso";
    TaskStreams tooBig = firstTrack;
    tooBig.fittingFactor = 1.25;
    TaskStreams fittedOnce = tooBig;
    fittedOnce.fittingIsPredicted = false;
    fittedOnce.fittingRounds = 1;
    Ttask fittedAgain = taskOfStages(true, true, true);
    fittedAgain.extraChoices = "disc=DVD-5";
    const std::vector<Case> cases{
        {"every stage, the first AC-3 track",
         deleting,
         firstTrack,
         {"stage in=s.VOB ref=1*(s.VOB)", "  run bbdmux -> s.ac3 check=1 0.065*ref+0 ±60",
          "  run bbdmux -> s.m2v check=1 0.9*ref+0 ±5", "  deletes s.VOB", "stage in=s.m2v,s.ac3",
          "  run mplex -> r.VOB check=1 1*ref+0 ±5", "  deletes s.m2v,s.ac3",
          "stage in=r.VOB empty=" + videoTs,
          "  run dvdauthor -> " + videoTs + " check=2 1*ref+0 ±5",
          "  run dvdauthor -> " + videoTs + " check=0 1*ref+0 ±0", "  check " + videoTs,
          "  deletes r.VOB if the DVD matches"},
         5},
        // The video expects what the measured tracks and the left-out audio leave of the source;
        // the streams measured, the multiplexing expects what they take.
        {"every audio track",
         taskOfStages(true, true, false),
         everyTrack,
         {"stage in=s.VOB ref=1*(s.VOB)", "  run bbdmux -> s.ac3 check=1 0*ref+100 ±25",
          "  run bbdmux -> s.2.mp2 check=1 0*ref+50 ±25",
          "  run bbdmux -> s.3.ac3 check=1 0.065*ref+0 ±60", "  note " + keptInStep,
          "  run bbdmux -> s.m2v check=1 0.9*ref-180 ±5",
          "stage in=s.m2v,s.ac3,s.2.mp2,s.3.ac3 ref=1.04*(s.m2v,s.ac3,s.2.mp2,s.3.ac3)",
          "  run mplex -> r.VOB check=1 1*ref+0 ±5"},
         5},
        // One reading writes every stream; a subtitle stream is checked only where the source's
        // timeline tells its size.
        {"every subtitle stream",
         taskOfStages(true, true, true),
         subtitles,
         {"stage in=s.VOB ref=1*(s.VOB)",
          "  run bbdmux -> s.m2v check=0 0.9*ref+0 ±0 | s.ac3 0.065*ref+0 ±60 | s.s32.spu "
          "0*ref+4 ±25 | s.m2v 0.9*ref+0 ±5",
          "stage in=s.m2v,s.ac3,s.s32.spu,s.s33.spu", "  run mplex -> r.VOB check=1 1*ref+0 ±5",
          "stage in=r.VOB empty=" + videoTs,
          "  control r.VOB.dvdauthor.xml palette=r.VOB.palette.yuv",
          "  run dvdauthor -> " + videoTs +
              " check=2 1*ref+0 ±5 then removes r.VOB.dvdauthor.xml,r.VOB.palette.yuv",
          "  run dvdauthor -> " + videoTs + " check=0 1*ref+0 ±0",
          "  check " + videoTs + " with subtitles"},
         4},
        {"multiplexing alone measures its inputs",
         taskOfStages(false, true, false),
         firstTrack,
         {"stage in=s.m2v,s.ac3 ref=1.04*(s.m2v,s.ac3)", "  run mplex -> r.VOB check=1 1*ref+0 ±5"},
         1},
        {"authoring alone measures its VOB",
         taskOfStages(false, false, true),
         firstTrack,
         {"stage in=r.VOB ref=1*(r.VOB) empty=" + videoTs,
          "  run dvdauthor -> " + videoTs + " check=2 1*ref+0 ±5",
          "  run dvdauthor -> " + videoTs + " check=0 1*ref+0 ±0", "  check " + videoTs},
         2},
        // Fitted to its disc: the requantizer between the demultiplexing and the
        // multiplexing, the streams deleted once the DVD fits, and the image last.
        {"fitted to a disc, with an image",
         fittedWithImage,
         tooBig,
         {"stage in=s.VOB ref=1*(s.VOB)", "  run bbdmux -> s.ac3 check=1 0.065*ref+0 ±60",
          "  run bbdmux -> s.m2v check=1 0.9*ref+0 ±5", "  deletes s.VOB",
          "stage in=s.m2v ref=1*(s.m2v)", "  decide fitting to DVD-5",
          "  run m2vrequantiser -> s.fitted.m2v check=1 0.8*ref+0 ±5",
          "  note Video fitted to DVD-5: requantized by 1.250, to 80 % of its size ",
          "stage in=s.fitted.m2v,s.ac3 ref=1.04*(s.fitted.m2v,s.ac3)",
          "  run mplex -> r.VOB check=1 1*ref+0 ±5", "stage in=r.VOB empty=" + videoTs,
          "  run dvdauthor -> " + videoTs + " check=2 1*ref+0 ±5",
          "  run dvdauthor -> " + videoTs + " check=0 1*ref+0 ±0", "  check " + videoTs,
          "  disc check DVD-5 can fit again",
          "  deletes s.m2v,s.fitted.m2v,s.ac3,r.VOB if the DVD matches",
          "stage in= ref=image(" + videoTs + ")", "  run genisoimage -> dvd.iso check=1 1*ref+0 ±1",
          "  report image dvd.iso"},
         7},
        // Fitted once more, the factor is the measured one and the next check is the last.
        {"fitted a second time",
         fittedAgain,
         fittedOnce,
         {"stage in=s.VOB ref=1*(s.VOB)", "  run bbdmux -> s.ac3 check=1 0.065*ref+0 ±60",
          "  run bbdmux -> s.m2v check=1 0.9*ref+0 ±5", "stage in=s.m2v ref=1*(s.m2v)",
          "  run m2vrequantiser -> s.fitted.m2v check=1 0.8*ref+0 ±5",
          "  note Video fitted to DVD-5: requantized by 1.250, to 80 % of its size ",
          "stage in=s.fitted.m2v,s.ac3 ref=1.04*(s.fitted.m2v,s.ac3)",
          "  run mplex -> r.VOB check=1 1*ref+0 ±5", "stage in=r.VOB empty=" + videoTs,
          "  run dvdauthor -> " + videoTs + " check=2 1*ref+0 ±5",
          "  run dvdauthor -> " + videoTs + " check=0 1*ref+0 ±0", "  check " + videoTs,
          "  disc check DVD-5"},
         6},
        {"no stage", taskOfStages(false, false, false), firstTrack, {}, 0},
    };
    for (const Case& each : cases) {
        const plan::TaskPlan taskPlan = plan::planTask(each.task, each.streams, tools());
        EXPECT_EQ(planLines(taskPlan), each.lines) << each.name;
        EXPECT_EQ(taskPlan.toolRunCount(), each.toolRuns) << each.name;
        EXPECT_EQ(taskPlan.emptyDvdFolderAtStart, each.task.doAuthor ? videoTs : "") << each.name;
    }
}

TEST(TaskPlanTest, TheTaskFilesAreTheRecordsAndTheStreamsEachOnceWithWhatTheyAre) {
    Ttask task = taskOfStages(true, true, true);
    task.extraChoices = "audio=all subtitles=all disc=DVD-9 iso";
    TaskStreams streams;
    streams.keepsEveryAudioTrack = true;
    streams.tracks = {track("s.ac3", std::nullopt), track("s.2.mp2", std::nullopt)};
    SubtitleStream subtitle;
    subtitle.path = "s.s32.spu";
    streams.subtitles = {subtitle};
    using plan::FileRole;
    std::vector<std::pair<std::string, FileRole>> files;
    for (const plan::TaskFile& file : plan::filesOf(task, streams)) {
        files.emplace_back(file.path, file.role);
    }
    EXPECT_EQ(files, (std::vector<std::pair<std::string, FileRole>>{
                         {"s.VOB", FileRole::Source},
                         {"s.m2v", FileRole::VideoStream},
                         {"s.ac3", FileRole::AudioStream},
                         {"s.2.mp2", FileRole::AudioStream},
                         {"s.s32.spu", FileRole::SubtitleStream},
                         {"r.VOB.dvdauthor.xml", FileRole::AuthoringControl},
                         {"r.VOB.palette.yuv", FileRole::AuthoringControl},
                         {"s.fitted.m2v", FileRole::FittedVideo},
                         {"r.VOB", FileRole::RemuxedVob},
                         {"dvd", FileRole::DvdFolder},
                         {"dvd.iso", FileRole::DiscImage}}));
    task.dvdFolderPath.clear();
    task.doAuthor = false;
    EXPECT_EQ(plan::filesOf(task, streams).back().path, "r.VOB");
}
