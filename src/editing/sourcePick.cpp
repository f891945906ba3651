#include "editing/sourcePick.h"

#include "chapters/chapterList.h"
#include "editing/okCheck.h"
#include "files/textFile.h"
#include "language/language.h"
#include "paths/pathPieces.h"

namespace {

// The remuxed VOB and the destination folder proposed beside any picked file.
void proposeOutputsBeside(Ttask& boxes, const std::string& path) {
    boxes.vobFilePath = pathPieces::folderOf(path) + language::derivedRemuxedVobName;
    boxes.dvdFolderPath = pathPieces::folderWithoutLastCharacter(path);
}

std::optional<std::string> cellTimesBeside(const std::string& path) {
    const std::string cellTimes = pathPieces::folderOf(path) + language::cellTimesFileName;
    if (!isExistingFile(cellTimes)) {
        return std::nullopt;
    }
    return cellTimes;
}

}  // namespace

namespace sourcePick {

std::optional<std::string> pickSource(Ttask& boxes, const std::string& path) {
    if (!pathPieces::endsWithVob(path)) {
        boxes.doDemux = false;
        return pickVideoStream(boxes, path);
    }
    const std::string folder = pathPieces::folderOf(path);
    boxes.origVobFilePath = path;
    boxes.m2vFilePath = folder + language::derivedVideoStreamName;
    boxes.ac3FilePath = folder + language::derivedAudioStreamName;
    proposeOutputsBeside(boxes, path);
    return cellTimesBeside(path);
}

std::optional<std::string> pickVideoStream(Ttask& boxes, const std::string& path) {
    boxes.m2vFilePath = path;
    const std::string audioStream = pathPieces::replaceExtension(path, ".ac3");
    boxes.ac3FilePath =
        isExistingFile(audioStream) ? audioStream : pathPieces::folderWithoutLastCharacter(path);
    proposeOutputsBeside(boxes, path);
    return cellTimesBeside(path);
}

void pickStreamDestination(Ttask& boxes, const std::string& path) {
    boxes.m2vFilePath = path;
    boxes.ac3FilePath = pathPieces::replaceExtension(path, ".ac3");
    proposeOutputsBeside(boxes, path);
}

std::optional<std::string> pickRemuxedVob(Ttask& boxes, const std::string& path) {
    boxes.vobFilePath = path;
    boxes.dvdFolderPath = pathPieces::folderWithoutLastCharacter(path);
    if (boxes.doRemux) {
        return std::nullopt;
    }
    return cellTimesBeside(path);
}

std::string proposedName(const Ttask& boxes, Output output) {
    const auto textOr = [](const std::string& text, const char* name) {
        return text.empty() ? std::string(name) : text;
    };
    switch (output) {
        case Output::videoStream:
            return textOr(boxes.m2vFilePath, language::derivedVideoStreamName);
        case Output::audioStream:
            return textOr(boxes.ac3FilePath, language::derivedAudioStreamName);
        case Output::remuxedVob:
            break;
    }
    return textOr(boxes.vobFilePath, language::remuxedVobChooserName);
}

}  // namespace sourcePick

Ttask taskFromSourceFile(const std::string& path, const std::string& videoStandard,
                         const RegionalFormats& formats) {
    Ttask boxes;
    const std::optional<std::string> chapterFile = sourcePick::pickSource(boxes, path);
    if (chapterFile) {
        boxes.chapterList = chapters::importChapterFile(*chapterFile, videoStandard, formats);
    }
    return taskFromBoxes(boxes);
}
