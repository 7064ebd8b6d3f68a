// The settings file: which value of each setting is in force and where it came
// from. The values come from the plug-in's own read (ReadSettings, which asks
// GetPrivateProfileIntA as the game does); the file's lines are looked at only
// to tell where a value came from and to find lines the plug-in never reads.
#include <cstdint>
#include <string>
#include <vector>

#include "config/settings.h"
#include "host/platform.h"
#include "report.h"

namespace {

enum class Kind { Key, Flag, Number };

struct Setting {
    const char* key;
    int defaultValue;
    Kind kind;
};

constexpr Setting SETTINGS[] = {
    {"SPAWN_MENU_KEY", 36, Kind::Key},  {"ALLOW_REVIVE", 1, Kind::Flag},
    {"NO_HEADSHOT", 1, Kind::Flag},     {"BODYGUARD_HEALTH", 500, Kind::Number},
    {"ATTACK_KEY", 48, Kind::Key},      {"FOLLOW_ALL", 18, Kind::Key},
    {"PRICE", 0, Kind::Number},         {"ONLY_IN_SALOONS", 0, Kind::Flag},
    {"CONTROLLER_MENU", 0, Kind::Flag},
};
constexpr int SETTING_COUNT = sizeof SETTINGS / sizeof SETTINGS[0];
constexpr int MENU_KEY = 0, ATTACK = 4, FOLLOW = 5;

// What the plug-in holds for setting i once it has read the file.
int InForce(int i) {
    switch (i) {
        case 0:
            return SPAWN_MENU_KEY;
        case 1:
            return ALLOW_REVIVE;
        case 2:
            return NO_HEADSHOT;
        case 3:
            return BODYGUARD_HEALTH;
        case 4:
            return ATTACK_KEY;
        case 5:
            return FOLLOW_ALL;
        case 6:
            return PRICE;
        case 7:
            return ONLY_IN_SALOONS;
        default:
            return CONTROLLER_MENU;
    }
}

// ---- key codes -------------------------------------------------------------

std::string KeyName(int code) {
    if (code >= 'A' && code <= 'Z') return std::string(1, static_cast<char>(code));
    if (code >= '0' && code <= '9')
        return std::string("the ") + static_cast<char>(code) + " key of the top row";
    if (code >= 96 && code <= 105) return "number pad " + std::to_string(code - 96);
    if (code >= 112 && code <= 135) return "F" + std::to_string(code - 111);
    switch (code) {
        case 3:
            return "Ctrl+Break";
        case 8:
            return "Backspace";
        case 9:
            return "Tab";
        case 12:
            return "Clear (number pad 5 without Num Lock)";
        case 13:
            return "Enter";
        case 16:
            return "Shift";
        case 17:
            return "Ctrl";
        case 18:
            return "Alt";
        case 19:
            return "Pause";
        case 20:
            return "Caps Lock";
        case 27:
            return "Esc";
        case 32:
            return "Space";
        case 33:
            return "Page Up";
        case 34:
            return "Page Down";
        case 35:
            return "End";
        case 36:
            return "Home";
        case 37:
            return "Left arrow";
        case 38:
            return "Up arrow";
        case 39:
            return "Right arrow";
        case 40:
            return "Down arrow";
        case 44:
            return "Print Screen";
        case 45:
            return "Insert";
        case 46:
            return "Delete";
        case 91:
            return "left Windows key";
        case 92:
            return "right Windows key";
        case 93:
            return "Menu key";
        case 106:
            return "number pad *";
        case 107:
            return "number pad +";
        case 109:
            return "number pad -";
        case 110:
            return "number pad .";
        case 111:
            return "number pad /";
        case 144:
            return "Num Lock";
        case 145:
            return "Scroll Lock";
        case 186:
            return "; (US layout)";
        case 187:
            return "=";
        case 188:
            return ",";
        case 189:
            return "-";
        case 190:
            return ".";
        case 191:
            return "/ (US layout)";
        case 192:
            return "` (US layout)";
        case 219:
            return "[ (US layout)";
        case 220:
            return "\\ (US layout)";
        case 221:
            return "] (US layout)";
        case 222:
            return "' (US layout)";
        default:
            return "";
    }
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

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// Lines end with LF, CRLF or CR.
std::vector<std::string> Lines(const std::string& content) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

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
        if (Upper(key) == SETTINGS[i].key) return i;
    }
    return -1;
}

std::string Suggestion(const std::string& key) {
    for (const Setting& s : SETTINGS) {
        if (Distance(Upper(key), s.key) <= 3) return std::string(" (did you mean ") + s.key + "?)";
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
    for (const std::string& raw : Lines(content)) {
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
                Line(report, at + Quote(line) +
                                 " is not read ('#' makes it a name no setting has; ';' starts "
                                 "a comment)");
            } else {
                Warning(report, at + "unknown setting " + Quote(key) + Suggestion(key) + ": ignored");
            }
            continue;
        }
        if (found[i].line != 0) {
            Warning(report, at + SETTINGS[i].key + " again: only the first, on line " +
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

std::string ShowValue(const Setting& setting, int raw, int inForce) {
    switch (setting.kind) {
        case Kind::Key:
            return ShowKey(inForce);
        case Kind::Flag:
            return std::string(inForce ? "on" : "off") +
                   (raw == 0 || raw == 1 ? "" : " (" + std::to_string(raw) + ")");
        default:
            return std::to_string(inForce);
    }
}

// One line per setting: its value in force and where it came from, and a
// warning when the file's text reads as something else.
void ReportSetting(Report& report, int i, const Found& found) {
    const Setting& setting = SETTINGS[i];
    // The number the plug-in's read gives (flags are held as on or off).
    const int raw = static_cast<int>(
        GetPrivateProfileIntA(SETTINGS_SECTION, setting.key, setting.defaultValue, SETTINGS_FILE));
    std::string shown = setting.key;
    shown.resize(18, ' ');
    shown += ShowValue(setting, raw, InForce(i));
    const std::string at = "line " + std::to_string(found.line);
    std::int64_t number = 0;
    if (found.line == 0) {
        Line(report, shown + ", default");
    } else if (found.value.empty()) {
        Line(report, shown + ", default (" + at + " gives no value)");
    } else {
        Line(report, shown + ", from " + at);
        const std::string says = at + ": " + setting.key + " says ";
        if (!PlainNumber(found.value, number)) {
            Warning(report,
                    says + Quote(found.value) + ", which is no number and reads as " + std::to_string(raw));
        } else if (number != raw) {
            Warning(report, says + found.value + ", which does not fit in 32 bits and reads as " +
                                std::to_string(raw));
        }
    }
}

void CheckKeys(Report& report) {
    const char* const names[] = {"SPAWN_MENU_KEY", "ATTACK_KEY", "FOLLOW_ALL"};
    const int codes[] = {SPAWN_MENU_KEY, ATTACK_KEY, FOLLOW_ALL};
    const char* const actions[] = {"the menu cannot be opened with a key", "the attack order never fires",
                                   "the stay/follow switch for everybody never fires"};
    for (int k = 0; k < 3; ++k) {
        const std::string name = names[k];
        const int code = codes[k];
        if (!KeyCodeUsable(code)) {
            const std::string off = name + " " + std::to_string(code) +
                                    " turns the key off (255 or more, or "
                                    "below 0): ";
            if (k == 0 && !CONTROLLER_MENU) {
                Problem(report, off + actions[k] + ", and CONTROLLER_MENU is off");
            } else if (k == 0) {
                Warning(report, off + "only the controller chord opens the menu");
            } else {
                Line(report, off + actions[k]);
            }
            continue;
        }
        const std::string why = NoKeySends(code);
        if (!why.empty()) {
            const std::string text = name + " " + std::to_string(code) + ": " + why + ", so " + actions[k];
            if (k == 0 && !CONTROLLER_MENU) {
                Problem(report, text + ", and CONTROLLER_MENU is off");
            } else if (k == 0) {
                Warning(report, text + ": only the controller chord opens it");
            } else {
                Warning(report, text + " (write -1 to turn it off on purpose)");
            }
        }
    }
    if (KeyCodeUsable(SPAWN_MENU_KEY)) {
        for (int k = 1; k < 3; ++k) {
            if (codes[k] == SPAWN_MENU_KEY) {
                Warning(report, std::string(names[k]) + " is the menu key, " + ShowKey(SPAWN_MENU_KEY) +
                                    ": the menu takes every release of it, so " + actions[k]);
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
                            ": each release orders the attack, so " + actions[2]);
    }
}

}  // namespace

void CheckSettings(Report& report) {
    Heading(report, std::string("Tavrossimer.ini (read once when the game starts)"));
    std::string content;
    bool unreadable = false;
    const char* name = SETTINGS_FILE + 2;  // the name without its ".\"
    if (!ReadWholeFile(name, content, unreadable)) {
        if (unreadable) {
            report.unreadable = true;
            Problem(report, "the file is there but cannot be read");
            return;
        }
        Line(report, "not found: every setting has its default");
        content.clear();
    }

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
             "A badly hurt bodyguard goes down instead of dying: crouch beside him and hold his "
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
