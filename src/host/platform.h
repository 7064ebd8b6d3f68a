// The plug-in's only window onto its platform: the eight script host functions,
// the two Windows calls it makes, and the file operations the save file needs.
// On Windows the first ten come from ScriptHookRDR2.dll and KERNEL32; on Linux
// the stand-in (standin/) defines them under the same names and signatures.
// The file operations (platform.cpp) serve both builds.
#pragma once

#include <cstdint>

#if defined(_WIN32)
// Only what the plug-in uses, declared exactly as the Windows headers declare it
// (a later #include <windows.h> agrees with every line), so plug-in code never
// sees windows.h's macros: VK_LEFT and the other key codes, min and max, and the
// A/W name macros that would rename functions such as DrawText or PlaySound.
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;
typedef int BOOL;
typedef unsigned long DWORD;
typedef unsigned int UINT;
typedef void* LPVOID;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef WINAPI
#define WINAPI __stdcall
#endif
extern "C" {
__declspec(dllimport) DWORD WINAPI GetTickCount(void);
__declspec(dllimport) UINT WINAPI
    GetPrivateProfileIntA(const char* lpAppName, const char* lpKeyName, int nDefault, const char* lpFileName);
}
#else
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using BOOL = int;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LPVOID = void*;
#ifndef TRUE
#define TRUE 1
#endif
#define WINAPI
#endif

using ScriptEntry = void (*)();
using KeyboardHandler = void (*)(unsigned long key, unsigned short repeats, unsigned char scanCode,
                                 int isExtended, int isWithAlt, int wasDownBefore, int isUpNow);

#if defined(_WIN32) && defined(TAVROSSIMER_STANDIN_HOST)
// The Windows stand-in host (standin/windows/) defines these functions itself and
// exports them under the decorated names through its own module definition file.
#define TAVROSSIMER_HOST_DECL(decl, alias) decl
#elif defined(_WIN32) && defined(__GNUC__)
// GNU as cannot take the '?' of an MSVC-decorated name in an asm label, so each
// declaration is bound to a plain alias; packaging/ScriptHookRDR2.def maps the
// aliases to the decorated names exported by ScriptHookRDR2.dll.
#define TAVROSSIMER_HOST_DECL(decl, alias) __declspec(dllimport) decl __asm__(alias)
#elif defined(_WIN32)
// MSVC mangles these plain declarations to exactly the decorated names.
#define TAVROSSIMER_HOST_DECL(decl, alias) __declspec(dllimport) decl
#else
#define TAVROSSIMER_HOST_DECL(decl, alias) decl
#endif

TAVROSSIMER_HOST_DECL(void scriptRegister(HINSTANCE module, void (*entry)()), "shScriptRegister");
TAVROSSIMER_HOST_DECL(void scriptUnregister(HINSTANCE module), "shScriptUnregister");
TAVROSSIMER_HOST_DECL(void keyboardHandlerRegister(KeyboardHandler handler), "shKeyboardHandlerRegister");
TAVROSSIMER_HOST_DECL(void keyboardHandlerUnregister(KeyboardHandler handler), "shKeyboardHandlerUnregister");
TAVROSSIMER_HOST_DECL(void scriptWait(unsigned long ms), "shScriptWait");
TAVROSSIMER_HOST_DECL(void nativeInit(unsigned long long hash), "shNativeInit");
TAVROSSIMER_HOST_DECL(void nativePush64(unsigned long long value), "shNativePush64");
TAVROSSIMER_HOST_DECL(unsigned long long* nativeCall(), "shNativeCall");

#if !defined(_WIN32)
// The two Windows functions the plug-in uses, provided on Linux by the stand-in.
DWORD GetTickCount();
UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue, const char* fileName);
#endif

// How writing a whole file went: written, flushed to the disk and closed; not
// even created or opened; or failed part-way (the file may hold part of it).
enum class FileWrite { Written, NotCreated, Failed };

// Creates `name` (or truncates it), writes the `length` bytes of `data`, flushes
// them to the disk (fsync on POSIX, FlushFileBuffers on Windows), then closes
// it, checking every step.
FileWrite WriteWholeFileToDisk(const char* name, const char* data, int length);

// Replaces `target` with `source` in one step (rename on POSIX, MoveFileEx with
// MOVEFILE_REPLACE_EXISTING on Windows). Returns false when the file system refused.
bool ReplaceFileAtomically(const char* source, const char* target);

// True when the file `name` can be opened for writing, or does not exist yet
// (so it can be created). Nothing in the file changes.
bool ExistingFileOpensForWriting(const char* name);

// Removes the file `name`, a read-only one too; a folder of that name is left
// alone. Returns whether a file was removed.
bool RemoveFileEvenIfReadOnly(const char* name);
