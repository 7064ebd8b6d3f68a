// The user settings, read once from ".\Tavrossimer.ini" when the module
// is loaded, and the health every bodyguard is spawned with.
#pragma once

extern int SPAWN_MENU_KEY;    // virtual-key code that opens and closes the menu (36, Home)
extern bool ALLOW_REVIVE;     // downed bodyguards can be helped up; adds 500 to spawnHealth
extern bool NO_HEADSHOT;      // bodyguards cannot be killed by one headshot
extern int BODYGUARD_HEALTH;  // base of spawnHealth
extern int ATTACK_KEY;        // virtual-key code: everybody attacks the aimed ped (48, the 0 key)
extern int FOLLOW_ALL;        // virtual-key code: everybody stays, or everybody follows (18, Alt)
extern int PRICE;             // dollars per hire; charged as PRICE x 100 cents when above 0
extern bool ONLY_IN_SALOONS;  // the menu key works only inside a saloon
extern bool CONTROLLER_MENU;  // a controller chord also opens and closes the menu (off)

extern int spawnHealth;  // set by the script entry before anybody is spawned

constexpr const char* SETTINGS_FILE = ".\\Tavrossimer.ini";
constexpr const char* SETTINGS_SECTION = "SETTINGS";

// The settings in the order they are read: each one's name in the file, its
// default, and the variable above its value goes to. A key code and a number
// are kept as they read; an on/off setting is on for any value but 0.
enum class SettingKind { KeyCode, OnOff, Number };
struct SettingDefinition {
    const char* name;
    int defaultValue;
    SettingKind kind;
    int* number;  // where a KeyCode or Number setting goes
    bool* onOff;  // where an OnOff setting goes
};
inline constexpr SettingDefinition SETTING_DEFINITIONS[] = {
    {"SPAWN_MENU_KEY", 36, SettingKind::KeyCode, &SPAWN_MENU_KEY, nullptr},
    {"ALLOW_REVIVE", 1, SettingKind::OnOff, nullptr, &ALLOW_REVIVE},
    {"NO_HEADSHOT", 1, SettingKind::OnOff, nullptr, &NO_HEADSHOT},
    {"BODYGUARD_HEALTH", 500, SettingKind::Number, &BODYGUARD_HEALTH, nullptr},
    {"ATTACK_KEY", 48, SettingKind::KeyCode, &ATTACK_KEY, nullptr},
    {"FOLLOW_ALL", 18, SettingKind::KeyCode, &FOLLOW_ALL, nullptr},
    {"PRICE", 0, SettingKind::Number, &PRICE, nullptr},
    {"ONLY_IN_SALOONS", 0, SettingKind::OnOff, nullptr, &ONLY_IN_SALOONS},
    {"CONTROLLER_MENU", 0, SettingKind::OnOff, nullptr, &CONTROLLER_MENU},
};
constexpr int SETTING_COUNT = sizeof SETTING_DEFINITIONS / sizeof SETTING_DEFINITIONS[0];

// Reads all the settings, in the table's order. Runs during static
// initialisation; the stand-in calls it again when it simulates a fresh load of
// the module.
void ReadSettings();

// BODYGUARD_HEALTH, plus 500 when ALLOW_REVIVE is on, kept between 1 and the
// largest 32-bit value so that no setting makes bodyguards dead on arrival.
int ComputeSpawnHealth();

// The amount a hire costs in cents: PRICE x 100 computed wide and capped at the
// largest 32-bit value, so a huge PRICE can never wrap into a negative charge.
// 0 when PRICE is 0 or below (hiring is then free).
int HireChargeCents();

// A key code from the settings is usable only below 255 (taken unsigned), so a
// negative or too large setting turns the key off.
inline bool KeyCodeUsable(int code) {
    return static_cast<unsigned>(code) < 255u;
}
