#include <windows.h>

#include <cerrno>

#include "files/ioError.h"
#include "files/replacement.h"
#include "files/textFile.h"
#include "language/language.h"

namespace {

void throwUnlessDone(BOOL done) {
    if (!done) {
        throw ioErrorFromWindowsError(GetLastError());
    }
}

DWORD linkCount(const std::string& target) {
    const HANDLE file =
        CreateFileA(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? information.nNumberOfLinks : 1;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t rest = bytes.size() - written;
        const DWORD chunk = rest > 0x40000000 ? 0x40000000 : static_cast<DWORD>(rest);
        DWORD count = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &count, nullptr) || count == 0) {
            return false;
        }
        written += count;
    }
    return true;
}

}  // namespace

void writeFileReplacing(const std::string& path, const std::string& bytes) {
    const std::string target = replacement::finalTarget(path);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            throw ioErrorFromErrno(EISDIR);
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            // A file the user protected against writing stays as it is.
            throw ioErrorFromErrno(EACCES);
        }
        if (linkCount(target) > 1) {
            throw IoError(language::fileHasOtherLinks + target);
        }
    }
    // A save in progress keeps its temporary file open without leave to delete it: whatever
    // can be deleted was left by a save that was killed.
    for (const std::string& abandoned : replacement::temporaryFilesOf(target)) {
        DeleteFileA(abandoned.c_str());
    }

    const std::string temporary = replacement::temporaryPathBeside(target);
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    throwUnlessDone(file != INVALID_HANDLE_VALUE);
    try {
        throwUnlessDone(writeAll(file, bytes));
        throwUnlessDone(FlushFileBuffers(file));
        throwUnlessDone(CloseHandle(file));
    } catch (const IoError&) {
        CloseHandle(file);
        DeleteFileA(temporary.c_str());
        throw;
    }
    try {
        if (exists) {
            const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
            const DWORD carried = attributes & kept;
            throwUnlessDone(SetFileAttributesA(temporary.c_str(),
                                               carried != 0 ? carried : FILE_ATTRIBUTE_NORMAL));
        }
        // Write-through: the call returns once the new name is on the disk.
        throwUnlessDone(MoveFileExA(temporary.c_str(), target.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    } catch (const IoError&) {
        DeleteFileA(temporary.c_str());
        throw;
    }
}
