#include <windows.h>

#include "files/fileLock.h"
#include "files/ioError.h"

namespace {

// Windows locks are mandatory: the lock covers one byte far beyond any end the file will reach,
// so reads and writes of the file itself are never refused.
constexpr DWORD lockedByteOffsetHigh = 0x7fffffff;

// A lock file that its holder removes stays in the way of new opens until every handle on it is
// closed: the next taker waits that long, and no longer.
constexpr int lockFileAttempts = 100;
constexpr DWORD retryPauseMilliseconds = 10;

// ERROR_SUCCESS, or the error of the failure: ERROR_LOCK_VIOLATION when another holder has it.
DWORD lockAtOnce(HANDLE file) {
    OVERLAPPED place{};
    place.OffsetHigh = lockedByteOffsetHigh;
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place)) {
        return ERROR_SUCCESS;
    }
    const DWORD failure = GetLastError();
    return failure == ERROR_IO_PENDING ? ERROR_LOCK_VIOLATION : failure;
}

bool isBeingRemoved(HANDLE file) {
    FILE_STANDARD_INFO information{};
    return GetFileInformationByHandleEx(file, FileStandardInfo, &information, sizeof information) &&
           information.DeletePending;
}

}  // namespace

struct FileLock::Handle {
    HANDLE file;
    // Whether the file is removed as the lock ends.
    bool isLockFile;
};

std::unique_ptr<FileLock> FileLock::tryTake(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw ioErrorFromWindowsError(GetLastError());
    }
    const DWORD failure = lockAtOnce(file);
    if (failure != ERROR_SUCCESS) {
        CloseHandle(file);
        if (failure == ERROR_LOCK_VIOLATION) {
            return nullptr;
        }
        throw ioErrorFromWindowsError(failure);
    }
    return std::unique_ptr<FileLock>(new FileLock(std::make_unique<Handle>(Handle{file, false})));
}

std::unique_ptr<FileLock> FileLock::tryTakeLockFile(const std::string& path) {
    // Windows makes no symbolic links without special rights; the file is opened as it is.
    DWORD failure = ERROR_SUCCESS;
    for (int attempt = 0; attempt < lockFileAttempts; ++attempt) {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            // A file being removed refuses every open as access denied.
            failure = GetLastError();
            if (failure != ERROR_ACCESS_DENIED) {
                break;
            }
            Sleep(retryPauseMilliseconds);
            continue;
        }
        failure = lockAtOnce(file);
        if (failure == ERROR_SUCCESS && !isBeingRemoved(file)) {
            return std::unique_ptr<FileLock>(
                new FileLock(std::make_unique<Handle>(Handle{file, true})));
        }
        CloseHandle(file);
        if (failure == ERROR_LOCK_VIOLATION) {
            return nullptr;
        }
        if (failure != ERROR_SUCCESS) {
            break;
        }
    }
    if (failure == ERROR_SUCCESS) {
        return nullptr;  // taken over and removed again by others all along
    }
    throw ioErrorFromWindowsError(failure);
}

FileLock::FileLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}

FileLock::~FileLock() {
    if (handle_->isLockFile) {
        // Marked while still locked; the file goes once the last handle on it is closed.
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        SetFileInformationByHandle(handle_->file, FileDispositionInfo, &disposition,
                                   sizeof disposition);
    }
    // Closing the handle releases the lock.
    CloseHandle(handle_->file);
}
