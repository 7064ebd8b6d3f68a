#include "keys.h"

namespace sim {

namespace {

struct NamedKey {
    const char* name;
    int vk;
};

constexpr NamedKey kNamedKeys[] = {
    {"Backspace", VK_BACK},
    {"Back", VK_BACK},
    {"Enter", VK_RETURN},
    {"Return", VK_RETURN},
    {"Shift", VK_SHIFT},
    {"Ctrl", VK_CONTROL},
    {"Control", VK_CONTROL},
    {"Alt", VK_MENU},
    {"Escape", VK_ESCAPE},
    {"Esc", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"Left", VK_LEFT},
    {"Up", VK_UP},
    {"Right", VK_RIGHT},
    {"Down", VK_DOWN},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"PadLeft", PAD_LEFT},
    {"PadUp", PAD_UP},
    {"PadRight", PAD_RIGHT},
    {"PadDown", PAD_DOWN},
    {"PadAccept", PAD_ACCEPT},
    {"PadCancel", PAD_CANCEL},
    {"PadMenuChord", PAD_MENU_CHORD},
};

}  // namespace

int KeyCodeOfName(const std::string& name) {
    const std::string n = Lower(name);
    if (n == "menu") return SPAWN_MENU_KEY;
    if (n == "attack") return ATTACK_KEY;
    if (n == "followall" || n == "follow-all") return FOLLOW_ALL;
    for (const NamedKey& k : kNamedKeys) {
        if (n == Lower(k.name)) return k.vk;
    }
    if (n.size() > 3 && n.compare(0, 3, "vk:") == 0 && AllDigits(n.substr(3))) {
        const long v = std::strtol(n.c_str() + 3, nullptr, 10);
        return v <= 100000 ? static_cast<int>(v) : -1;
    }
    if (n.size() >= 2 && n[0] == 'f' && AllDigits(n.substr(1))) {
        const int f = std::atoi(n.c_str() + 1);
        if (f >= 1 && f <= 24) return VK_F1 + f - 1;
    }
    if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0]))) return std::toupper(n[0]);
    return -1;
}

bool IsKeyName(const std::string& name) {
    const std::string n = Lower(name);
    return n == "menu" || n == "attack" || n == "followall" || n == "follow-all" || KeyCodeOfName(name) >= 0;
}

const char* PadControl(int code) {
    constexpr const char* kControls[] = {"INPUT_FRONTEND_LEFT",   "INPUT_FRONTEND_UP",
                                         "INPUT_FRONTEND_RIGHT",  "INPUT_FRONTEND_DOWN",
                                         "INPUT_FRONTEND_ACCEPT", "INPUT_FRONTEND_CANCEL"};
    return code >= PAD_LEFT && code <= PAD_CANCEL ? kControls[code - PAD_LEFT] : nullptr;
}

bool KeyReachable(int vk) {
    return KeyCodeUsable(vk) && vk != 0;
}

std::string KeyLabel(int vk) {
    if (!KeyCodeUsable(vk)) return "off (" + std::to_string(vk) + ")";
    if (vk == 0) return "0: no key sends it";
    return KeyName(vk) + " (" + std::to_string(vk) + ")";
}

std::string KeyProblem(const char* setting, int vk) {
    if (KeyReachable(vk)) return "";
    if (vk == 0) return std::string(setting) + " reads as 0, a code no key sends: nothing can press it";
    return std::string(setting) + " is " + std::to_string(vk) + ": outside 0 to 254, the key is off";
}

std::string KeyName(int vk) {
    if (const char* control = PadControl(vk)) return control;
    for (const NamedKey& k : kNamedKeys) {
        if (k.vk == vk) return k.name;
    }
    if (vk >= VK_F1 && vk < VK_F1 + 24) return "F" + std::to_string(vk - VK_F1 + 1);
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
    return "vk " + std::to_string(vk);
}

}  // namespace sim
