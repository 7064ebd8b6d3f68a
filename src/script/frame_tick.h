#pragma once

// Interior ids of the saloons in which the menu key (and the controller chord)
// works when ONLY_IN_SALOONS is on.
constexpr int SALOON_INTERIOR_COUNT = 8;
extern const int SALOON_INTERIORS[SALOON_INTERIOR_COUNT];

// The controller chord's state (CONTROLLER_MENU), kept from frame to frame.
struct PadChord {
    bool complete = false;      // both buttons were down at the last look
    bool waitingLetGo = false;  // opened by the chord: the pages wait for the buttons to come up
};
extern PadChord padChord;

// Once per frame: the menu key and the controller chord, one menu page, then
// the bodyguard section.
void FrameTick();
