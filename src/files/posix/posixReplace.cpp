#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "files/ioError.h"
#include "files/replacement.h"
#include "files/textFile.h"
#include "language/language.h"

namespace {

void throwUnlessDone(bool done) {
    if (!done) {
        throw ioErrorFromErrno(errno);
    }
}

bool writeAll(int descriptor, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// A save in progress holds a lock on its temporary file: one nobody holds was left by a save
// that was killed, and goes.
void removeAbandonedTemporaries(const std::string& target) {
    for (const std::string& path : replacement::temporaryFilesOf(target)) {
        const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (descriptor < 0) {
            continue;
        }
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        close(descriptor);
    }
}

// The rename is lasting only once the folder that records it is on the disk too.
bool syncFolderOf(const std::string& target) {
    std::string folder = std::filesystem::path(target).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool synced = fsync(descriptor) == 0;
    close(descriptor);
    return synced;
}

}  // namespace

void writeFileReplacing(const std::string& path, const std::string& bytes) {
    const std::string target = replacement::finalTarget(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode)) {
            throw ioErrorFromErrno(EISDIR);
        }
        if ((old.st_mode & S_IWUSR) == 0) {
            // A file the user protected against writing stays as it is.
            throw ioErrorFromErrno(EACCES);
        }
        if (old.st_nlink > 1) {
            throw IoError(language::fileHasOtherLinks + target);
        }
    }
    removeAbandonedTemporaries(target);

    const std::string temporary = replacement::temporaryPathBeside(target);
    const int descriptor =
        open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    throwUnlessDone(descriptor >= 0);
    try {
        // Held until the rename, so that another save does not take this file for abandoned.
        throwUnlessDone(flock(descriptor, LOCK_EX) == 0);
        if (exists) {
            throwUnlessDone(fchmod(descriptor, old.st_mode & 07777) == 0);
            // Only the owner's own save or the administrator's keeps the owner; a failure here
            // leaves the file to whoever saves it, as any new file.
            if (fchown(descriptor, old.st_uid, old.st_gid) != 0) {
                errno = 0;
            }
        }
        throwUnlessDone(writeAll(descriptor, bytes));
        throwUnlessDone(fsync(descriptor) == 0);
        throwUnlessDone(rename(temporary.c_str(), target.c_str()) == 0);
    } catch (const IoError&) {
        unlink(temporary.c_str());
        close(descriptor);
        throw;
    }
    close(descriptor);
    throwUnlessDone(syncFolderOf(target));
}
