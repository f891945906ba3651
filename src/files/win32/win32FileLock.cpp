#include <windows.h>

#include "files/fileLock.h"

// A file opened without sharing cannot be opened again until its handle is closed.
std::unique_ptr<FileLock> FileLock::tryHold(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<std::intptr_t>(file)));
}

FileLock::~FileLock() {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}
