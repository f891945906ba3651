#pragma once

#include <cstdint>
#include <memory>
#include <string>

// An exclusive hold on a file for as long as the object lives. The system lets go of it when the
// program ends, however it ends, so a crash never leaves the file held.
class FileLock {
public:
    // Creates the file when it is missing. Nothing when someone else holds it, or when it cannot
    // be opened at all.
    static std::unique_ptr<FileLock> tryHold(const std::string& path);

    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    explicit FileLock(std::intptr_t handle) : handle_(handle) {}

    std::intptr_t handle_;
};
