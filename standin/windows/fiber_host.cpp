// The Windows script host of the stand-in, built into our own ScriptHookRDR2.dll.
// The plug-in is the real Tavrossimer.asi: StartGame loads it with LoadLibrary,
// so the Windows loader binds its imports to this module's exports and calls
// its DllMain, and EndGame unloads it with FreeLibrary. Its script runs on a
// fiber, as the real host runs scripts: scriptWait switches back to the driver's
// fiber, and the driver switches to the script for exactly one frame at a time.
// Everything happens on one thread, so the world needs no locks. A script that
// never returns ends when its fiber is deleted at unregistration.
#include "fiber_host.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the C++ library may have defined it already
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace standin {

namespace {

LPVOID driverFiber = nullptr;
LPVOID scriptFiber = nullptr;
bool onScriptFiber = false;  // the script has the floor (kept here: GetCurrentFiber trips GCC's bounds check)
HMODULE pluginModule = nullptr;

[[noreturn]] void HostFail(const char* what) {
    std::printf("stand-in host: %s (frame %d)\n", what, GetWorld().frame);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), kExitHostFault);
    std::abort();
}

void CALLBACK ScriptFiberMain(void* entry) {
    reinterpret_cast<void (*)()>(entry)();
    // The plug-in's script never returns; if one does, it simply stops being
    // scheduled, and its fiber parks here until the host deletes it.
    GetHost().scriptRunning = false;
    for (;;) SwitchToFiber(driverFiber);
}

void EnsureDriverFiber() {
    if (driverFiber) return;
    driverFiber = ConvertThreadToFiber(nullptr);
    if (!driverFiber) HostFail("ConvertThreadToFiber failed");
}

void DeleteScriptFiber() {
    if (!scriptFiber) return;
    if (onScriptFiber) HostFail("the script ended its own fiber");
    DeleteFiber(scriptFiber);
    scriptFiber = nullptr;
    GetHost().scriptRunning = false;
}

}  // namespace

HINSTANCE PluginModule() {
    return pluginModule;
}

bool PluginLoaded() {
    return pluginModule != nullptr;
}

void StartGame() {
    if (pluginModule) EndGame();
    EnsureDriverFiber();
    ResetHostForNewGame();
    // Loading runs the plug-in's static initialisation (which reads the
    // settings from the current directory) and then DllMain(attach).
    pluginModule = LoadLibraryA(kPluginPath);
    if (!pluginModule) {
        std::printf("stand-in host: LoadLibrary(%s) failed, error %lu\n", kPluginPath, GetLastError());
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), kExitHostFault);
    }
}

void EndGame() {
    if (!pluginModule) return;
    // DllMain(detach) unregisters the script, which deletes its fiber.
    if (!FreeLibrary(pluginModule)) HostFail("FreeLibrary of the plug-in failed");
    pluginModule = nullptr;
    // A plug-in that forgot to unregister leaves a fiber running code that is
    // no longer mapped: drop it, the scenario's checks report the omission.
    DeleteScriptFiber();
    HostState& host = GetHost();
    host.scriptEntry = nullptr;
    host.keyboardHandler = nullptr;
}

void RunFrame() {
    BeginFrame();  // the plug-in reads the real tick count here, not the world's
    World& w = GetWorld();
    HostState& host = GetHost();

    if (!host.scriptEntry) return;
    if (!scriptFiber) {
        EnsureDriverFiber();
        scriptFiber = CreateFiber(0, ScriptFiberMain, reinterpret_cast<void*>(host.scriptEntry));
        if (!scriptFiber) HostFail("CreateFiber failed");
        host.scriptRunning = true;
        host.wakeAtMs = 0;
    }
    if (host.scriptRunning && w.timeMs >= host.wakeAtMs) {
        onScriptFiber = true;
        SwitchToFiber(scriptFiber);
        onScriptFiber = false;
    }
}

// A script that never returns ends when its fiber is deleted.
void OnScriptUnregistered() {
    DeleteScriptFiber();
}

}  // namespace standin

using namespace standin;

// scriptWait, the one host function that differs between the hosts. The
// module definition file exports every host function under the decorated name
// the plug-in imports.

void scriptWait(unsigned long ms) {
    if (!onScriptFiber) HostFail("scriptWait called outside the script");
    LogHostCall("scriptWait", ms);
    GetHost().wakeAtMs = GetWorld().timeMs + static_cast<std::int64_t>(ms);
    SwitchToFiber(driverFiber);
}
