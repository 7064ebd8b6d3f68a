#include "menu/input.h"

#include "game/natives.h"
#include "host/keyboard.h"
#include "menu/state.h"

namespace {

// Windows virtual-key codes of the menu keys.
constexpr int VK_BACKSPACE = 8;
constexpr int VK_ENTER = 13;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;

// The frontend controls are always read on pad 0.
constexpr int PAD = 0;

// All three operations share the script's menu timer: nothing acts until it has
// run past the gate since the last action, and every action restarts it.
bool GateOpen() {
    return GetMenuTimer() > MENU_INPUT_GATE;
}

void ActionDone() {
    SetMenuTimer(0);
    PlayFrontendSound("NAV_RIGHT", "HUD_SHOP_SOUNDSET", 1, 0);
}

bool ControlHeld(const char* control) {
    return IsControlHeld(PAD, HashOfName(control)) != 0;
}

bool ControlTriggered(const char* control) {
    return IsControlTriggered(PAD, HashOfName(control)) != 0;
}

// Left and right on the pad are ignored while the player is on keyboard and
// mouse; there only the arrow keys step values.
bool SideWanted(int key, const char* control) {
    if (KeyHeld(key)) return true;
    return IsUsingKeyboard(PAD) == 0 && ControlHeld(control);
}

// A released Enter or Backspace is used up at once, so one release acts once.
bool KeyUsed(int key) {
    if (!KeyJustReleased(key)) return false;
    ResetKeyState(key);
    return true;
}

}  // namespace

void MenuUpDown(int* item, int maxItem) {
    if (!GateOpen()) return;
    if (KeyHeld(VK_UP) || ControlHeld("INPUT_FRONTEND_UP")) {
        --*item;
        ActionDone();
        if (*item < 0) *item = maxItem;
        return;
    }
    if (KeyHeld(VK_DOWN) || ControlHeld("INPUT_FRONTEND_DOWN")) {
        ++*item;
        ActionDone();
        if (*item > maxItem) *item = 0;
    }
}

bool MenuLeftRight(int* value, int maxValue) {
    if (!GateOpen()) return false;
    if (SideWanted(VK_RIGHT, "INPUT_FRONTEND_RIGHT")) {
        ActionDone();
        ++*value;
        if (*value > maxValue) *value = 0;
        return true;
    }
    if (SideWanted(VK_LEFT, "INPUT_FRONTEND_LEFT")) {
        ActionDone();
        --*value;
        if (*value < 0) *value = maxValue;
        return true;
    }
    return false;
}

int MenuAcceptCancel(int acceptPage, int cancelPage) {
    if (!GateOpen()) return MENU_NOTHING;
    if (KeyUsed(VK_ENTER) || ControlTriggered("INPUT_FRONTEND_ACCEPT")) {
        menu.menuPage = acceptPage;
        ActionDone();
        return MENU_ACCEPTED;
    }
    if (KeyUsed(VK_BACKSPACE) || ControlTriggered("INPUT_FRONTEND_CANCEL")) {
        menu.menuPage = cancelPage;
        ActionDone();
        return MENU_CANCELLED;
    }
    return MENU_NOTHING;
}
