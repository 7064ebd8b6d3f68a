// Key names for scenarios and the help screens, and the Windows virtual-key
// codes the plug-in's keyboard handler receives.
#pragma once

#include <string>

namespace sim {

constexpr int VK_BACK = 8, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_ESCAPE = 27,
              VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
              VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112;

// The arrow keys: the menu reads them as held, not as released.
inline bool IsNavigationKey(int vk) {
    return vk >= VK_LEFT && vk <= VK_DOWN;
}

// A key name as scenarios write it: "Home", "Up", "Enter", "Backspace", "Alt",
// "F5", "A", "0", "vk:45", or one of the plug-in's own keys as the settings
// file sets them: "Menu" (SPAWN_MENU_KEY), "Attack" (ATTACK_KEY) and
// "FollowAll" (FOLLOW_ALL). Case does not matter. -1 for an unknown name.
// The plug-in's keys are looked up when called, so call it after the game
// started (the settings are read at start).
int KeyCodeOfName(const std::string& name);

// Whether the name is a key name (the plug-in's own keys always are).
bool IsKeyName(const std::string& name);

// A readable name of a virtual-key code: "Home", "F5", "0", "vk 200".
std::string KeyName(int vk);

}  // namespace sim
