#include "host/keyboard.h"

#include "host/platform.h"

KeyState keyStates[KEY_STATE_COUNT] = {};

// A record whose two fields are zero holds no event: it was never touched, or a
// caller reset it. It must read as neither held nor released, whatever the tick
// count is (the windows below would otherwise call it held for the first five
// seconds after the tick count wraps). An event that really falls on tick 0 is
// therefore stamped 1 ms earlier, at the last tick before the wrap.
static bool HoldsEvent(const KeyState& k) {
    return k.time != 0 || k.released != 0;
}

void OnKeyboardEvent(unsigned long key, unsigned short, unsigned char, int, int, int, int isUpNow) {
    if (key >= static_cast<unsigned long>(KEY_STATE_COUNT)) return;
    const std::uint32_t now = GetTickCount();
    keyStates[key].time = now != 0 ? now : 0xFFFFFFFFu;
    keyStates[key].released = isUpNow;
}

// "now is before time + window", in unsigned 32-bit arithmetic that survives the
// tick count's wrap after 49.7 days: the age of the event, now - time, is below
// the window.
static bool WithinWindow(std::uint32_t time, std::uint32_t window) {
    return static_cast<std::uint32_t>(GetTickCount() - time) < window;
}

bool KeyJustReleased(int key) {
    const KeyState& k = keyStates[key];
    return HoldsEvent(k) && k.released != 0 && WithinWindow(k.time, KEY_RELEASE_WINDOW_MS);
}

bool KeyHeld(int key) {
    const KeyState& k = keyStates[key];
    return HoldsEvent(k) && k.released == 0 && WithinWindow(k.time, KEY_HOLD_WINDOW_MS);
}

void ResetKeyState(int key) {
    keyStates[key] = KeyState{};
}
