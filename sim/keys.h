// Key names for scenarios and the help screens, the Windows virtual-key codes
// the plug-in's keyboard handler receives, and the small text helpers the
// simulator's parsers share.
#pragma once

#include <cctype>
#include <cstdlib>
#include <string>

#include "config/settings.h"

namespace sim {

constexpr int VK_BACK = 8, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18, VK_ESCAPE = 27,
              VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
              VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46, VK_F1 = 112;

// A gamepad's frontend controls, queued like keys: the menu reads them when
// the player is not on keyboard and mouse.
constexpr int PAD_LEFT = 0x1000, PAD_UP = 0x1001, PAD_RIGHT = 0x1002, PAD_DOWN = 0x1003, PAD_ACCEPT = 0x1004,
              PAD_CANCEL = 0x1005;
// The controller's way into the menu (CONTROLLER_MENU=1): d-pad up and cancel
// held together for a moment, then let go.
constexpr int PAD_MENU_CHORD = 0x1006;
// The control's name ("INPUT_FRONTEND_UP"), nullptr for a keyboard key.
const char* PadControl(int code);

// The arrow keys and the pad's directions: the menu reads them as held, not as released.
inline bool IsNavigationKey(int vk) {
    return (vk >= VK_LEFT && vk <= VK_DOWN) || (vk >= PAD_LEFT && vk <= PAD_DOWN);
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

// The plug-in's own keys, by the settings that give them.
struct KeySetting {
    const char* name;
    const int* value;
};
inline const KeySetting kKeySettings[] = {
    {"SPAWN_MENU_KEY", &SPAWN_MENU_KEY}, {"ATTACK_KEY", &ATTACK_KEY}, {"FOLLOW_ALL", &FOLLOW_ALL}};

// Whether a person can press the key: the plug-in ignores codes of 255 and
// more, and no key sends 0.
bool KeyReachable(int vk);
// What a key setting means for the player: "Home (36)", "off (255)", "0: no key sends it".
std::string KeyLabel(int vk);

// Why a key setting cannot be pressed, in plain words ("SPAWN_MENU_KEY reads
// as 0, a code no key sends"); "" when it can.
std::string KeyProblem(const char* setting, int vk);

// A readable name of a virtual-key code: "Home", "F5", "0", "vk 200".
std::string KeyName(int vk);

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

inline bool SameText(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

// Without leading and trailing white space.
inline std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

// Digits only (at least one).
inline bool AllDigits(const std::string& s) {
    for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return !s.empty();
}

// A whole number with an optional sign that fits an int.
inline bool IsInteger(const std::string& s) {
    const std::size_t sign = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    return s.size() < 12 && AllDigits(s.substr(sign));
}

inline long long ToInt(const std::string& s) {
    return std::atoll(s.c_str());
}

// A failure with its message, for `return Fail(error, "...")`.
inline bool Fail(std::string* error, const std::string& message) {
    *error = message;
    return false;
}

}  // namespace sim
