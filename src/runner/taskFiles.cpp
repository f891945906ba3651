#include "runner/taskFiles.h"

#include <filesystem>

#include "files/textFile.h"
#include "language/language.h"
#include "runner/subtitleStreams.h"
#include "task/task.h"
#include "task/taskChoices.h"

std::vector<std::string> filesOfTask(const Ttask& task) {
    std::vector<std::string> files;
    for (const std::string* path : {&task.origVobFilePath, &task.m2vFilePath, &task.ac3FilePath,
                                    &task.vobFilePath, &task.dvdFolderPath}) {
        if (!path->empty()) {
            files.push_back(*path);
        }
    }
    if (taskChoices::keepsEveryAudioTrack(task)) {
        for (int number = 1; number <= taskChoices::mostAudioTracks; ++number) {
            for (const char* extension : taskChoices::audioTrackExtensions) {
                files.push_back(taskChoices::audioTrackPath(task.ac3FilePath, number, extension));
            }
        }
    }
    if (taskChoices::keepsEverySubtitleStream(task)) {
        for (int id = 0x20; id < 0x20 + taskChoices::mostSubtitleStreams; ++id) {
            files.push_back(taskChoices::subtitleStreamPath(task.ac3FilePath, id));
        }
        files.push_back(authoringControlPath(task));
        files.push_back(authoringPalettePath(task));
    }
    return files;
}

bool tasksShareAFile(const std::vector<std::string>& first,
                     const std::vector<std::string>& second) {
    for (const std::string& one : first) {
        for (const std::string& other : second) {
            if (one == other || namesSameFile(one, other)) {
                return true;
            }
        }
    }
    return false;
}

std::optional<std::string> unsafeOutputOf(const Ttask& task,
                                          const std::vector<std::string>& audioPaths) {
    std::vector<std::string> outputs;
    if (task.doDemux) {
        outputs = audioPaths;
        outputs.push_back(task.m2vFilePath);
        for (const std::string& output : outputs) {
            if (output == task.origVobFilePath || namesSameFile(output, task.origVobFilePath)) {
                return output + language::streamIsSource + task.origVobFilePath +
                       language::streamIsSourceEnd;
            }
        }
    }
    if (task.doRemux) {
        outputs.push_back(task.vobFilePath);
    }
    for (const std::string& output : outputs) {
        std::error_code error;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(output, error)) &&
            !std::filesystem::exists(output, error)) {
            return output + language::outputIsDanglingLink;
        }
    }
    return std::nullopt;
}
