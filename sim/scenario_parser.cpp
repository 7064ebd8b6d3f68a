#include <cctype>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "conditions.h"
#include "keys.h"
#include "scenario.h"
#include "workdir.h"
#include "text.h"

namespace sim {

namespace {

bool IsInteger(const std::string& s) {
    if (s.empty()) return false;
    std::size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    return s.size() < 12;
}

using Args = std::vector<std::string>;
using Checker = std::function<bool(const Args&, std::string*)>;

bool Fail(std::string* error, const std::string& message) {
    *error = message;
    return false;
}

bool Count(const Args& a, std::size_t min, std::size_t max, const char* usage, std::string* error) {
    if (a.size() < min || a.size() > max) return Fail(error, std::string("usage: ") + usage);
    return true;
}

bool KeyWord(const std::string& name, std::string* error) {
    if (!IsKeyName(name)) return Fail(error, "unknown key \"" + name + "\"");
    return true;
}

// A ped named by the words: "slot N" and "stranger N" always; "none" and
// "player" where the command takes them.
bool WhoOnly(const Args& a, const char* usage, bool allowNone, bool allowPlayer, std::string* error) {
    Who who;
    std::size_t used = 0;
    if (!ParseWho(a, 0, &who, &used) || used != a.size() || who.kind == Who::Horse ||
        (who.kind == Who::None && !allowNone) || (who.kind == Who::Player && !allowPlayer))
        return Fail(error, std::string("usage: ") + usage);
    return true;
}

struct Verb {
    const char* name;
    const char* usage;
    const char* help;
    Checker check;
};

const std::vector<Verb>& Verbs() {
    static const std::vector<Verb> verbs = {
        // Files and the world's set-up.
        {"ini", "ini KEY=VALUE", "set a line of [SETTINGS] in Tavrossimer.ini (read at the next start)",
         [](const Args& a, std::string* e) {
             std::string k, v;
             if (!Count(a, 1, 1, "ini KEY=VALUE", e)) return false;
             return SplitAssignment(a[0], &k, &v) || Fail(e, "usage: ini KEY=VALUE");
         }},
        {"custom-list", "custom-list NAME...", "write Tavrossimer_CustomPeds.txt with these model names",
         [](const Args&, std::string*) { return true; }},
        {"write-file", "write-file FILE \"TEXT\"", "write a file in the working folder",
         [](const Args& a, std::string* e) { return Count(a, 2, 2, "write-file FILE \"TEXT\"", e); }},
        {"delete-file", "delete-file FILE", "remove a file from the working folder",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "delete-file FILE", e); }},
        {"seed", "seed N", "seed the game's random numbers",
         [](const Args& a, std::string* e) {
             return (a.size() == 1 && IsInteger(a[0])) || Fail(e, "usage: seed N");
         }},
        {"random", "random N...", "the next random numbers the game hands out, in order",
         [](const Args& a, std::string* e) {
             if (a.empty()) return Fail(e, "usage: random N...");
             for (const std::string& s : a) {
                 if (!IsInteger(s)) return Fail(e, "not a number: " + s);
             }
             return true;
         }},
        {"model-unavailable", "model-unavailable NAME", "the game refuses this model (IsModelAvailable 0)",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "model-unavailable NAME", e); }},
        {"model-invalid", "model-invalid NAME", "the game refuses this model (IsModelValid 0)",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "model-invalid NAME", e); }},
        {"model-load-frames", "model-load-frames N", "frames a model takes to load (-1: never)",
         [](const Args& a, std::string* e) {
             return (a.size() == 1 && IsInteger(a[0])) || Fail(e, "usage: model-load-frames N");
         }},
        {"start", "start", "start the game (done by the first command that needs it)",
         [](const Args& a, std::string* e) { return Count(a, 0, 0, "start", e); }},
        {"restart", "restart [same-world]",
         "end the game and start it again; the plug-in reads its files again",
         [](const Args& a, std::string* e) {
             return a.empty() || (a.size() == 1 && a[0] == "same-world") ||
                    Fail(e, "usage: restart [same-world]");
         }},
        // Keys.
        {"tap", "tap KEY...", "press and release keys one after another, as a person does",
         [](const Args& a, std::string* e) {
             if (a.empty()) return Fail(e, "usage: tap KEY...");
             for (const std::string& k : a) {
                 if (!KeyWord(k, e)) return false;
             }
             return true;
         }},
        {"press", "press KEY", "key down only (delivered with the next frame)",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "press KEY", e) && KeyWord(a[0], e); }},
        {"release", "release KEY", "key up only (delivered with the next frame)",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "release KEY", e) && KeyWord(a[0], e); }},
        {"hold", "hold KEY DURATION", "key down, wait, key up",
         [](const Args& a, std::string* e) {
             Duration d;
             std::size_t used = 0;
             if (a.size() < 2) return Fail(e, "usage: hold KEY DURATION");
             if (!KeyWord(a[0], e)) return false;
             return (ParseDuration(a, 1, &d, &used) && used + 1 == a.size()) ||
                    Fail(e, "usage: hold KEY DURATION");
         }},
        {"select", "select \"TEXT\"", "move the highlight to the menu line with this text, then Enter",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "select \"TEXT\"", e); }},
        {"highlight", "highlight \"TEXT\"", "move the highlight to the menu line with this text",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "highlight \"TEXT\"", e); }},
        {"control", "control NAME", "trigger a game control for one frame (INPUT_FRONTEND_ACCEPT...)",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "control NAME", e); }},
        {"hold-control", "hold-control NAME on|off", "hold or let go of a game control",
         [](const Args& a, std::string* e) {
             return (a.size() == 2 && (a[1] == "on" || a[1] == "off")) ||
                    Fail(e, "usage: hold-control NAME on|off");
         }},
        {"input", "input keyboard|gamepad", "whether the player uses keyboard and mouse",
         [](const Args& a, std::string* e) {
             return (a.size() == 1 && (a[0] == "keyboard" || a[0] == "gamepad")) ||
                    Fail(e, "usage: input keyboard|gamepad");
         }},
        // Time.
        {"wait", "wait DURATION", "let the game run: 10 frames, 500 ms, 2 s",
         [](const Args& a, std::string* e) {
             Duration d;
             std::size_t used = 0;
             return (ParseDuration(a, 0, &d, &used) && used == a.size()) || Fail(e, "usage: wait DURATION");
         }},
        {"wait-for", "wait-for CONDITION [within DURATION]",
         "run frames until the condition holds (default 10 s)",
         [](const Args& a, std::string* e) {
             std::size_t end = a.size();
             for (std::size_t i = 0; i < a.size(); ++i) {
                 if (a[i] == "within") {
                     Duration d;
                     std::size_t used = 0;
                     if (!ParseDuration(a, i + 1, &d, &used) || i + 1 + used != a.size())
                         return Fail(e, "usage: wait-for CONDITION [within DURATION]");
                     end = i;
                     break;
                 }
             }
             const Args cond(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(end));
             return CheckCondition(cond, 0, e);
         }},
        // The world.
        {"stranger", "stranger [MODEL]", "a stranger ped appears near the player (stranger 1, 2, ...)",
         [](const Args& a, std::string* e) { return Count(a, 0, 1, "stranger [MODEL]", e); }},
        {"target", "target slot N|stranger N|none",
         "the player targets someone (prompts show for a bodyguard)",
         [](const Args& a, std::string* e) {
             return WhoOnly(a, "target slot N|stranger N|none", true, false, e);
         }},
        {"aim", "aim slot N|stranger N|none", "the player aims at someone (for the attack key)",
         [](const Args& a, std::string* e) {
             return WhoOnly(a, "aim slot N|stranger N|none", true, false, e);
         }},
        {"complete", "complete \"TEXT\"", "complete the shown prompt with this text",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "complete \"TEXT\"", e); }},
        {"damage", "damage slot N|stranger N|player AMOUNT", "take health from a ped",
         [](const Args& a, std::string* e) {
             Who w;
             std::size_t used = 0;
             return (ParseWho(a, 0, &w, &used) && w.kind != Who::None && used + 1 == a.size() &&
                     IsInteger(a[used])) ||
                    Fail(e, "usage: damage slot N|stranger N|player AMOUNT");
         }},
        {"kill", "kill slot N|stranger N|player", "kill a ped (or the player)",
         [](const Args& a, std::string* e) {
             return WhoOnly(a, "kill slot N|stranger N|player", false, true, e);
         }},
        {"heal", "heal slot N|stranger N", "give a ped its full health back",
         [](const Args& a, std::string* e) { return WhoOnly(a, "heal slot N|stranger N", false, false, e); }},
        {"respawn", "respawn", "the dead player comes back",
         [](const Args& a, std::string* e) { return Count(a, 0, 0, "respawn", e); }},
        {"mount", "mount", "the player gets on his horse",
         [](const Args& a, std::string* e) { return Count(a, 0, 0, "mount", e); }},
        {"dismount", "dismount", "the player gets off his horse",
         [](const Args& a, std::string* e) { return Count(a, 0, 0, "dismount", e); }},
        {"vehicle", "vehicle in|out", "the player gets into or out of a wagon",
         [](const Args& a, std::string* e) {
             return (a.size() == 1 && (a[0] == "in" || a[0] == "out")) || Fail(e, "usage: vehicle in|out");
         }},
        {"walk-to", "walk-to slot N|stranger N", "the player walks up to a ped",
         [](const Args& a, std::string* e) {
             return WhoOnly(a, "walk-to slot N|stranger N", false, false, e);
         }},
        {"walk-away", "walk-away [METRES]", "the player walks away (10 m unless said)",
         [](const Args& a, std::string* e) {
             return a.empty() || (a.size() == 1 && IsInteger(a[0])) || Fail(e, "usage: walk-away [METRES]");
         }},
        {"saloon", "saloon in|out", "the player walks into a saloon or out of it",
         [](const Args& a, std::string* e) {
             return (a.size() == 1 && (a[0] == "in" || a[0] == "out")) || Fail(e, "usage: saloon in|out");
         }},
        {"interior", "interior ID", "the player is inside this interior (0: outside)",
         [](const Args& a, std::string* e) {
             return (a.size() == 1 && IsInteger(a[0])) || Fail(e, "usage: interior ID");
         }},
        {"money", "money DOLLARS", "set the player's money",
         [](const Args& a, std::string* e) {
             long long c;
             return (a.size() == 1 && ParseDollars(a[0], &c)) || Fail(e, "usage: money DOLLARS");
         }},
        // Output.
        {"echo", "echo TEXT...", "print a line in the transcript",
         [](const Args&, std::string*) { return true; }},
        {"show", "show [menu|world|prompts|files|display]...",
         "print the menu, the world, the prompts, the files or the frame's display list",
         [](const Args& a, std::string* e) {
             for (const std::string& s : a) {
                 if (s != "menu" && s != "world" && s != "prompts" && s != "files" && s != "display")
                     return Fail(e, "usage: show [menu|world|prompts|files|display]...");
             }
             return true;
         }},
        {"png", "png FILE", "write the frame as the game shows it, 1920x1080 (path from where you started)",
         [](const Args& a, std::string* e) { return Count(a, 1, 1, "png FILE", e); }},
        // Expectations.
        {"expect", "expect [not] CONDITION", "fail the run unless the condition holds now",
         [](const Args& a, std::string* e) {
             const std::size_t at = (!a.empty() && a[0] == "not") ? 1 : 0;
             return CheckCondition(a, at, e);
         }},
    };
    return verbs;
}

const Verb* FindVerb(const std::string& name) {
    for (const Verb& v : Verbs()) {
        if (name == v.name) return &v;
    }
    return nullptr;
}

}  // namespace

bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error) {
    words->clear();
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        while (i < n && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= n || line[i] == '#') break;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < n) {
                    const char esc = line[i++];
                    word += esc == 'n' ? '\n' : esc == 't' ? '\t' : esc;
                } else {
                    word += c;
                }
            }
            if (!closed) return Fail(error, "a quote is not closed");
        } else {
            while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
        }
        words->push_back(word);
    }
    return true;
}

bool ParseDuration(const std::vector<std::string>& words, std::size_t at, Duration* out, std::size_t* used) {
    if (at >= words.size()) return false;
    std::string number = words[at], unit;
    std::size_t count = 1;
    // "500ms" or "500 ms".
    std::size_t split = 0;
    while (split < number.size() &&
           (std::isdigit(static_cast<unsigned char>(number[split])) || number[split] == '.'))
        ++split;
    if (split == 0) return false;
    if (split < number.size()) {
        unit = number.substr(split);
        number = number.substr(0, split);
    } else if (at + 1 < words.size()) {
        unit = words[at + 1];
        count = 2;
    } else {
        return false;
    }
    const double value = std::atof(number.c_str());
    unit = Lower(unit);
    if (unit == "frames" || unit == "frame" || unit == "f") {
        out->frames = true;
        out->amount = static_cast<long long>(value);
    } else if (unit == "ms") {
        out->frames = false;
        out->amount = static_cast<long long>(value);
    } else if (unit == "s" || unit == "sec" || unit == "second" || unit == "seconds") {
        out->frames = false;
        out->amount = static_cast<long long>(value * 1000.0 + 0.5);
    } else if (unit == "min" || unit == "minute" || unit == "minutes") {
        out->frames = false;
        out->amount = static_cast<long long>(value * 60000.0 + 0.5);
    } else {
        return false;
    }
    *used = count;
    return out->amount >= 0;
}

bool ParseWho(const std::vector<std::string>& words, std::size_t at, Who* out, std::size_t* used) {
    if (at >= words.size()) return false;
    const std::string w = Lower(words[at]);
    if (w == "none" || w == "nobody" || w == "nothing") {
        out->kind = Who::None;
        *used = 1;
        return true;
    }
    if (w == "player" || w == "horse") {
        out->kind = w == "player" ? Who::Player : Who::Horse;
        *used = 1;
        return true;
    }
    if ((w == "slot" || w == "stranger") && at + 1 < words.size() && IsInteger(words[at + 1])) {
        out->kind = w == "slot" ? Who::Slot : Who::Stranger;
        out->number = std::atoi(words[at + 1].c_str());
        if (out->kind == Who::Slot && (out->number < 0 || out->number > 6)) return false;
        if (out->kind == Who::Stranger && out->number < 1) return false;
        *used = 2;
        return true;
    }
    return false;
}

bool CheckCommand(const Command& command, std::string* error) {
    const Verb* v = FindVerb(command.verb);
    if (!v) return Fail(error, "unknown command \"" + command.verb + "\" (see --help-scenarios)");
    error->clear();
    if (!v->check(command.args, error)) {
        if (error->empty()) *error = std::string("usage: ") + v->usage;
        return false;
    }
    return true;
}

bool ParseScenario(const std::string& text, const std::string& name, Scenario* out, std::string* error) {
    out->name = name;
    out->commands.clear();
    out->description.clear();
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string trimmed = Trim(raw);
        if (trimmed.empty()) continue;
        if (trimmed[0] == '#') {
            if (out->description.empty() && out->commands.empty()) out->description = Trim(trimmed.substr(1));
            continue;
        }
        Command c;
        c.line = line;
        std::vector<std::string> words;
        std::string message;
        if (!SplitWords(trimmed, &words, &message)) {
            *error = std::to_string(line) + ": " + message;
            return false;
        }
        if (words.empty()) continue;
        // The source without a trailing comment, for the transcript.
        c.source = trimmed;
        {
            bool quoted = false;
            for (std::size_t i = 0; i < trimmed.size(); ++i) {
                if (trimmed[i] == '\\' && quoted) {
                    ++i;
                } else if (trimmed[i] == '"') {
                    quoted = !quoted;
                } else if (trimmed[i] == '#' && !quoted && i > 0 &&
                           std::isspace(static_cast<unsigned char>(trimmed[i - 1]))) {
                    c.source = Trim(trimmed.substr(0, i));
                    break;
                }
            }
        }
        c.verb = Lower(words[0]);
        c.args.assign(words.begin() + 1, words.end());
        if (!CheckCommand(c, &message)) {
            *error = std::to_string(line) + ": " + message;
            return false;
        }
        out->commands.push_back(c);
    }
    return true;
}

bool LoadScenarioFile(const std::string& path, Scenario* out, std::string* error) {
    std::string text;
    if (!ReadTextFile(path, &text)) {
        *error = "cannot read " + path;
        return false;
    }
    std::string name = path;
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
    std::string message;
    if (!ParseScenario(text, name, out, &message)) {
        *error = path + ":" + message;
        return false;
    }
    out->path = path;
    return true;
}

std::string ScenarioHelp() {
    std::string out =
        "Scenario files: one command per line; '#' starts a comment; \"quotes\" keep blanks.\n"
        "The game starts with the first command that needs it, in a fresh world, in the\n"
        "working folder (the settings, save and custom list files live there).\n\n"
        "Keys are named Home, End, Up, Down, Left, Right, Enter, Backspace, Alt, Insert,\n"
        "Delete, PageUp, PageDown, F1..F12, A..Z, 0..9, vk:NN, or Menu, Attack and FollowAll\n"
        "for the keys the settings file gives the plug-in.\n\n"
        "Commands:\n";
    for (const Verb& v : Verbs()) {
        std::string usage = v.usage;
        if (usage.size() < 40) usage.resize(40, ' ');
        out += "  " + usage + " " + v.help + "\n";
    }
    out += "\nConditions (for expect, expect not, wait-for):\n" + ConditionHelp();
    return out;
}

}  // namespace sim
