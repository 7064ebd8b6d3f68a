// What the two script hosts of the stand-in (a thread on Linux, a fiber on
// Windows) share: the queued input, the start of each frame, and the log of
// the host's own functions. Each host adds only how it hands the floor to the
// script and back.
#pragma once

#include <cstdint>

namespace standin {

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
