#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "files/fileLock.h"
#include "files/ioError.h"

// flock is advisory: it never stands in the way of reads and writes.
struct FileLock::Handle {
    int descriptor;
};

std::unique_ptr<FileLock> FileLock::tryTake(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        throw ioErrorFromErrno(errno);
    }
    int result = 0;
    while ((result = flock(descriptor, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        const int failure = errno;
        close(descriptor);
        if (failure == EWOULDBLOCK) {
            return nullptr;
        }
        throw ioErrorFromErrno(failure);
    }
    return std::unique_ptr<FileLock>(new FileLock(std::make_unique<Handle>(Handle{descriptor})));
}

FileLock::FileLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

FileLock::~FileLock() {
    close(handle_->descriptor);
}
