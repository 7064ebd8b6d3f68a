// The frame driver: loads the plug-in as the game would, runs it one frame at a
// time, and feeds it keyboard events, controls and world events between frames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "call_log.h"
#include "host/platform.h"
#include "world.h"

namespace standin {

// What the plug-in registered with the host.
struct HostState {
    HINSTANCE module = nullptr;
    void (*scriptEntry)() = nullptr;
    KeyboardHandler keyboardHandler = nullptr;
    int scriptRegisterCalls = 0, scriptUnregisterCalls = 0;
    int keyboardRegisterCalls = 0, keyboardUnregisterCalls = 0;
    bool scriptRunning = false;  // the script thread has started and not ended
    std::int64_t wakeAtMs = 0;   // world time at which a waiting script resumes
};
HostState& GetHost();

// The module handle the stand-in passes to DllMain.
HINSTANCE PluginModule();

// A game start in the current directory, in the world as it is now (set it up
// first; ResetWorld gives a fresh one): a new call log, the plug-in's state put
// back to what loading the module gives it (settings read again from the
// current directory), then DllMain(attach).
void StartGame();
// Ends the script (it unwinds out of its scriptWait) and calls DllMain(detach).
void EndGame();
// EndGame, then StartGame; the files in the folder stay as they are. With
// freshWorld the game world starts anew too (the plug-in's peds are gone).
void RestartGame(bool freshWorld = true);

// Runs one frame: clocks advance by world.frameMs, queued events are delivered,
// then the script runs until it yields (unless it still sleeps).
void RunFrame();
void RunFrames(int count);
// Runs frames until `done` is true or `maxFrames` ran; returns whether it became true.
bool RunUntil(const std::function<bool()>& done, int maxFrames);
// Runs frames for at least `ms` of game time.
void RunMs(int ms);
// Runs `fn` on the script thread, for code that must yield with scriptWait
// (hiring waits for its model). The next frame the script is resumed in runs
// `fn` in place of the plug-in's own frame; every scriptWait inside `fn` ends
// that frame as usual and later frames resume `fn`, without the plug-in's frame
// loop in between. Returns once `fn` has finished, after the frame it finished
// in; the plug-in's loop goes on from the next frame. Linux host only.
void RunOnScript(std::function<void()> fn);

// Keyboard events, delivered through the registered handler at the start of
// the next frame, stamped with that frame's tick count.
void KeyDown(int vk);
void KeyUp(int vk);
void TapKey(int vk);                                // down and up in the same frame
void SendKeyEvent(unsigned long vk, bool release);  // at once, between frames

// Frontend controls by name ("INPUT_FRONTEND_ACCEPT"...).
void HoldControl(const char* name, bool held);
void TriggerControl(const char* name);  // active during the next frame only

// Text of the frame's menu lines, markup removed, by screen row (from the y
// position); empty when no line is on that row. Dimmed lines are marked.
struct MenuLine {
    int row;
    std::string text;
    bool dimmed;
};
std::vector<MenuLine> MenuLines();
std::string MenuLineAt(int row);
// The row of the highlight bar drawn this frame, or -1.
int HighlightRow();
// The highlight bar's red frame (the black fill drawn on it has the same
// centre), and a menu line drawn dimmed, as the plug-in draws them.
bool IsHighlightBar(const DisplayItem& d);
bool IsDimmedText(const DisplayItem& d);
// The screen row of a menu text's y, and of a highlight bar's centre y.
int TextRowOfY(float y);
int HighlightRowOfY(float y);

// Puts every piece of the plug-in's state back to its load value and reads the
// settings file again, as loading the module afresh would.
void ResetPluginToLoadState();

// Shared by the two script hosts (a thread on Linux, a fiber on Windows), which
// add only how they hand the floor to the script and back.
// What every game start begins with: a new call log, no queued keyboard events
// or controls (their frame will not come), and nothing registered with the host.
void ResetHostForNewGame();
// Starts a frame: the clocks advance by world.frameMs, the frame's display
// list and text handles are cleared, and queued controls and keyboard events
// are delivered. The host then gives the script its turn.
void BeginFrame();
// Logs a call of one of the host's own functions (hash 0 in the call log).
void LogHostCall(const char* name, std::uint64_t arg);
// What each host undoes when the plug-in unregisters its script.
void OnScriptUnregistered();

}  // namespace standin
