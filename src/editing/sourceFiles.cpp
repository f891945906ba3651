#include "editing/sourceFiles.h"

#include <cctype>
#include <exception>
#include <optional>

#include "editing/okCheck.h"
#include "editing/sourcePick.h"
#include "language/language.h"
#include "language/messageFormat.h"
#include "paths/pathPieces.h"

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

SourceFilesOutcome tasksFromSourceFiles(const std::vector<std::string>& paths,
                                        const std::string& videoStandard,
                                        const RegionalFormats& formats) {
    SourceFilesOutcome outcome;
    for (const std::string& path : paths) {
        if (!isSourceFileName(path)) {
            outcome.skipped.push_back({path, language::bulkNotSource});
            continue;
        }
        try {
            const Ttask task = taskFromSourceFile(path, videoStandard, formats);
            if (const std::optional<std::string> reason = refusal(task)) {
                outcome.skipped.push_back({path, *reason});
                continue;
            }
            outcome.tasks.push_back(task);
            outcome.addedFiles.push_back(path);
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
