// The host-independent part of the frame driver: frame loops, queued input,
// the start of each frame, and replays of recorded game calls.
#include <set>
#include <vector>

#include "driver.h"
#include "lean.h"

namespace standin {

namespace {

struct KeyEvent {
    unsigned long vk;
    bool release;
};
std::vector<KeyEvent> pendingKeys;
std::set<std::int32_t> pendingTriggers;

}  // namespace

HostState& GetHost() {
    static HostState* host = new HostState();
    return *host;
}

void ResetHostForNewGame() {
    GetCallLog().Clear();
    pendingKeys.clear();
    pendingTriggers.clear();
    GetHost() = HostState();
}

void BeginFrame() {
    World& w = GetWorld();
    w.AdvanceClocks();
    w.display.clear();
    w.texts.clear();
    w.pendingText = DisplayItem{};

    w.controlsTriggered = std::move(pendingTriggers);
    pendingTriggers.clear();
    for (const KeyEvent& e : pendingKeys) SendKeyEvent(e.vk, e.release);
    pendingKeys.clear();
}

void LogHostCall(const char* name, std::uint64_t arg) {
    CallLog& log = GetCallLog();
    if (log.enabled) log.calls.push_back({GetWorld().frame, 0, name, {arg}, {std::string()}, {}});
}

void RestartGame(bool freshWorld) {
    EndGame();
    if (freshWorld) ResetWorld();
    StartGame();
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
    pendingTriggers.insert(static_cast<std::int32_t>(GameHash(name)));
}

// Here, apart from the host functions, so that a replay calls them as the plug-in does.
void Replay(const CallRecording& rec) {
    std::size_t call = 0;
    const unsigned long long* args = rec.args.data();
    for (std::uint32_t frameEnd : rec.frameEnds) {
        AdvanceFrameClocks();
        for (; call < frameEnd; ++call) {
            const CallRecording::Entry& c = rec.calls[call];
            nativeInit(c.hash);
            for (std::uint32_t i = 0; i < c.argCount; ++i) nativePush64(args[c.firstArg + i]);
            nativeCall();
        }
    }
}

void AdvanceFrameClocks() {
    GetWorld().AdvanceClocks();
}

}  // namespace standin

using namespace standin;

// The host's registration functions, the same for both hosts.

void scriptRegister(HINSTANCE module, void (*entry)()) {
    HostState& host = GetHost();
    host.module = module;
    host.scriptEntry = entry;
    ++host.scriptRegisterCalls;
    LogHostCall("scriptRegister", reinterpret_cast<std::uintptr_t>(module));
}

void scriptUnregister(HINSTANCE module) {
    HostState& host = GetHost();
    host.scriptEntry = nullptr;
    ++host.scriptUnregisterCalls;
    LogHostCall("scriptUnregister", reinterpret_cast<std::uintptr_t>(module));
    OnScriptUnregistered();
}

void keyboardHandlerRegister(KeyboardHandler handler) {
    HostState& host = GetHost();
    host.keyboardHandler = handler;
    ++host.keyboardRegisterCalls;
    LogHostCall("keyboardHandlerRegister", reinterpret_cast<std::uintptr_t>(handler));
}

void keyboardHandlerUnregister(KeyboardHandler handler) {
    HostState& host = GetHost();
    if (host.keyboardHandler == handler) host.keyboardHandler = nullptr;
    ++host.keyboardUnregisterCalls;
    LogHostCall("keyboardHandlerUnregister", reinterpret_cast<std::uintptr_t>(handler));
}
