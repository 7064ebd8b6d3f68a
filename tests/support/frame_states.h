// The six steady states whose frames the benchmarks time and the allocation
// test checks, set up through the stand-in as a player would reach them, and
// the game calls a frame of each must make.
//
// Shared by tests/ (allocation_test) and bench/ (the benchmarks and the
// callgrind driver); nothing here depends on GoogleTest.
#pragma once

#include <ostream>
#include <string>

#include "behaviour/behaviour.h"
#include "host/keyboard.h"
#include "lean.h"
#include "menu/state.h"
#include "roster/roster.h"

namespace frame_states {

enum class FrameState {
    Idle,               // no bodyguard, menu closed
    SevenFollowing,     // seven following bodyguards, menu closed
    TargetedExpanded,   // seven bodyguards, one targeted with its prompts expanded
    MainPageSeven,      // the main page open, seven bodyguards
    BuilderGangMember,  // the builder working on a gang member ("Dutch"), the only bodyguard
    AllModelsStepping,  // the ALL model page, the right arrow held: it steps through its 1149 names
};

constexpr FrameState ALL_STATES[] = {
    FrameState::Idle,          FrameState::SevenFollowing,    FrameState::TargetedExpanded,
    FrameState::MainPageSeven, FrameState::BuilderGangMember, FrameState::AllModelsStepping};

const char* StateName(FrameState state);
// For GoogleTest's messages.
inline void PrintTo(FrameState state, std::ostream* out) {
    *out << StateName(state);
}

// The game calls a window of frames of the state must make, counted from the
// game functions the frame routine's steps call (the derivation is in
// frame_states.cpp). A window starts with every periodic deadline due and the
// menu's input gate open (RestoreWindowStart).
struct RequiredCalls {
    int windowFrames;   // frames in a window
    long windowCalls;   // game calls in the whole window
    int quietestFrame;  // calls in a frame where no deadline falls due (and, on a
                        // model page, the input gate is shut)
};
RequiredCalls Required(FrameState state);

// Starts the game in the current folder with the current world (the caller
// resets the world and chooses the folder) and plays it into `state`, with
// model loads answered at once. Returns an empty string, or what went wrong.
std::string SetUp(FrameState state);

// What the host does between two frames of the state: on the ALL model page,
// the keyboard's auto-repeat of the held right arrow.
void BetweenFrames(FrameState state);

// Everything a window of frames changes that must be as it was when the next
// window starts: the world's clocks and the plug-in's own state.
struct WindowStart {
    int frame;
    long long timeMs;
    int gameTimer;
    unsigned tickCount;
    BodyguardRecord roster[ROSTER_SIZE];
    BehaviourState behaviour;
    KeyState keys[KEY_STATE_COUNT];
    MenuState menu;
    BuilderState builder;
    int formationMode;
};
void CaptureWindowStart(WindowStart& start);
// Puts the capture back, then makes every periodic deadline due in the next
// frame and opens the menu's input gate, so that every window is the same.
void RestoreWindowStart(const WindowStart& start);

// Runs frames on the calling thread without the script handoff: per frame the
// clocks advance as RunFrame advances them, the host's input between frames
// arrives, and the frame routine runs once. The script must be parked in its
// scriptWait (any frame of a steady state is).
void RunDirectFrames(FrameState state, int frames);
// The same, recording every game call.
void RecordDirectFrames(FrameState state, int frames, standin::CallRecording& into);

}  // namespace frame_states
