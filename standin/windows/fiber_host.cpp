// The Windows script host of the stand-in, built into our own ScriptHookRDR2.dll.
// The plug-in is the real Tavrossimer.asi: StartGame loads it with LoadLibrary,
// so the Windows loader binds its imports to this module's exports and calls
// its DllMain, and EndGame unloads it with FreeLibrary. Its script runs on a
// fiber, as the real host runs scripts: scriptWait switches back to the driver's
// fiber, and the driver switches to the script for exactly one frame at a time.
// Everything happens on one thread, so the world needs no locks. A script that
// never returns ends when its fiber is deleted at unregistration.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "wine_support.h"

namespace standin {

namespace {

LPVOID driverFiber = nullptr;
LPVOID scriptFiber = nullptr;
bool onScriptFiber = false;  // the script has the floor (kept here: GetCurrentFiber trips GCC's bounds check)
HMODULE pluginModule = nullptr;

struct KeyEvent {
    unsigned long vk;
    bool release;
};
std::deque<KeyEvent> pendingKeys;
std::vector<std::int32_t> pendingTriggers;

void LogHostCall(const char* name, std::uint64_t arg, bool hasArg) {
    CallLog& log = GetCallLog();
    if (!log.enabled) return;
    Call c;
    c.frame = GetWorld().frame;
    c.name = name;
    if (hasArg) {
        c.args.push_back(arg);
        c.strings.resize(1);
    }
    log.calls.push_back(std::move(c));
}

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
    HostState& host = GetHost();
    host.scriptRunning = false;
    host.scriptBlocked = false;
}

}  // namespace

HostState& GetHost() {
    static HostState* host = new HostState();
    return *host;
}

HINSTANCE PluginModule() {
    return pluginModule;
}

bool PluginLoaded() {
    return pluginModule != nullptr;
}

void StartGame() {
    if (pluginModule) EndGame();
    EnsureDriverFiber();
    GetCallLog().Clear();
    pendingKeys.clear();
    pendingTriggers.clear();
    HostState& host = GetHost();
    const bool logEnabled = GetCallLog().enabled;
    host = HostState();
    GetCallLog().enabled = logEnabled;
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

void RestartGame(bool freshWorld) {
    EndGame();
    if (freshWorld) ResetWorld();
    StartGame();
}

void RunFrame() {
    World& w = GetWorld();
    HostState& host = GetHost();
    ++w.frame;
    w.timeMs += w.frameMs;
    w.gameTimer += w.frameMs;
    w.tickCount += static_cast<std::uint32_t>(w.frameMs);  // the plug-in reads the real tick count here
    w.menuTimer += w.frameMs;
    w.display.clear();
    w.texts.clear();
    w.pendingScale = w.pendingColour = false;

    w.controlsTriggered.clear();
    for (std::int32_t c : pendingTriggers) w.controlsTriggered.insert(c);
    pendingTriggers.clear();
    while (!pendingKeys.empty()) {
        const KeyEvent e = pendingKeys.front();
        pendingKeys.pop_front();
        SendKeyEvent(e.vk, e.release);
    }

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

void RunFrames(int count) {
    for (int i = 0; i < count; ++i) RunFrame();
}

bool RunUntil(const std::function<bool()>& done, int maxFrames) {
    for (int i = 0; i < maxFrames; ++i) {
        if (done()) return true;
        RunFrame();
    }
    return done();
}

void RunMs(int ms) {
    const std::int64_t until = GetWorld().timeMs + ms;
    while (GetWorld().timeMs < until) RunFrame();
}

void KeyDown(int vk) {
    pendingKeys.push_back({static_cast<unsigned long>(vk), false});
}
void KeyUp(int vk) {
    pendingKeys.push_back({static_cast<unsigned long>(vk), true});
}
void TapKey(int vk) {
    KeyDown(vk);
    KeyUp(vk);
}

void SendKeyEvent(unsigned long vk, bool release) {
    HostState& host = GetHost();
    if (host.keyboardHandler) host.keyboardHandler(vk, 1, 0, 0, 0, release ? 1 : 0, release ? 1 : 0);
}

void HoldControl(const char* name, bool held) {
    const std::int32_t h = static_cast<std::int32_t>(GameHash(name));
    if (held)
        GetWorld().controlsHeld.insert(h);
    else
        GetWorld().controlsHeld.erase(h);
}

void TriggerControl(const char* name) {
    pendingTriggers.push_back(static_cast<std::int32_t>(GameHash(name)));
}

}  // namespace standin

using namespace standin;

// The host functions. The module definition file exports them under the
// decorated names the plug-in imports.

void scriptRegister(HINSTANCE module, void (*entry)()) {
    HostState& host = GetHost();
    host.module = module;
    host.scriptEntry = entry;
    ++host.scriptRegisterCalls;
    LogHostCall("scriptRegister", reinterpret_cast<std::uintptr_t>(module), true);
}

void scriptUnregister(HINSTANCE module) {
    HostState& host = GetHost();
    host.scriptEntry = nullptr;
    ++host.scriptUnregisterCalls;
    LogHostCall("scriptUnregister", reinterpret_cast<std::uintptr_t>(module), true);
    DeleteScriptFiber();
}

void keyboardHandlerRegister(KeyboardHandler handler) {
    HostState& host = GetHost();
    host.keyboardHandler = handler;
    ++host.keyboardRegisterCalls;
    LogHostCall("keyboardHandlerRegister", reinterpret_cast<std::uintptr_t>(handler), true);
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
    HostState& host = GetHost();
    if (host.keyboardHandler == handler) host.keyboardHandler = nullptr;
    ++host.keyboardUnregisterCalls;
    LogHostCall("keyboardHandlerUnregister", reinterpret_cast<std::uintptr_t>(handler), true);
}

void scriptWait(unsigned long ms) {
    if (!onScriptFiber) HostFail("scriptWait called outside the script");
    LogHostCall("scriptWait", ms, true);
    HostState& host = GetHost();
    host.wakeAtMs = GetWorld().timeMs + static_cast<std::int64_t>(ms);
    host.scriptBlocked = true;
    SwitchToFiber(driverFiber);
    host.scriptBlocked = false;
}
