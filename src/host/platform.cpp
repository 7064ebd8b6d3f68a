#include "host/platform.h"

#include <cstdio>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

bool ReplaceFileAtomically(const char* source, const char* target) {
#if defined(_WIN32)
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(source, target) == 0;
#endif
}

bool ExistingFileOpensForWriting(const char* name) {
#if defined(_WIN32)
    // Opening for writing changes nothing in the file; a read-only file, a
    // folder or a file another program holds locked refuses it.
    const HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
#else
    // Asking leaves no trace: nothing is opened, so no watcher sees a write.
    return access(name, W_OK) == 0 || errno == ENOENT;
#endif
}
