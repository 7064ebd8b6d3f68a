// Lean mode: the stand-in made as cheap as it can be, so that what is left of a
// frame's cost is the plug-in's own work (benchmarks) and so that a frame that
// allocates can only be the plug-in's doing (the allocation test).
//
// In lean mode every game function answers as the full world does, but from
// plain tables: handle-indexed pointers to the world's peds and prompts, and
// name hashes cached by the text's address. There is no call log, no
// stale-handle check, no display list and no copy of any text; drawing calls
// are only counted. Once warmed up, answering allocates nothing. A game
// function without a lean answer (hiring, dismissal: never part of a steady
// frame) is passed to the full world and counted in `fullAnswers`.
//
// Calls can be recorded (hash and raw slots) and replayed later through the
// same host functions: the floor a frame's game calls cost on their own.
#pragma once

#include <cstdint>
#include <vector>

namespace standin {

// Read by nativeCall on every call; change it only through SetLeanMode.
extern bool leanMode;

// Turns lean mode on or off. On: the call log is switched off (its setting
// comes back when lean mode ends) and the tables are built for the world as it
// is now; a fresh world (ResetWorld) is noticed and gets tables of its own.
void SetLeanMode(bool on);

struct LeanCounters {
    std::uint64_t calls = 0;        // game calls answered in lean mode
    std::uint64_t fullAnswers = 0;  // of those, passed to the full world (no lean answer)
    std::uint64_t drawn = 0;        // sprites, rectangles and texts "drawn"
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

    void Clear();
    // Closes the current frame: the calls since the last EndFrame belong to it.
    void EndFrame() { frameEnds.push_back(static_cast<std::uint32_t>(calls.size())); }
    std::uint32_t CallsInFrame(std::size_t frame) const {
        return frameEnds[frame] - (frame == 0 ? 0u : frameEnds[frame - 1]);
    }
};

// Records every lean-mode call into `into` until StopRecording.
void StartRecording(CallRecording* into);
void StopRecording();

// Plays the recording: per recorded frame, the clocks advance as for a frame
// (AdvanceFrameClocks), then each call goes through nativeInit, one
// nativePush64 per argument and nativeCall, with its recorded arguments.
void Replay(const CallRecording& recording);

// What RunFrame does to the world's clocks, without resuming the script: for
// running the plug-in's frame routine directly on the caller's thread.
void AdvanceFrameClocks();

// The lean answer to a call (nativeCall's lean path).
unsigned long long* LeanNativeCall(std::uint64_t hash, const unsigned long long* slots, int count,
                                   unsigned long long* result);

}  // namespace standin
