#include "editing/sourceFiles.h"

#include <cctype>
#include <exception>
#include <optional>

#include "editing/okCheck.h"
#include "editing/sourcePick.h"
#include "editing/sourceStreams.h"
#include "files/textFile.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "paths/pathPieces.h"
#include "task/taskChoices.h"
#include "task/taskDescription.h"

namespace {

// More names than this in one list would make a box taller than the screen.
constexpr std::size_t listedNamesAtMost = 20;

bool hasVideoStreamExtension(const std::string& path) {
    const std::string extension = ".m2v";
    if (path.size() < extension.size()) {
        return false;
    }
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = path[path.size() - extension.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != extension[i]) {
            return false;
        }
    }
    return true;
}

// Why OK would refuse the task of a file, in the summary's words; nothing when it would accept it.
std::optional<std::string> refusal(const Ttask& task) {
    const std::optional<OkFailure> failure = checkTaskAsEditorOk(task);
    if (!failure) {
        return std::nullopt;
    }
    switch (failure->reason) {
        case OkFailure::Reason::overwritesSource:
        case OkFailure::Reason::streamIsSource:
            return std::string(language::bulkOverwritesSource);
        case OkFailure::Reason::missingInput:
            if (firstMissingInput(task) == task.ac3FilePath && !task.doDemux) {
                return std::string(language::bulkNoAudioStream);
            }
            return std::string(language::bulkUnreadable);
        case OkFailure::Reason::folderNotCreated:
            break;
    }
    return std::string(language::bulkFolderNotCreated);
}

bool sameFolder(const std::string& first, const std::string& second) {
    const std::string firstFolder = pathPieces::folderOf(first);
    const std::string secondFolder = pathPieces::folderOf(second);
    return firstFolder == secondFolder || namesSameFile(firstFolder, secondFolder);
}

void appendList(std::string& text, const char* heading, const std::vector<std::string>& lines) {
    text += formatMessage(heading, static_cast<int>(lines.size()));
    for (std::size_t i = 0; i < lines.size() && i < listedNamesAtMost; ++i) {
        text += "\r\n   " + lines[i];
    }
    if (lines.size() > listedNamesAtMost) {
        text += "\r\n   " + formatMessage(language::bulkMoreFiles,
                                          static_cast<int>(lines.size() - listedNamesAtMost));
    }
}

}  // namespace

bool isSourceFileName(const std::string& path) {
    return pathPieces::endsWithVob(path) || hasVideoStreamExtension(path);
}

SourceFilesOutcome tasksFromSourceFiles(const std::vector<std::string>& paths, const TAllTask& list,
                                        const std::string& videoStandard,
                                        const RegionalFormats& formats) {
    std::vector<std::string> listSources;
    for (int i = 0; i < list.count(); ++i) {
        listSources.push_back(taskDescription::firstFileName(*list.taskAt(i)));
    }
    const auto isTaskSource = [&listSources](const std::string& path) {
        for (const std::string& source : listSources) {
            if (!source.empty() && (source == path || namesSameFile(source, path))) {
                return true;
            }
        }
        return false;
    };
    const auto sharesFolder = [&](const std::string& path) {
        for (const std::string& other : listSources) {
            if (!other.empty() && sameFolder(path, other)) {
                return true;
            }
        }
        for (const std::string& other : paths) {
            if (other != path && isSourceFileName(other) && sameFolder(path, other)) {
                return true;
            }
        }
        return false;
    };

    SourceFilesOutcome outcome;
    for (const std::string& path : paths) {
        if (!isSourceFileName(path)) {
            outcome.skipped.push_back({path, language::bulkNotSource});
            continue;
        }
        if (isTaskSource(path)) {
            outcome.skipped.push_back({path, language::bulkAlreadyATask});
            continue;
        }
        try {
            Ttask task = taskFromSourceFile(path, videoStandard, formats);
            const bool ownNames = sharesFolder(path);
            if (ownNames) {
                giveOwnNames(task, path);
            }
            if (task.doDemux && keepEveryTrackByDefault(path)) {
                taskChoices::setKeepEveryAudioTrack(task, true);
            }
            if (task.doDemux && keepSubtitlesByDefault(path)) {
                taskChoices::setKeepEverySubtitleStream(task, true);
            }
            if (const std::optional<std::string> reason = refusal(task)) {
                outcome.skipped.push_back({path, *reason});
                continue;
            }
            outcome.tasks.push_back(task);
            outcome.addedFiles.push_back(path);
            listSources.push_back(path);
            if (ownNames) {
                outcome.renamedFiles.push_back(path);
            }
        } catch (const std::exception& error) {
            // A chapter file beside it that cannot be read, or a path naming no folder.
            outcome.skipped.push_back(
                {path, language::bulkCannotBeAdded + std::string(error.what())});
        }
    }
    return outcome;
}

std::string sourceFilesSummary(const SourceFilesOutcome& outcome) {
    std::string text;
    appendList(text, language::bulkTasksAdded, outcome.addedFiles);
    if (!outcome.renamedFiles.empty()) {
        text += "\r\n\r\n";
        appendList(text, language::bulkOwnNamesGiven, outcome.renamedFiles);
    }
    if (!outcome.skipped.empty()) {
        std::vector<std::string> lines;
        for (const SourceFilesOutcome::Skipped& skipped : outcome.skipped) {
            lines.push_back(skipped.path + skipped.reason);
        }
        text += "\r\n\r\n";
        appendList(text, language::bulkFilesSkipped, lines);
    }
    return text;
}

void giveOwnNames(Ttask& task, const std::string& source) {
    const std::string folder = pathPieces::folderOf(source);
    if (task.doDemux) {
        task.m2vFilePath = pathPieces::replaceExtension(source, ".m2v");
        task.ac3FilePath = pathPieces::replaceExtension(source, ".ac3");
    }
    // The source's name without its extension, kept in the folder's own names.
    const std::string name = pathPieces::replaceExtension(source, "").substr(folder.size());
    task.vobFilePath = folder + language::remuxedPrefix + name + ".VOB";
    task.dvdFolderPath = folder + name + language::ownDvdFolderSuffix;
}
