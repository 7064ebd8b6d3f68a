// The settings file: which value of each setting is in force and where it came
// from. The values come from the plug-in's own read (ReadSettings, which asks
// GetPrivateProfileIntA as the game does); the file's lines are looked at only
// to tell where a value came from and to find lines the plug-in never reads.
#include <cstdint>
#include <string>
#include <vector>

#include "config/settings.h"
#include "host/platform.h"
#include "profile.h"
#include "report.h"

namespace {

// What the plug-in holds for a setting once it has read the file.
int InForce(const SettingDefinition& setting) {
    return setting.kind == SettingKind::OnOff ? int{*setting.onOff} : *setting.number;
}

// ---- key codes -------------------------------------------------------------

struct KeyLabel {
    int code;
    const char* name;
};
constexpr KeyLabel KEY_LABELS[] = {
    {3, "Ctrl+Break"},
    {8, "Backspace"},
    {9, "Tab"},
    {12, "Clear (number pad 5 without Num Lock)"},
    {13, "Enter"},
    {16, "Shift"},
    {17, "Ctrl"},
    {18, "Alt"},
    {19, "Pause"},
    {20, "Caps Lock"},
    {27, "Esc"},
    {32, "Space"},
    {33, "Page Up"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Left arrow"},
    {38, "Up arrow"},
    {39, "Right arrow"},
    {40, "Down arrow"},
    {44, "Print Screen"},
    {45, "Insert"},
    {46, "Delete"},
    {91, "left Windows key"},
    {92, "right Windows key"},
    {93, "Menu key"},
    {106, "number pad *"},
    {107, "number pad +"},
    {109, "number pad -"},
    {110, "number pad ."},
    {111, "number pad /"},
    {144, "Num Lock"},
    {145, "Scroll Lock"},
    {186, "; (US layout)"},
    {187, "="},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/ (US layout)"},
    {192, "` (US layout)"},
    {219, "[ (US layout)"},
    {220, "\\ (US layout)"},
    {221, "] (US layout)"},
    {222, "' (US layout)"},
};

std::string KeyName(int code) {
    if (code >= 'A' && code <= 'Z') return std::string(1, static_cast<char>(code));
    if (code >= '0' && code <= '9')
        return std::string("the ") + static_cast<char>(code) + " key of the top row";
    if (code >= 96 && code <= 105) return "number pad " + std::to_string(code - 96);
    if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
    for (const KeyLabel& label : KEY_LABELS) {
        if (label.code == code) return label.name;
    }
    return "";
}

// Why no key of a keyboard sends this code, or "" when one does.
std::string NoKeySends(int code) {
    if (code == 0) return "no key sends code 0";
    if (code == 1 || code == 2 || (code >= 4 && code <= 6)) {
        return "code " + std::to_string(code) + " is a mouse button, and the plug-in hears only keys";
    }
    const bool unassigned = code == 7 || code == 10 || code == 11 || code == 14 || code == 15 ||
                            (code >= 58 && code <= 64) || code == 94 || (code >= 136 && code <= 143) ||
                            (code >= 151 && code <= 159) || code == 184 || code == 185 ||
                            (code >= 193 && code <= 218) || code == 224 || code == 229 || code == 231 ||
                            code == 232;
    if (unassigned) return "no key sends code " + std::to_string(code);
    return "";
}

std::string ShowKey(int code) {
    const std::string name = KeyName(code);
    return name.empty() ? std::to_string(code) : std::to_string(code) + " (" + name + ")";
}

// ---- the file's lines ------------------------------------------------------

using standin::Trim;

// Edit distance, to point at the setting a misspelt name meant.
int Distance(const std::string& a, const std::string& b) {
    std::vector<int> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] =
                std::min(std::min(row[j] + 1, row[j - 1] + 1), diagonal + (a[i - 1] != b[j - 1] ? 1 : 0));
            diagonal = above;
        }
    }
    return row[b.size()];
}

int SettingNamed(const std::string& key) {
    for (int i = 0; i < SETTING_COUNT; ++i) {
        if (Upper(key) == SETTING_DEFINITIONS[i].name) return i;
    }
    return -1;
}

std::string Suggestion(const std::string& key) {
    for (const SettingDefinition& s : SETTING_DEFINITIONS) {
        if (Distance(Upper(key), s.name) <= 3) return std::string(" (did you mean ") + s.name + "?)";
    }
    return "";
}

// Where each setting's line is, if the plug-in reads one.
struct Found {
    int line = 0;  // 0: not in the file's [SETTINGS]
    std::string value;
};

void ScanLines(Report& report, const std::string& content, Found found[SETTING_COUNT]) {
    bool inSettings = false, settingsSeen = false, anySection = false;
    int lineNumber = 0;
    for (const std::string& raw : standin::IniLines(content)) {
        ++lineNumber;
        const std::string line = Trim(raw);
        const std::string at = "line " + std::to_string(lineNumber) + ": ";
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            const std::string name =
                Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            anySection = true;
            inSettings = false;
            if (Upper(name) == SETTINGS_SECTION) {
                if (settingsSeen) {
                    Warning(report, at + "a second [SETTINGS] section: only the first is read, so the lines "
                                         "under this one are ignored");
                } else {
                    inSettings = settingsSeen = true;
                }
            } else {
                Warning(report, at + "unknown section " + Quote("[" + name + "]") +
                                    ": the plug-in reads only [SETTINGS], so the lines under it are ignored");
            }
            continue;
        }
        if (!inSettings) {
            if (!anySection) {
                Warning(report, at + Quote(line) +
                                    " stands above any section: it is ignored (put it under "
                                    "[SETTINGS])");
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            Warning(report, at + Quote(line) + " is not a setting (no '='): ignored");
            continue;
        }
        const std::string key = Trim(line.substr(0, eq));
        const int i = SettingNamed(key);
        if (i < 0) {
            if (!key.empty() && key[0] == '#') {
                Line(report, at + Quote(line) + " is not read: with the '#' it names no setting");
            } else {
                Warning(report, at + "unknown setting " + Quote(key) + Suggestion(key) + ": ignored");
            }
            continue;
        }
        if (found[i].line != 0) {
            Warning(report, at + SETTING_DEFINITIONS[i].name + " again: only the first, on line " +
                                std::to_string(found[i].line) + ", counts");
            continue;
        }
        found[i].line = lineNumber;
        found[i].value = Trim(line.substr(eq + 1));
    }
    if (!content.empty() && !settingsSeen) {
        Warning(report, "the file has no [SETTINGS] section: every setting has its default");
    }
}

// A value written as a plain decimal number (quotes around it are dropped by
// the reading); `number` gets its value, capped far outside 32 bits.
bool PlainNumber(std::string text, std::int64_t& number) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
        text = text.substr(1, text.size() - 2);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        if (value < (std::int64_t{1} << 40)) value = value * 10 + (text[i] - '0');
    }
    number = negative ? -value : value;
    return true;
}

std::string ShowValue(const SettingDefinition& setting, int raw, int inForce) {
    switch (setting.kind) {
        case SettingKind::KeyCode: return ShowKey(inForce);
        case SettingKind::OnOff:
            return std::string(inForce ? "on" : "off") +
                   (raw == 0 || raw == 1 ? "" : " (" + std::to_string(raw) + ")");
        default: return std::to_string(inForce);
    }
}

// One line per setting: its value in force and where it came from, and a
// warning when the file's text reads as something else.
void ReportSetting(Report& report, int i, const Found& found) {
    const SettingDefinition& setting = SETTING_DEFINITIONS[i];
    // The number the plug-in's read gives (flags are held as on or off).
    const int raw = static_cast<int>(
        GetPrivateProfileIntA(SETTINGS_SECTION, setting.name, setting.defaultValue, SETTINGS_FILE));
    std::string shown = setting.name;
    shown.resize(18, ' ');
    shown += ShowValue(setting, raw, InForce(setting));
    const std::string at = "line " + std::to_string(found.line);
    std::int64_t number = 0;
    if (found.line == 0) {
        Line(report, shown + ", default");
    } else if (found.value.empty()) {
        Line(report, shown + ", default (" + at + " gives no value)");
    } else {
        Line(report, shown + ", from " + at);
        const std::string says = at + ": " + setting.name + " says ";
        if (!PlainNumber(found.value, number)) {
            Warning(report,
                    says + Quote(found.value) + ", which is no number and reads as " + std::to_string(raw));
        } else if (number != raw) {
            Warning(report, says + found.value + ", which does not fit in 32 bits and reads as " +
                                std::to_string(raw));
        }
    }
}

// What is lost when the key a setting names cannot be pressed.
const char* KeyLost(const int* code) {
    if (code == &SPAWN_MENU_KEY) return "the menu cannot be opened with a key";
    if (code == &ATTACK_KEY) return "the attack order never fires";
    return "the stay/follow switch for everybody never fires";
}

void CheckKeys(Report& report) {
    for (const SettingDefinition& setting : SETTING_DEFINITIONS) {
        if (setting.kind != SettingKind::KeyCode) continue;
        const bool menuKey = setting.number == &SPAWN_MENU_KEY;
        const std::string name = setting.name;
        const int code = *setting.number;
        if (!KeyCodeUsable(code)) {
            const std::string off = name + " " + std::to_string(code) +
                                    " turns the key off (255 or more, or "
                                    "below 0): ";
            if (menuKey && !CONTROLLER_MENU) {
                Problem(report, off + KeyLost(setting.number) + ", and CONTROLLER_MENU is off");
            } else if (menuKey) {
                Warning(report, off + "only the controller chord opens the menu");
            } else {
                Line(report, off + KeyLost(setting.number));
            }
            continue;
        }
        const std::string why = NoKeySends(code);
        if (!why.empty()) {
            const std::string text =
                name + " " + std::to_string(code) + ": " + why + ", so " + KeyLost(setting.number);
            if (menuKey && !CONTROLLER_MENU) {
                Problem(report, text + ", and CONTROLLER_MENU is off");
            } else if (menuKey) {
                Warning(report, text + ": only the controller chord opens it");
            } else {
                Warning(report, text + " (write -1 to turn it off on purpose)");
            }
        }
    }
    if (KeyCodeUsable(SPAWN_MENU_KEY)) {
        for (const SettingDefinition& setting : SETTING_DEFINITIONS) {
            if (setting.kind != SettingKind::KeyCode || setting.number == &SPAWN_MENU_KEY) continue;
            if (*setting.number == SPAWN_MENU_KEY) {
                Warning(report, std::string(setting.name) + " is the menu key, " + ShowKey(SPAWN_MENU_KEY) +
                                    ": the menu takes every release of it, so " + KeyLost(setting.number));
            }
        }
        const int code = SPAWN_MENU_KEY;
        if (code == 8 || code == 13) {
            Warning(report, "SPAWN_MENU_KEY is " + ShowKey(code) + ", which the menu uses to " +
                                (code == 13 ? "choose" : "go back") +
                                ": it opens and closes the menu instead");
        } else if (code >= 37 && code <= 40) {
            Warning(report, "SPAWN_MENU_KEY is " + ShowKey(code) +
                                ", which moves through the menu: letting go of it opens or closes the menu");
        }
    }
    if (KeyCodeUsable(ATTACK_KEY) && ATTACK_KEY == FOLLOW_ALL && ATTACK_KEY != SPAWN_MENU_KEY) {
        Warning(report, "FOLLOW_ALL is the same key as ATTACK_KEY, " + ShowKey(ATTACK_KEY) +
                            ": each release orders the attack, so " + KeyLost(&FOLLOW_ALL));
    }
}

}  // namespace

void CheckSettings(Report& report) {
    Heading(report, std::string("Tavrossimer.ini (read once when the game starts)"));
    std::string content;
    const char* name = SETTINGS_FILE + 2;  // the name without its ".\"
    if (ReadForCheck(report, name, content, "not found: every setting has its default") ==
        FileState::Unreadable)
        return;

    Found found[SETTING_COUNT];
    ScanLines(report, content, found);

    // The values in force, through the plug-in's own read.
    ReadSettings();
    for (int i = 0; i < SETTING_COUNT; ++i) ReportSetting(report, i, found[i]);
    CheckKeys(report);

    if (CONTROLLER_MENU) {
        Line(report,
             "On a controller, hold up on the d-pad and the cancel button (B, circle) together to "
             "open or close the menu.");
    }
    if (ONLY_IN_SALOONS) Line(report, "The menu opens and closes only inside a saloon.");

    const std::int64_t sum = std::int64_t{BODYGUARD_HEALTH} + (ALLOW_REVIVE ? 500 : 0);
    const int health = ComputeSpawnHealth();
    std::string how = "BODYGUARD_HEALTH " + std::to_string(BODYGUARD_HEALTH) +
                      (ALLOW_REVIVE ? ", plus 500 because ALLOW_REVIVE is on" : "");
    if (sum != health) {
        Warning(report, "a hire's health would be " + std::to_string(sum) + " (" + how +
                            "): bodyguards are hired with " + std::to_string(health) + " health instead" +
                            (sum < 1 ? ", so that nobody arrives dead" : ", the most there is"));
    } else {
        Line(report, "Bodyguards are hired with " + std::to_string(health) + " health (" + how + ").");
    }
    if (ALLOW_REVIVE) {
        Line(report,
             "A badly hurt bodyguard goes down instead of dying: crouch beside him and press his "
             "\"Help\" prompt to help him up.");
    }

    const int cents = HireChargeCents();
    if (cents == 0) {
        Line(report, "Hiring is free.");
    } else {
        char money[32];
        std::snprintf(money, sizeof money, "$%d.%02d", cents / 100, cents % 100);
        if (std::int64_t{PRICE} * 100 != cents) {
            Warning(report, "PRICE " + std::to_string(PRICE) +
                                " is more than one payment can be: each hire costs " + money +
                                ", the most there is");
        } else {
            Line(report, std::string("Each hire costs ") + money + ".");
        }
    }
}
