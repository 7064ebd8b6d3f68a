// Fuzz target: the settings reader. The stand-in's GetPrivateProfileIntA
// (standin::ProfileInt) reads the input as an ini file, and ReadSettings reads it
// as ".\Tavrossimer.ini". Checked beyond not crashing:
// - a key's answer depends on the default only when the key gives none;
// - every setting ReadSettings holds is the 32-bit pattern the reader gives,
//   flags are on exactly when it is non-zero, and the derived values (spawn
//   health, the capped hire charge, usable key codes) follow from them;
// - the input's first line, used as a value, as a key name and as a section
//   name, is read as Windows reads it (an independent reading of the rules).
#include <climits>
#include <cstdint>
#include <string>

#include "config/settings.h"
#include "fuzz_support.h"
#include "profile.h"

namespace {

using fuzzsupport::Expect;
using standin::ProfileInt;

struct Key {
    const char* name;
    int defaultValue;
};
constexpr Key KEYS[] = {
    {"SPAWN_MENU_KEY", 36}, {"ALLOW_REVIVE", 1}, {"NO_HEADSHOT", 1}, {"BODYGUARD_HEALTH", 500},
    {"ATTACK_KEY", 48},     {"FOLLOW_ALL", 18},  {"PRICE", 0},       {"ONLY_IN_SALOONS", 0},
    {"CONTROLLER_MENU", 0}};

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// A value as Windows reads it: trimmed; empty gives the default; one pair of
// matching quotes around it goes; then an optional sign and decimal digits up to
// the first other character, wrapping modulo 2^32.
unsigned ReferenceValue(const std::string& raw, int defaultValue) {
    std::string v = Trim(raw);
    if (v.empty()) return static_cast<unsigned>(defaultValue);
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
    std::uint32_t n = 0;
    while (i < v.size() && v[i] >= '0' && v[i] <= '9') n = n * 10u + static_cast<std::uint32_t>(v[i++] - '0');
    return negative ? 0u - n : n;
}

bool HasNul(const std::string& s) {
    return s.find('\0') != std::string::npos;
}

void CheckDefaults(const std::string& content) {
    for (const Key& k : KEYS) {
        const int other = k.defaultValue ^ 0x5A5A5A5A;
        const unsigned a = ProfileInt(content, "SETTINGS", k.name, k.defaultValue);
        const unsigned b = ProfileInt(content, "settings", k.name, other);
        if (a != b) {
            Expect(a == static_cast<unsigned>(k.defaultValue) && b == static_cast<unsigned>(other),
                   std::string("the answer for ") + k.name +
                       " changed with the default although the key gave one");
        }
    }
}

void CheckReadSettings(const std::string& content) {
    fuzzsupport::WriteFile("Tavrossimer.ini", content);
    ReadSettings();
    auto read = [&](const Key& k) {
        return static_cast<int>(ProfileInt(content, "SETTINGS", k.name, k.defaultValue));
    };
    Expect(SPAWN_MENU_KEY == read(KEYS[0]), "SPAWN_MENU_KEY");
    Expect(ALLOW_REVIVE == (read(KEYS[1]) != 0), "ALLOW_REVIVE");
    Expect(NO_HEADSHOT == (read(KEYS[2]) != 0), "NO_HEADSHOT");
    Expect(BODYGUARD_HEALTH == read(KEYS[3]), "BODYGUARD_HEALTH");
    Expect(ATTACK_KEY == read(KEYS[4]), "ATTACK_KEY");
    Expect(FOLLOW_ALL == read(KEYS[5]), "FOLLOW_ALL");
    Expect(PRICE == read(KEYS[6]), "PRICE");
    Expect(ONLY_IN_SALOONS == (read(KEYS[7]) != 0), "ONLY_IN_SALOONS");
    Expect(CONTROLLER_MENU == (read(KEYS[8]) != 0), "CONTROLLER_MENU");

    const long long health = static_cast<long long>(BODYGUARD_HEALTH) + (ALLOW_REVIVE ? 500 : 0);
    const long long kept = health < 1 ? 1 : (health > INT32_MAX ? INT32_MAX : health);
    Expect(ComputeSpawnHealth() == static_cast<int>(kept),
           "spawn health is not BODYGUARD_HEALTH (+500 with revive) kept between 1 and the 32-bit maximum");

    const int charge = HireChargeCents();
    Expect(charge >= 0, "a negative hire charge");
    const long long wide = PRICE <= 0 ? 0 : static_cast<long long>(PRICE) * 100;
    Expect(charge == (wide > INT32_MAX ? INT32_MAX : static_cast<int>(wide)),
           "the hire charge is not PRICE x 100 capped");

    for (int code : {SPAWN_MENU_KEY, ATTACK_KEY, FOLLOW_ALL}) {
        Expect(KeyCodeUsable(code) == (code >= 0 && code < 255),
               "a key code outside 0..254 counts as usable");
    }
}

void CheckFirstLine(const std::string& content) {
    const std::string line = content.substr(0, content.find_first_of("\r\n"));
    if (HasNul(line)) return;

    // As a value.
    const unsigned asValue = ProfileInt("[SETTINGS]\nPRICE=" + line + "\n", "SETTINGS", "PRICE", 77);
    Expect(asValue == ReferenceValue(line, 77), "the first line read as a value gives " +
                                                    std::to_string(asValue) + ", expected " +
                                                    std::to_string(ReferenceValue(line, 77)));

    // As a key name, when the line can be one.
    const std::string key = Trim(line);
    if (line.find('=') == std::string::npos && (key.empty() || (key[0] != '[' && key[0] != ';'))) {
        const unsigned asKey = ProfileInt("[SETTINGS]\n" + line + "=7\n", "SETTINGS", key.c_str(), 3);
        Expect(asKey == 7u, "the first line as a key name is not found again");
    }

    // As a section name, when the line can be one.
    if (line.find(']') == std::string::npos) {
        const unsigned asSection = ProfileInt("[" + line + "]\nK=9\n", Trim(line).c_str(), "K", 4);
        Expect(asSection == 9u, "the first line as a section name is not found again");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::EnterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    CheckDefaults(content);
    CheckReadSettings(content);
    CheckFirstLine(content);
    return 0;
}
