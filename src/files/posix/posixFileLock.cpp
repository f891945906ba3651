#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "files/fileLock.h"

// flock, not fcntl: its hold belongs to the open file, so two holders in one process exclude
// each other too.
std::unique_ptr<FileLock> FileLock::tryHold(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) {
        return nullptr;
    }
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        ::close(file);
        return nullptr;
    }
    return std::unique_ptr<FileLock>(new FileLock(file));
}

FileLock::~FileLock() {
    ::close(static_cast<int>(handle_));
}
