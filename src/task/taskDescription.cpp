#include "task/taskDescription.h"

#include "language/language.h"
#include "task/task.h"
#include "task/taskChoices.h"

namespace taskDescription {

namespace {

const char* const newLine = "\r\n";
constexpr std::size_t wrapWidth = 45;

std::string fileLine(const std::string& path, bool temporary) {
    return temporary ? path + language::temporaryMark : path;
}

}  // namespace

std::string firstFileName(const Ttask& task) {
    if (task.doDemux) {
        return task.origVobFilePath;
    }
    if (task.doRemux) {
        return task.m2vFilePath;
    }
    if (task.doAuthor) {
        return task.vobFilePath;
    }
    return std::string();
}

std::string hoverText(const Ttask& task) {
    std::string text;
    if (task.doDemux) {
        text += fileLine(task.origVobFilePath, task.deleteOrigVob);
        text += newLine;
        text += language::demuxedToHeading;
    }
    if (task.doDemux || task.doRemux) {
        text += newLine + fileLine(task.m2vFilePath, task.deleteStreams);
        text += newLine + fileLine(task.ac3FilePath, task.deleteStreams);
    }
    if (task.doRemux) {
        text += newLine;
        text += language::remuxedToHeading;
    }
    if (task.doRemux || task.doAuthor) {
        text += newLine + fileLine(task.vobFilePath, task.deleteVob);
    }
    if (task.doAuthor) {
        text += newLine;
        text += language::reauthoredIntoHeading;
        text += newLine + task.dvdFolderPath;
        text += newLine;
        text += language::withChaptersHeading;
        text += newLine + wrapChapterList(task.chapterList);
        text += "\r\n\r\n\r\n";
        text += language::temporaryLegend;
    }
    if (taskChoices::keepsEveryAudioTrack(task)) {
        text += newLine;
        text += language::everyAudioTrackLine;
    }
    if (taskChoices::keepsEverySubtitleStream(task)) {
        text += newLine;
        text += language::everySubtitleStreamLine;
    }
    const std::string disc = taskChoices::discName(task);
    if (!disc.empty() && task.doAuthor) {
        text += std::string(newLine) + language::discLine + disc;
    }
    if (taskChoices::makesImage(task) && task.doAuthor) {
        text += std::string(newLine) + language::imageLine + taskChoices::imagePath(task);
    }
    return text;
}

std::string wrapChapterList(const std::string& chapterList) {
    std::string wrapped;
    std::string line;
    bool waitingForComma = false;
    const auto endLine = [&](std::size_t length) {
        wrapped += line.substr(0, length) + newLine;
        line.erase(0, length);
    };
    for (const char c : chapterList) {
        line += c;
        if (waitingForComma) {
            if (c == ',') {
                endLine(line.size());
                waitingForComma = false;
            }
        } else if (line.size() >= wrapWidth) {
            // A comma in the first column would leave an empty line; it is no break point.
            const std::size_t lastComma = line.rfind(',');
            if (lastComma != std::string::npos && lastComma > 0) {
                endLine(lastComma + 1);
            } else {
                waitingForComma = true;
            }
        }
    }
    if (line.empty() && !wrapped.empty()) {
        wrapped.erase(wrapped.size() - 2);
    }
    return wrapped + line;
}

}  // namespace taskDescription
