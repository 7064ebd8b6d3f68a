#include "host/platform.h"

#include <cstdio>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

namespace {

// Hands what the C library has buffered to the system, then has the system put
// it on the disk, so that a power cut after a later rename cannot leave the
// renamed file empty or zero-filled. A file system that has no such flush
// (some network and virtual ones) does not fail the save; one that reports an
// error does.
bool FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#if defined(_WIN32)
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE) return false;
    return FlushFileBuffers(handle) != 0 || GetLastError() == ERROR_INVALID_FUNCTION;
#else
    return fsync(fileno(file)) == 0 || errno == EINVAL;
#endif
}

}  // namespace

FileWrite WriteWholeFileToDisk(const char* name, const char* data, int length) {
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) return FileWrite::NotCreated;
    const std::size_t size = static_cast<std::size_t>(length);
    bool ok = std::fwrite(data, 1, size, file) == size;
    ok = FlushToDisk(file) && ok;
    ok = std::ferror(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok ? FileWrite::Written : FileWrite::Failed;
}

bool ReplaceFileAtomically(const char* source, const char* target) {
#if defined(_WIN32)
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(source, target) == 0;
#endif
}

bool ExistingFileOpensForWriting(const char* name) {
#if defined(_WIN32)
    // A read-only file or a folder refuses writing (asked of the attributes
    // too, since an administrator's process may open a read-only file);
    // opening for writing changes nothing in the file, and a file another
    // program holds locked refuses it.
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) return false;
    const HANDLE file =
        CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
#else
    // Asking leaves no trace: nothing is opened, so no watcher sees a write.
    return access(name, W_OK) == 0 || errno == ENOENT;
#endif
}

bool RemoveFileEvenIfReadOnly(const char* name) {
#if defined(_WIN32)
    // Windows refuses to delete a read-only file: the attribute goes first.
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(name) != 0;
#else
    // unlink never removes a folder, and a file's own mode does not stop it.
    return unlink(name) == 0;
#endif
}
