#pragma once

#include <cstddef>
#include <memory>
#include <string>

class FileLock;
class TAllTask;

// The window's task list kept on disk at every change, so that a list no save has kept survives a
// crash or an exit. The recovery file is a project file; it exists while the list differs from
// what was last saved or opened. One window at a time keeps it: a window that finds it held by
// another one neither writes nor restores it.
class TaskListRecovery {
public:
    // What start-up finds in the recovery file.
    struct LeftOver {
        enum class Kind { Nothing, UnsavedList, Unreadable };
        Kind kind = Kind::Nothing;
        // Unreadable: where the file now lies, and why it could not be read.
        std::string keptAsidePath;
        std::string error;
    };

    // The recovery file that belongs to a settings file: beside it, "marovink.ini" giving
    // "marovink.recovery.mvk".
    static std::string pathBeside(const std::string& settingsFilePath);

    // Takes hold of the file's lock when no one else holds it.
    explicit TaskListRecovery(std::string path);
    ~TaskListRecovery();

    const std::string& path() const { return path_; }
    bool holdsFile() const { return lock_ != nullptr; }
    // True while the list differs from the last one saved or opened.
    bool unsaved() const { return unsaved_; }

    // Appends to `tasks` an unsaved list that an earlier window left. A file that cannot be read
    // is moved aside under a name of its own, never deleted; `tasks` may then hold a part of it.
    LeftOver readLeftOver(TAllTask& tasks);
    // The user declined the left-over list.
    void discardLeftOver();

    // After every change of the list: written at once through a safe replace when it differs
    // from the saved one, removed when it is the same. Throws IoError when it cannot be written.
    void listChanged(const TAllTask& tasks);
    // The list was saved to, or opened from, a project file.
    void listSaved(const TAllTask& tasks);

private:
    void removeFile();

    std::string path_;
    std::unique_ptr<FileLock> lock_;
    std::size_t savedListHash_;
    bool unsaved_ = false;
};
