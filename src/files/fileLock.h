#pragma once

#include <memory>
#include <string>

// An exclusive lock tied to a file for as long as the object lives. It keeps out whoever asks for
// the same lock, in this process or another, but not plain reads and writes of the file: the
// holder's own appends and a viewer's reads go on. The lock ends with the process at the latest.
class FileLock {
public:
    // The lock on the file at path, created empty when missing; nullptr when another holder has
    // it. Throws IoError when the file cannot be opened.
    static std::unique_ptr<FileLock> tryTake(const std::string& path);
    // The lock on a file made for it alone, which guards a path that may be renamed or replaced
    // while it is held: the lock stays with the path. The file is removed as the lock ends; one
    // that a killed holder left behind is taken over, since only the lock keeps others out, never
    // the file's existence. A symbolic link at path is refused (IoError), not followed.
    static std::unique_ptr<FileLock> tryTakeLockFile(const std::string& path);

    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    struct Handle;
    explicit FileLock(std::unique_ptr<Handle> handle);

    std::unique_ptr<Handle> handle_;
};
