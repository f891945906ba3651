#include <windows.h>

#include "files/fileLock.h"
#include "files/ioError.h"

namespace {

// Windows locks are mandatory: the lock covers one byte far beyond any end the file will reach,
// so reads and writes of the file itself are never refused.
constexpr DWORD lockedByteOffsetHigh = 0x7fffffff;

}  // namespace

struct FileLock::Handle {
    HANDLE file;
};

std::unique_ptr<FileLock> FileLock::tryTake(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw ioErrorFromWindowsError(GetLastError());
    }
    OVERLAPPED place{};
    place.OffsetHigh = lockedByteOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place)) {
        const DWORD failure = GetLastError();
        CloseHandle(file);
        if (failure == ERROR_LOCK_VIOLATION || failure == ERROR_IO_PENDING) {
            return nullptr;
        }
        throw ioErrorFromWindowsError(failure);
    }
    return std::unique_ptr<FileLock>(new FileLock(std::make_unique<Handle>(Handle{file})));
}

FileLock::FileLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

FileLock::~FileLock() {
    // Closing the handle releases the lock.
    CloseHandle(handle_->file);
}
