// Sync and length of authored titles, measured as a viewer notices them: a flash and a beep that
// should come together. Sources are made as real discs have them: audio that starts before or
// after the video, a VOB that begins at an arbitrary sector.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "editing/sourceFiles.h"
#include "regional/regionalFormats.h"
#include "runner/plan/audioTracks.h"
#include "storage/projectFile.h"
#include "support/batchProcess.h"
#include "support/fakeTools.h"
#include "support/syncMaterial.h"
#include "support/tempFolder.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace {

constexpr double audioFrameMs = 32;  // an AC-3 frame at 48 kHz: the finest step of a resync
// What a viewer notices as out of step: a little more than an AC-3 frame.
constexpr double noticeableMs = 34;
constexpr double lengthToleranceSeconds = 1;
constexpr int enoughPairs = 3;

class SyncTest : public ::testing::Test {
protected:
    TaskRef addTask(const std::string& name, const std::string& chapters = "00:00:00") {
        TaskRef task = taskInFolder(folder.path(), name, -1);
        task->chapterList = chapters;
        tasks.clear();
        tasks.add(task);
        return task;
    }

    BatchOutcome runProject() { return runWithBundledTools(folder, tasks); }

    std::string log() const { return readBytes(folder.file("run.log")); }
    bool logHasError() const { return log().find("ERROR !!!!") != std::string::npos; }

    SyncMeasurement measure(const std::string& vob, int audioTrack = 0) const {
        return measureSync(vob, folder.file("measuring"), audioTrack);
    }

    static std::string title(const Ttask& task) {
        return task.dvdFolderPath + "/VIDEO_TS/VTS_01_1.VOB";
    }

    TempFolder folder;
    TAllTask tasks;
};

}  // namespace

TEST_F(SyncTest, MeasurementReadsTheOffsetTheMaterialWasMadeWith) {
    const std::string aligned = folder.file("aligned.VOB");
    ASSERT_TRUE(makeSyncSource(aligned, 12));
    for (const double shift : {0.0, 0.4, -0.3}) {
        SCOPED_TRACE(shift);
        std::string vob = aligned;
        if (shift != 0) {
            vob = folder.file("shifted.VOB");
            ASSERT_TRUE(shiftAudio(aligned, vob, shift));
            const StreamStarts starts = streamStarts(vob, folder.file("probing"));
            ASSERT_TRUE(starts.read);
            EXPECT_NEAR(starts.audio - starts.video, shift, 0.001);
        }
        const SyncMeasurement measured = measure(vob);
        EXPECT_EQ(measured.pairs, 6);
        EXPECT_NEAR(measured.offsetMs, shift * 1000, 10);
        EXPECT_NEAR(measured.videoSeconds, 12, 0.1);
        RecordProperty("offsetMs" + std::to_string(static_cast<int>(shift * 1000)),
                       std::to_string(measured.offsetMs));
    }
}

TEST_F(SyncTest, AuthoredTitlesKeepTheSourcesSyncAndLength) {
    struct Case {
        const char* name;
        int seconds;
        double audioShift;
        bool cutAThirdIn;
    };
    const Case cases[] = {
        {"late", 12, 0.4, false},
        {"early", 12, -0.3, false},
        {"cut", 30, 0, true},
    };
    for (const Case& source : cases) {
        SCOPED_TRACE(source.name);
        TaskRef task = addTask(source.name);
        const std::string made = folder.file(source.name + std::string(" made.VOB"));
        ASSERT_TRUE(makeSyncSource(made, source.seconds));
        ASSERT_TRUE(source.cutAThirdIn
                        ? cutAtSector(made, task->origVobFilePath,
                                      std::filesystem::file_size(made) / 2048 / 3)
                        : shiftAudio(made, task->origVobFilePath, source.audioShift));
        const SyncMeasurement before = measure(task->origVobFilePath);
        ASSERT_GE(before.pairs, enoughPairs);

        const BatchOutcome outcome = runProject();
        EXPECT_EQ(outcome.status, 0) << readBytes(folder.file("stderr.txt")) << outcome.output;
        EXPECT_FALSE(logHasError()) << log();
        const SyncMeasurement after = measure(title(*task));
        EXPECT_GE(after.pairs, enoughPairs);
        EXPECT_NEAR(after.offsetMs, before.offsetMs, audioFrameMs);
        EXPECT_NEAR(after.videoSeconds, before.videoSeconds, lengthToleranceSeconds);
        RecordProperty(source.name, std::to_string(before.offsetMs) + " ms, " +
                                        std::to_string(before.videoSeconds) + " s -> " +
                                        std::to_string(after.offsetMs) + " ms, " +
                                        std::to_string(after.videoSeconds) + " s");
    }
}

TEST_F(SyncTest, EveryAudioTrackIsAuthoredInSync) {
    struct Case {
        const char* name;
        std::vector<std::string> codecs;
        double audioShift;
        const char* authoredFormats;
        int noise;
        bool deleteStreams;
    };
    // Beside MPEG audio, mplex reports buffer under-runs for the heaviest picture (and the run
    // reports its exit status): a little less noise.
    const Case cases[] = {
        {"two AC-3", {"ac3", "ac3"}, 0.4, " -a ac3,ac3 ", 6, true},
        {"MPEG audio alone", {"mp2"}, -0.3, " -a mp2 ", 5, false},
    };
    for (const Case& source : cases) {
        SCOPED_TRACE(source.name);
        TaskRef task = addTask(source.name);
        taskChoices::setKeepEveryAudioTrack(*task, true);
        task->deleteStreams = source.deleteStreams;
        const std::string made = folder.file(source.name + std::string(" made.VOB"));
        ASSERT_TRUE(makeSyncSource(made, 12, source.codecs, source.noise));
        ASSERT_TRUE(shiftAudio(made, task->origVobFilePath, source.audioShift));
        std::vector<AudioTrack> planned = everyAudioTrack(*task);
        ASSERT_EQ(planned.size(), source.codecs.size());
        ASSERT_TRUE(measureOnTimeline(planned, task->origVobFilePath).read);

        const BatchOutcome outcome = runProject();
        EXPECT_EQ(outcome.status, 0) << readBytes(folder.file("stderr.txt")) << outcome.output;
        EXPECT_FALSE(logHasError()) << log();
        EXPECT_NE(log().find(source.authoredFormats), std::string::npos) << log();
        const int trackCount = static_cast<int>(source.codecs.size());
        EXPECT_NE(log().find(std::to_string(trackCount) + " audio track"), std::string::npos);
        for (int track = 0; track < trackCount; ++track) {
            SCOPED_TRACE(track);
            const SyncMeasurement before = measure(task->origVobFilePath, track);
            ASSERT_GE(before.pairs, enoughPairs);
            const SyncMeasurement after = measure(title(*task), track);
            EXPECT_GE(after.pairs, enoughPairs);
            EXPECT_NEAR(after.offsetMs, before.offsetMs, audioFrameMs);
            RecordProperty(source.name + std::string(" track ") + std::to_string(track + 1),
                           std::to_string(before.offsetMs) + " ms -> " +
                               std::to_string(after.offsetMs) + " ms");
        }
        if (!source.deleteStreams) {
            // What the size checks expect is what a track takes: one written half is short.
            for (const AudioTrack& track : planned) {
                ASSERT_TRUE(track.expectedKb) << track.path;
                const double kept = std::filesystem::file_size(track.path) / 1024.0;
                EXPECT_NEAR(kept / *track.expectedKb, 1, 0.05) << track.path;
            }
            continue;
        }
        // Every kept stream went with the video once the VOB was made.
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            const std::string name = entry.path().filename().string();
            const bool isStream = name.rfind(source.name + std::string("."), 0) == 0 &&
                                  entry.path().extension() != ".VOB";
            EXPECT_FALSE(isStream) << name;
        }
    }
}

TEST_F(SyncTest, ATitleMadeOfPiecesStaysInStepInEachPiece) {
    struct Case {
        const char* name;
        std::vector<SyncPiece> pieces;
        // An audio dropout, in seconds of the source's own time stamps; none when from == to.
        double holeFrom = 0;
        double holeTo = 0;
        bool keptInStep = true;  // the run log says where the audio was kept in step
    };
    const Case cases[] = {
        {"pieces of uneven audio, time stamps restarting",
         {{6, 6.3, false, 0}, {6, 5.8, false, 0}, {6, 6, false, 0}}},
        {"an audio gap of 0.6 s", {{12, 12, false, 0}}, 5.7, 6.3},
        {"time stamps jumping forward over an hour", {{6, 6, false, 0}, {6, 6, true, 0}}},
        {"192 kbps audio in a 9 Mbps VOB", {{12, 12, false, 8500}}, 0, 0, false},
    };
    for (const Case& source : cases) {
        SCOPED_TRACE(source.name);
        TaskRef task = addTask(source.name);
        std::vector<std::string> files;
        std::vector<double> sourceOffsets;
        double length = 0;
        for (const SyncPiece& piece : source.pieces) {
            files.push_back(folder.file(source.name + std::to_string(files.size()) + ".VOB"));
            ASSERT_TRUE(makeSyncPiece(files.back(), piece));
            const SyncMeasurement own = measure(files.back());
            ASSERT_GE(own.pairs, enoughPairs);
            sourceOffsets.push_back(own.offsetMs);
            length += own.videoSeconds + 0.04;
        }
        ASSERT_TRUE(concatenate(files, task->origVobFilePath));
        if (source.holeTo > source.holeFrom) {
            const std::string whole = folder.file(source.name + std::string(" whole.VOB"));
            std::filesystem::rename(task->origVobFilePath, whole);
            ASSERT_TRUE(dropAudio(whole, task->origVobFilePath, source.holeFrom, source.holeTo));
        }

        const BatchOutcome outcome = runProject();
        EXPECT_EQ(outcome.status, 0) << readBytes(folder.file("stderr.txt")) << outcome.output;
        EXPECT_FALSE(logHasError()) << log();
        EXPECT_EQ(log().find("Audio kept in step at ") != std::string::npos, source.keptInStep)
            << log();
        const SyncMeasurement after = measure(title(*task));
        EXPECT_NEAR(after.videoSeconds + 0.04, length, lengthToleranceSeconds);
        // Every flash against its own piece's offset in the source.
        EXPECT_EQ(after.flashes.size(),
                  3 * source.pieces.size() * (source.pieces.size() == 1 ? 2 : 1));
        std::string offsets;
        for (const auto& [time, offset] : after.flashes) {
            const std::size_t piece =
                std::min(static_cast<std::size_t>(time / source.pieces.front().videoSeconds),
                         source.pieces.size() - 1);
            EXPECT_NEAR(offset, sourceOffsets[piece], noticeableMs) << "flash at " << time << " s";
            offsets += " " + std::to_string(static_cast<int>(std::lround(offset)));
        }
        std::string own;
        for (const double offset : sourceOffsets) {
            own += " " + std::to_string(static_cast<int>(std::lround(offset)));
        }
        RecordProperty(source.name,
                       "source pieces (ms):" + own + "; authored flashes (ms):" + offsets);
    }
}

TEST_F(SyncTest, SeveralVobsOfOneFolderAreAuthoredInOneRunWithoutAClash) {
    std::vector<std::string> sources;
    for (const char* name : {"VTS_01_1.VOB", "VTS_01_2.VOB", "VTS_01_3.VOB"}) {
        sources.push_back(folder.file(std::string("disc/") + name));
        std::filesystem::create_directories(folder.file("disc"));
        ASSERT_TRUE(makeSyncSource(sources.back(), 6));
    }
    const SourceFilesOutcome added = tasksFromSourceFiles(sources, tasks, "PAL", RegionalFormats());
    ASSERT_EQ(added.tasks.size(), 3u) << sourceFilesSummary(added);
    tasks.clear();
    for (const Ttask& task : added.tasks) {
        tasks.add(std::make_shared<Ttask>(task));
    }

    EXPECT_EQ(runProject().status, 0) << log();
    EXPECT_FALSE(logHasError()) << log();
    for (const Ttask& task : added.tasks) {
        EXPECT_GE(measure(title(task)).pairs, 2) << task.dvdFolderPath;
    }
}

TEST_F(SyncTest, AChapterPastTheEndOfTheTitleIsAnError) {
    const std::string source = folder.file("made.VOB");
    ASSERT_TRUE(makeSyncSource(source, 12));
    // The same title with its chapters within it: the error comes from the chapter alone.
    for (const auto& [chapters, status] :
         {std::pair{"00:00:00,00:00:06", 0}, std::pair{"00:00:00,00:00:06,00:00:40", 1}}) {
        SCOPED_TRACE(chapters);
        TaskRef task = addTask(std::to_string(status), chapters);
        std::filesystem::copy_file(source, task->origVobFilePath);
        EXPECT_EQ(runProject().status, status) << log();
        EXPECT_EQ(logHasError(), status != 0) << log();
    }
}

TEST_F(SyncTest, StreamsOfAPreviousRunAreNotAuthoredForASourceThatCannotBeRead) {
    TaskRef task = addTask("again");
    ASSERT_TRUE(makeSyncSource(task->origVobFilePath, 12));
    ASSERT_EQ(runProject().status, 0) << log();

    // Noise of the source's size: the previous run's streams would pass the size checks.
    std::string noise(std::filesystem::file_size(task->origVobFilePath), '\0');
    std::mt19937 generator(11);
    for (char& byte : noise) {
        byte = static_cast<char>(generator());
    }
    writeBytes(task->origVobFilePath, noise);
    std::filesystem::remove_all(task->dvdFolderPath);

    EXPECT_EQ(runProject().status, 1) << log();
    EXPECT_TRUE(logHasError()) << log();
    EXPECT_LT(measure(title(*task)).pairs, enoughPairs)
        << "the previous source's picture and sound were authored\n"
        << log();
}
