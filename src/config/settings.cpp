#include "config/settings.h"

#include <cstdint>

#include "host/platform.h"

int SPAWN_MENU_KEY = 36;
bool ALLOW_REVIVE = true;
bool NO_HEADSHOT = true;
int BODYGUARD_HEALTH = 500;
int ATTACK_KEY = 48;
int FOLLOW_ALL = 18;
int PRICE = 0;
bool ONLY_IN_SALOONS = false;
bool CONTROLLER_MENU = false;

int spawnHealth = 0;

namespace {

int ReadInt(const char* key, int defaultValue) {
    // The Windows function returns a UINT; the setting is its 32-bit pattern.
    return static_cast<int>(GetPrivateProfileIntA(SETTINGS_SECTION, key, defaultValue, SETTINGS_FILE));
}

// Reads the file during static initialisation, before DllMain runs.
const bool settingsRead = (ReadSettings(), true);

}  // namespace

void ReadSettings() {
    for (const SettingDefinition& setting : SETTING_DEFINITIONS) {
        const int value = ReadInt(setting.name, setting.defaultValue);
        if (setting.kind == SettingKind::OnOff) {
            *setting.onOff = value != 0;
        } else {
            *setting.number = value;
        }
    }
    (void)settingsRead;
}

int ComputeSpawnHealth() {
    // Computed wide and kept between 1 and the largest 32-bit value: a health
    // that wrapped negative, or one of 0 or less, would make every bodyguard
    // dead on arrival; the first check would dismiss them all and the save file
    // would lose the whole roster.
    std::int64_t health = BODYGUARD_HEALTH;
    if (ALLOW_REVIVE) health += 500;
    if (health < 1) return 1;
    if (health > INT32_MAX) return INT32_MAX;
    return static_cast<int>(health);
}

int HireChargeCents() {
    if (PRICE <= 0) return 0;
    const std::int64_t cents = static_cast<std::int64_t>(PRICE) * 100;
    return cents > INT32_MAX ? INT32_MAX : static_cast<int>(cents);
}
