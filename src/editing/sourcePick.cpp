#include "editing/sourcePick.h"

#include "chapters/chapterList.h"
#include "editing/okCheck.h"
#include "files/textFile.h"
#include "language/language.h"
#include "paths/pathPieces.h"

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
