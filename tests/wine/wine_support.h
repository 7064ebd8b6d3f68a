// The end-to-end run on Windows (or Wine): our ScriptHookRDR2.dll holds the
// stand-in host and world plus the scenarios; a small driver program calls
// StandinWineMain, which checks the real Tavrossimer.asi's imports and then plays
// the scenarios against it, each one a fresh load of the module in the working
// folder.
#pragma once

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library may have defined it already
#define NOMINMAX
#endif
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "fiber_host.h"

namespace standin {

// Exit codes of the driver program. (3 is the C runtime's abort(), which the
// stand-in uses when the plug-in breaks the calling contract or calls a game
// function it does not know; its message is on stderr. 11, kExitHostFault, is
// the host's own.)
constexpr int kExitPassed = 0;
constexpr int kExitScenarioFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitImports = 10;
constexpr int kExitCrash = 12;

// Reads the import table of the PE file at `path` and resolves every imported
// function with LoadLibrary and GetProcAddress, as the Windows loader would
// (Wine's loader instead binds a missing function to a stub that aborts when
// called). Describes each import, and each one that does not resolve, in
// `report`; returns false when any is missing or the file is not a PE32+ image.
bool CheckPluginImports(const char* path, std::string* report);

// --- Scenarios -----------------------------------------------------------------

struct Scenario {
    const char* name;
    void (*run)();
};
// Every scenario, in the order they run (wine_scenarios.cpp).
const std::vector<Scenario>& Scenarios();

// Records a failed check of the running scenario; it carries on.
void RecordFailure(const char* file, int line, const std::string& what);
// Thrown by the fatal checks to end the running scenario at once.
struct ScenarioAbort {};

template <typename A, typename B>
std::string DescribeMismatch(const char* a, const char* b, const A& va, const B& vb) {
    std::ostringstream s;
    s << a << " == " << b << " (" << va << " vs " << vb << ")";
    return s.str();
}

#define WINE_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) ::standin::RecordFailure(__FILE__, __LINE__, "check failed: " #cond); \
    } while (0)
#define WINE_CHECK_EQ(a, b)                                                                \
    do {                                                                                   \
        const auto& wineA_ = (a);                                                          \
        const auto& wineB_ = (b);                                                          \
        if (!(wineA_ == wineB_))                                                           \
            ::standin::RecordFailure(__FILE__, __LINE__,                                   \
                                     ::standin::DescribeMismatch(#a, #b, wineA_, wineB_)); \
    } while (0)
#define WINE_REQUIRE(cond)                                                              \
    do {                                                                                \
        if (!(cond)) {                                                                  \
            ::standin::RecordFailure(__FILE__, __LINE__, "requirement failed: " #cond); \
            throw ::standin::ScenarioAbort{};                                           \
        }                                                                               \
    } while (0)

// --- Files in the working folder -----------------------------------------------

void WriteFile(const char* name, const std::string& content);
// The file's content, or an empty string with *exists false.
std::string ReadFile(const char* name, bool* exists = nullptr);
void RemoveFile(const char* name);
// Removes what a previous game start may have left: the settings, the custom
// list, the save file and its temporary.
void ClearGameFolder();

// A note in the driver's output, under the running scenario.
void Note(const std::string& text);

}  // namespace standin
