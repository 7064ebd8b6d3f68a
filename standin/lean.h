// Lean mode: the stand-in made as cheap as it can be, so that a frame's cost
// and allocations are the plug-in's own. Game functions are answered by the
// same handlers, with no call log, stale-handle check, display list, copies of
// texts or memory of hashed names; once warmed up, answering allocates nothing.
// Recorded calls replayed through the host functions give the floor a frame's
// game calls cost on their own.
#pragma once

#include <cstdint>
#include <vector>

namespace standin {

// Read by nativeCall on every call; change it only through SetLeanMode.
extern bool leanMode;

// Turns lean mode on or off. On: the call log is switched off (its setting
// comes back when lean mode ends).
void SetLeanMode(bool on);

struct LeanCounters {
    std::uint64_t calls = 0;  // game calls answered, in any mode
};
LeanCounters& GetLeanCounters();

// Game calls as the host received them. Out-pointer arguments are recorded as
// the address of a scratch area, so a replay writes nothing into the plug-in;
// strings keep their addresses (the plug-in's texts live in static storage).
struct CallRecording {
    struct Entry {
        std::uint64_t hash;
        std::uint32_t firstArg;
        std::uint32_t argCount;
    };
    std::vector<Entry> calls;
    std::vector<unsigned long long> args;
    std::vector<std::uint32_t> frameEnds;  // calls.size() at the end of each recorded frame

    void Clear() {
        calls.clear();
        args.clear();
        frameEnds.clear();
    }
    // Closes the current frame: the calls since the last EndFrame belong to it.
    void EndFrame() { frameEnds.push_back(static_cast<std::uint32_t>(calls.size())); }
    std::uint32_t CallsInFrame(std::size_t frame) const {
        return frameEnds[frame] - (frame == 0 ? 0u : frameEnds[frame - 1]);
    }
};

// Records every game call into `into` until StopRecording.
void StartRecording(CallRecording* into);
void StopRecording();

// Plays the recording: per recorded frame, the clocks advance as for a frame
// (AdvanceFrameClocks), then each call goes through nativeInit, one
// nativePush64 per argument and nativeCall, with its recorded arguments.
void Replay(const CallRecording& recording);

// What RunFrame does to the world's clocks, without resuming the script: for
// running the plug-in's frame routine directly on the caller's thread.
void AdvanceFrameClocks();

}  // namespace standin
