// The plug-in writes its save file with the C library and says nothing when a
// write fails (the game has nowhere to show it). The simulator is linked with
// these wrappers around the calls the save makes, so that a failed save shows
// in the event log with its reason. A save tries more than one way before it
// gives up: what goes wrong on the way is shown only if the save does not land,
// by a rename onto the save file or by writing it in place. Every call goes on
// to the C library.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "event_log.h"
#include "persist/save_file.h"

extern "C" {
std::FILE* __real_fopen(const char* name, const char* mode);
int __real_access(const char* name, int mode);
int __real_rename(const char* from, const char* to);
int __real_remove(const char* name);
int __real_fclose(std::FILE* file);
}

namespace {

bool IsSave(const char* name) {
    return std::strncmp(name, SAVE_FILE_NAME, std::strlen(SAVE_FILE_NAME)) == 0;
}

// The new save that could not replace the old one is removed next: that is said once.
bool replaceFailed = false;

// The save file itself, opened to be written in place.
std::FILE* inPlace = nullptr;

void Note(const std::string& what, int error) {
    sim::NoteSaveProblem(what + " (" + std::strerror(error) + ")");
}

}  // namespace

extern "C" {

std::FILE* __wrap_fopen(const char* name, const char* mode) {
    std::FILE* file = __real_fopen(name, mode);
    if (!file && mode[0] == 'w' && IsSave(name)) Note(std::string("cannot create ") + name, errno);
    if (file && mode[0] == 'w' && std::strcmp(name, SAVE_FILE_NAME) == 0) inPlace = file;
    return file;
}

int __wrap_fclose(std::FILE* file) {
    if (file != inPlace || file == nullptr) return __real_fclose(file);
    inPlace = nullptr;
    const bool written = std::ferror(file) == 0;
    const int result = __real_fclose(file);
    if (written && result == 0) sim::NoteSaveLanded();
    return result;
}

// Every save first asks whether the save file may be written.
int __wrap_access(const char* name, int mode) {
    if (std::strcmp(name, SAVE_FILE_NAME) == 0) sim::NoteSaveStarted();
    const int result = __real_access(name, mode);
    if (result != 0 && errno != ENOENT && IsSave(name))
        Note(std::string(name) + " cannot be written, so it is left as it is", errno);
    return result;
}

int __wrap_rename(const char* from, const char* to) {
    const int result = __real_rename(from, to);
    replaceFailed = result != 0 && IsSave(to);
    if (result == 0 && std::strcmp(to, SAVE_FILE_NAME) == 0) sim::NoteSaveLanded();
    if (replaceFailed) Note(std::string("cannot replace ") + to + " with the new save", errno);
    return result;
}

int __wrap_remove(const char* name) {
    const int error = errno;
    if (IsSave(name) && std::strcmp(name, SAVE_FILE_NAME) != 0 && !replaceFailed)
        Note(std::string("the new save could not be written whole, ") + name + " is removed", error);
    replaceFailed = false;
    return __real_remove(name);
}
}
