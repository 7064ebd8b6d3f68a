// The keyboard state the host's key events leave behind: per virtual-key code,
// when its last event came (Windows tick count) and whether it was a release.
#pragma once

#include <cstdint>

struct KeyState {
    std::uint32_t time = 0;     // GetTickCount() at the key's last event
    std::int32_t released = 0;  // non-zero when that event was a release
};

constexpr int KEY_STATE_COUNT = 255;  // codes 0..254; 255 and above have no record
extern KeyState keyStates[KEY_STATE_COUNT];

constexpr std::uint32_t KEY_RELEASE_WINDOW_MS = 100;
constexpr std::uint32_t KEY_HOLD_WINDOW_MS = 5000;

// The handler registered with the host; only the key code and the release flag matter.
void OnKeyboardEvent(unsigned long key, unsigned short repeats, unsigned char scanCode, int isExtended,
                     int isWithAlt, int wasDownBefore, int isUpNow);

// Released less than 100 ms ago. Callers that act on it reset the key at once.
bool KeyJustReleased(int key);
// Pressed (or auto-repeated) less than 5000 ms ago and not released since.
bool KeyHeld(int key);
void ResetKeyState(int key);
