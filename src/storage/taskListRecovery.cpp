#include "storage/taskListRecovery.h"

#include <filesystem>
#include <functional>
#include <system_error>

#include "files/fileLock.h"
#include "files/ioError.h"
#include "files/textFile.h"
#include "platform/programLocation.h"
#include "storage/projectFile.h"
#include "task/task.h"

namespace {

std::size_t hashOf(const std::string& bytes) {
    return std::hash<std::string>()(bytes);
}

// The lock of the recovery file; nothing when another window holds it, or when it cannot be made
// at all (a folder that cannot be written): that window then keeps no list.
std::unique_ptr<FileLock> lockOf(const std::string& path) {
    try {
        return FileLock::tryTake(path + ".lock");
    } catch (const IoError&) {
        return nullptr;
    }
}

// A free name beside path for a file that is kept aside: path + ".unreadable", then ".2", ...
std::string asideName(const std::string& path) {
    std::string candidate = path + ".unreadable";
    std::error_code ignored;
    for (int number = 2; std::filesystem::exists(candidate, ignored); ++number) {
        candidate = path + ".unreadable." + std::to_string(number);
    }
    return candidate;
}

}  // namespace

std::string TaskListRecovery::pathBeside(const std::string& settingsFilePath) {
    return programLocation::besideProgram(settingsFilePath, ".recovery.mvk");
}

TaskListRecovery::TaskListRecovery(std::string path)
    : path_(std::move(path)),
      lock_(lockOf(path_)),
      savedListHash_(hashOf(projectFile::serialize(TAllTask()))) {}

TaskListRecovery::~TaskListRecovery() = default;

TaskListRecovery::LeftOver TaskListRecovery::readLeftOver(TAllTask& tasks) {
    LeftOver found;
    if (!holdsFile() || !isExistingFile(path_)) {
        return found;
    }
    try {
        projectFile::load(path_, tasks);
    } catch (const std::exception& error) {
        found.kind = LeftOver::Kind::Unreadable;
        found.error = error.what();
        found.keptAsidePath = asideName(path_);
        std::error_code renameError;
        std::filesystem::rename(path_, found.keptAsidePath, renameError);
        if (renameError) {
            // It stays where it is, and is still not overwritten: this window keeps no list.
            found.keptAsidePath = path_;
            lock_.reset();
        }
        return found;
    }
    if (tasks.count() > 0) {
        found.kind = LeftOver::Kind::UnsavedList;
    }
    return found;
}

void TaskListRecovery::discardLeftOver() {
    if (holdsFile()) {
        removeFile();
    }
}

void TaskListRecovery::listChanged(const TAllTask& tasks) {
    const std::string bytes = projectFile::serialize(tasks);
    unsaved_ = hashOf(bytes) != savedListHash_;
    if (!holdsFile()) {
        return;
    }
    if (unsaved_) {
        writeFileReplacing(path_, bytes);
    } else {
        removeFile();
    }
}

void TaskListRecovery::listSaved(const TAllTask& tasks) {
    savedListHash_ = hashOf(projectFile::serialize(tasks));
    unsaved_ = false;
    if (holdsFile()) {
        removeFile();
    }
}

void TaskListRecovery::removeFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}
