#include "batch/projectFileClash.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "batch/consoleReport.h"
#include "files/textFile.h"
#include "language/consoleTexts.h"
#include "runner/plan/taskPlan.h"

namespace fs = std::filesystem;

namespace {

// Where a file lies on its device; a hard link and the file it links share it.
struct Identity {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
};

Identity identityOf(const std::string& path) {
    // Windows gives no inode through stat: existence only, and equivalent() compares.
#ifdef _WIN32
    std::error_code error;
    return Identity{fs::exists(path, error), 0, 0};
#else
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return Identity{};
    }
    return Identity{true, static_cast<unsigned long long>(status.st_dev),
                    static_cast<unsigned long long>(status.st_ino)};
#endif
}

bool sameIdentity(const std::string& firstPath, const Identity& first,
                  const std::string& secondPath, const Identity& second) {
    if (!first.exists || !second.exists) {
        return false;
    }
#ifdef _WIN32
    std::error_code error;
    return fs::equivalent(firstPath, secondPath, error);
#else
    (void)firstPath;
    (void)secondPath;
    return first.device == second.device && first.inode == second.inode;
#endif
}

std::string comparable(std::string text) {
#ifdef _WIN32
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
#endif
    return text;
}

const char* roleText(plan::FileRole role) {
    switch (role) {
        case plan::FileRole::Source:
            return language::batchIsSource;
        case plan::FileRole::VideoStream:
            return language::batchIsVideoStream;
        case plan::FileRole::AudioStream:
            return language::batchIsAudioStream;
        case plan::FileRole::SubtitleStream:
            return language::batchIsSubtitleStream;
        case plan::FileRole::RemuxedVob:
            return language::batchIsRemuxedVob;
        case plan::FileRole::AuthoringControl:
            return language::batchIsAuthoringControl;
        case plan::FileRole::FittedVideo:
            return language::batchIsFittedVideo;
        case plan::FileRole::DiscImage:
            return language::batchIsDiscImage;
        case plan::FileRole::DvdFolder:
            break;
    }
    return language::batchIsDvdFolder;
}

fs::path placeOf(const std::string& path) {
    std::error_code error;
    const fs::path place = fs::weakly_canonical(path, error);
    return withoutTrailingSeparators(error ? fs::absolute(path, error).lexically_normal() : place);
}

// One own file, with what it takes to compare it with many others quickly.
struct Probe {
    const OwnFile* file;
    Identity identity;
    fs::path place;
    std::string name;  // of the place, as compared
    // The folders it lies in, that exist.
    std::vector<std::pair<std::string, Identity>> folders;
    bool otherLinks = false;

    explicit Probe(const OwnFile& own) : file(&own), identity(identityOf(own.path)) {
        place = placeOf(own.path);
        name = comparable(place.filename().string());
        for (fs::path folder = place.parent_path(); !folder.empty();
             folder = folder.parent_path()) {
            const Identity folderIdentity = identityOf(folder.string());
            if (folderIdentity.exists) {
                folders.emplace_back(folder.string(), folderIdentity);
            }
            if (folder == folder.root_path()) {
                break;
            }
        }
        std::error_code error;
        otherLinks = identity.exists && fs::hard_link_count(own.path, error) > 1 && !error;
    }

    bool isFile(const std::string& other, const Identity& otherIdentity) const {
        if (identity.exists || otherIdentity.exists) {
            return sameIdentity(file->path, identity, other, otherIdentity);
        }
        // Neither is made yet: the same when their names lead to the same place, which only a
        // path of the same name can do (but for a link left dangling).
        if (comparable(fs::path(other).filename().string()) != name) {
            return false;
        }
        return comparable(placeOf(other).string()) == comparable(place.string());
    }

    bool isFolderOf(const std::string& folder, const Identity& folderIdentity) const {
        for (const auto& [path, each] : folders) {
            if (sameIdentity(path, each, folder, folderIdentity)) {
                return true;
            }
        }
        return false;
    }

    bool liesIn(const std::string& folder, const Identity& folderIdentity) const {
        if (!folderIdentity.exists) {
            return false;  // nothing can be written in it before it is made
        }
        if (isFolderOf(folder, folderIdentity)) {
            return true;
        }
        // A hard link elsewhere to a file of the folder.
        if (otherLinks) {
            std::error_code error;
            for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
                 it.increment(error)) {
                const std::string inside = it->path().string();
                if (sameIdentity(file->path, identity, inside, identityOf(inside))) {
                    return true;
                }
            }
        }
        return false;
    }
};

std::string message(const Probe& probe, const char* what, int taskIndex) {
    return probe.file->subject + shownPath(probe.file->path) + what +
           (taskIndex >= 0 ? language::batchOfTask + std::to_string(taskIndex) : std::string()) +
           language::batchClashEnd;
}

}  // namespace

std::string projectFileClash(const std::vector<OwnFile>& ownFiles, const ProjectFiles& project) {
    std::vector<Probe> probes(ownFiles.begin(), ownFiles.end());
    // Each file of the project is looked at once, against every own file.
    const auto clash = [&probes](const std::string& path, const char* what,
                                 int taskIndex) -> std::string {
        if (path.empty()) {
            return std::string();
        }
        const Identity identity = identityOf(path);
        for (const Probe& probe : probes) {
            if (probe.isFile(path, identity)) {
                return message(probe, what, taskIndex);
            }
        }
        return std::string();
    };
    const std::pair<const std::string*, const char*> whole[] = {
        {&project.projectPath, language::batchIsProject},
        {&project.settingsPath, language::batchIsSettings},
        {&project.tools.demuxExePath, language::batchIsDemuxer},
        {&project.tools.muxExePath, language::batchIsMuxer},
        {&project.tools.authorExePath, language::batchIsAuthoringProgram}};
    for (const auto& [path, what] : whole) {
        if (std::string found = clash(*path, what, -1); !found.empty()) {
            return found;
        }
    }
    for (int i = 0; i < project.tasks.count(); ++i) {
        const Ttask& task = *project.tasks.taskAt(i);
        for (const plan::TaskFile& file : plan::filesOf(task, surveyedStreams(task))) {
            if (std::string found = clash(file.path, roleText(file.role), i); !found.empty()) {
                return found;
            }
        }
        const Identity dvdFolder = identityOf(task.dvdFolderPath);
        // What the authoring tool writes into the DVD folder. Only a file in the folder, or
        // another link to one, can lie in it: the folders of a large project are not all read.
        for (const Probe& probe : probes) {
            if (task.dvdFolderPath.empty() || !dvdFolder.exists ||
                !(probe.otherLinks || probe.isFolderOf(task.dvdFolderPath, dvdFolder))) {
                continue;
            }
            for (const char* dvdPart : {"VIDEO_TS", "AUDIO_TS"}) {
                const std::string folder = (fs::path(task.dvdFolderPath) / dvdPart).string();
                if (probe.liesIn(folder, identityOf(folder))) {
                    return message(probe, language::batchLiesInDvd, i);
                }
            }
        }
    }
    return std::string();
}
