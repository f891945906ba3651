#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/fileLock.h"
#include "files/ioError.h"

// flock is advisory: it never stands in the way of reads and writes.
struct FileLock::Handle {
    int descriptor;
    // The lock file to remove as the lock ends; empty for a lock on a file of its own use.
    std::string lockFile;
};

namespace {

// 0, or the errno of the failure: EWOULDBLOCK when another holder has the lock.
int lockAtOnce(int descriptor) {
    int result = 0;
    while ((result = flock(descriptor, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    return result == 0 ? 0 : errno;
}

// Whether path still names the open file; 0 or the errno of the failure in `failure`.
bool pathNamesOpenFile(const std::string& path, int descriptor, int& failure) {
    struct stat opened {};
    struct stat named {};
    failure = 0;
    if (fstat(descriptor, &opened) != 0) {
        failure = errno;
        return false;
    }
    if (lstat(path.c_str(), &named) != 0) {
        failure = errno == ENOENT ? 0 : errno;
        return false;
    }
    return opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Enough for any fair race between holders that let go and takers.
constexpr int lockFileAttempts = 100;

}  // namespace

std::unique_ptr<FileLock> FileLock::tryTake(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        throw ioErrorFromErrno(errno);
    }
    const int failure = lockAtOnce(descriptor);
    if (failure != 0) {
        close(descriptor);
        if (failure == EWOULDBLOCK) {
            return nullptr;
        }
        throw ioErrorFromErrno(failure);
    }
    return std::unique_ptr<FileLock>(
        new FileLock(std::make_unique<Handle>(Handle{descriptor, {}})));
}

std::unique_ptr<FileLock> FileLock::tryTakeLockFile(const std::string& path) {
    for (int attempt = 0; attempt < lockFileAttempts; ++attempt) {
        const int descriptor =
            open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (descriptor < 0) {
            throw ioErrorFromErrno(errno);
        }
        int failure = lockAtOnce(descriptor);
        if (failure == 0) {
            // A holder removes the file before it lets go: the lock just taken may be on a file
            // that path no longer names, and then keeps nobody out.
            if (pathNamesOpenFile(path, descriptor, failure)) {
                return std::unique_ptr<FileLock>(
                    new FileLock(std::make_unique<Handle>(Handle{descriptor, path})));
            }
        }
        close(descriptor);
        if (failure == EWOULDBLOCK) {
            return nullptr;
        }
        if (failure != 0) {
            throw ioErrorFromErrno(failure);
        }
    }
    return nullptr;
}

FileLock::FileLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

FileLock::~FileLock() {
    int failure = 0;
    // Removed while still locked, and only when it is still this lock's file.
    if (!handle_->lockFile.empty() &&
        pathNamesOpenFile(handle_->lockFile, handle_->descriptor, failure)) {
        unlink(handle_->lockFile.c_str());
    }
    close(handle_->descriptor);
}
