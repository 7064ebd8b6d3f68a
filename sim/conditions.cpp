#include "conditions.h"

#include <cctype>
#include <cstdlib>
#include <functional>

#include "event_log.h"
#include "menu/state.h"
#include "roster/roster.h"
#include "scenario.h"
#include "session.h"
#include "workdir.h"
#include "world.h"
#include "world_actions.h"
#include "world_view.h"
#include "text.h"

namespace sim {

namespace {

using Words = std::vector<std::string>;

bool IsInteger(const std::string& s) {
    if (s.empty() || s.size() > 11) return false;
    std::size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i == s.size()) return false;
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}

long long ToInt(const std::string& s) {
    return std::atoll(s.c_str());
}

bool SameText(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\n')
            out += "\\n";
        else if (c == '"')
            out += "\\\"";
        else
            out += c;
    }
    return out + "\"";
}

ConditionResult Result(bool ok, const std::string& actual) {
    return {ok, actual};
}

const std::vector<const char*>& PageWords() {
    // Index = page number.
    static const std::vector<const char*> words = {"closed",   "main",   "builder",      "roster-full",
                                                   "category", "female", "male",         "gang",
                                                   "all",      "custom", "invalid-model"};
    return words;
}

int PageOfWord(const std::string& w) {
    if (IsInteger(w)) return static_cast<int>(ToInt(w));
    const auto& words = PageWords();
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (SameText(w, words[i])) return static_cast<int>(i);
    }
    return -100;
}

MenuView CurrentMenu(const ConditionContext& c) {
    if (c.session) return ViewOfMenu(c.session->ShownDisplay());
    return ViewOfMenu(standin::GetWorld().display);
}

std::string MenuSummary(const MenuView& m) {
    if (m.Empty()) return "the menu is closed";
    std::string out;
    for (int r = 0; r < MenuView::kRows; ++r) {
        if (!m.rows[r].present) continue;
        out += (out.empty() ? "" : ", ") + std::to_string(r) + (m.highlightRow == r ? ">" : ":") +
               Quote(m.rows[r].text) + (m.rows[r].dimmed ? "(dim)" : "");
    }
    return "the menu shows " + (out.empty() ? std::string("no lines") : out);
}

std::string FileText(const std::string& name, bool* exists) {
    std::string content;
    *exists = ReadTextFile(name, &content);
    return content;
}

std::int32_t ResolveWho(const Who& who) {
    switch (who.kind) {
        case Who::Slot:
            return PedOfSlot(who.number);
        case Who::Stranger: {
            const auto& s = GetExtras().strangers;
            return who.number >= 1 && who.number <= static_cast<int>(s.size()) ? s[who.number - 1] : 0;
        }
        case Who::Player:
            return standin::GetWorld().player.ped;
        case Who::Horse:
            return GetExtras().horse;
        case Who::None:
            return 0;
    }
    return 0;
}

// Slot conditions: the words after "slot N".
struct SlotTest {
    const char* name;
    const char* usage;
    int args;  // words after the name
    std::function<ConditionResult(const SlotView&, const Words&, std::size_t)> eval;
};

std::string Join(const std::vector<std::string>& v) {
    std::string out;
    for (const std::string& s : v) out += (out.empty() ? "" : ", ") + s;
    return out.empty() ? "none" : out;
}

const std::vector<SlotTest>& SlotTests() {
    static const std::vector<SlotTest> tests = {
        {"empty", "empty", 0,
         [](const SlotView& v, const Words&, std::size_t) {
             return Result(!v.occupied, v.occupied ? "it holds " + v.Label() : "it is free");
         }},
        {"occupied", "occupied", 0,
         [](const SlotView& v, const Words&, std::size_t) {
             return Result(v.occupied, v.occupied ? "it holds " + v.Label() : "it is free");
         }},
        {"model", "model NAME", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             return Result(v.occupied && SameText(v.model, w[at]),
                           v.occupied ? "its model is " + v.model : "it is free");
         }},
        {"name", "name \"TEXT\"", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             const std::string name = !v.name.empty() ? v.name : v.gangName;
             return Result(v.occupied && name == w[at],
                           v.occupied ? "its name is " + Quote(name) : "it is free");
         }},
        {"outfit", "outfit N", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             return Result(v.occupied && v.outfit == ToInt(w[at]),
                           v.occupied ? "it wears outfit " + std::to_string(v.outfit) : "it is free");
         }},
        {"weapon", "weapon \"NAME\"", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             bool found = false;
             for (const std::string& n : v.weapons) found = found || SameText(n, w[at]);
             return Result(v.occupied && found, v.occupied ? "it carries " + Join(v.weapons) : "it is free");
         }},
        {"weapons", "weapons N", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             return Result(v.occupied && static_cast<long long>(v.weapons.size()) == ToInt(w[at]),
                           v.occupied ? "it carries " + Join(v.weapons) : "it is free");
         }},
        {"state", "state following|staying|downed|dead|attacking", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             const std::string s = v.State();
             const std::string want = Lower(w[at]);
             return Result(v.occupied && s.compare(0, want.size(), want) == 0,
                           v.occupied ? "it is " + s : "it is free");
         }},
        {"health", "health N", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             return Result(v.occupied && v.health == ToInt(w[at]),
                           v.occupied ? "its health is " + std::to_string(v.health) : "it is free");
         }},
        {"max-health", "max-health N", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             return Result(
                 v.occupied && v.maxHealth == ToInt(w[at]),
                 v.occupied ? "its maximum health is " + std::to_string(v.maxHealth) : "it is free");
         }},
        {"downed-checks", "downed-checks N", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             return Result(v.occupied && v.downedChecks == ToInt(w[at]),
                           v.occupied ? "it has had " + std::to_string(v.downedChecks) + " downed checks"
                                      : "it is free");
         }},
        {"prompt", "prompt \"TEXT\"", 1,
         [](const SlotView& v, const Words& w, std::size_t at) {
             bool found = false;
             for (const std::string& p : v.prompts) found = found || SameText(p, w[at]);
             return Result(v.occupied && found,
                           v.occupied ? "its prompts shown: " + Join(v.prompts) : "it is free");
         }},
        {"in-group", "in-group", 0,
         [](const SlotView& v, const Words&, std::size_t) {
             return Result(v.occupied && v.inPlayerGroup, v.inPlayerGroup
                                                              ? "it is in the player's group"
                                                              : "it is not in the player's group");
         }},
        {"attacks", "attacks slot N|stranger N", 2,
         [](const SlotView& v, const Words& w, std::size_t at) {
             Who who;
             std::size_t used = 0;
             ParseWho(w, at, &who, &used);
             const std::int32_t target = ResolveWho(who);
             return Result(v.occupied && target != 0 && v.combatTarget == target,
                           v.occupied ? "it attacks " + PedLabel(v.combatTarget) : "it is free");
         }},
    };
    return tests;
}

struct Test {
    const char* name;
    const char* usage;
    std::function<bool(const Words&, std::size_t, std::string*)> check;  // words after the name
    std::function<ConditionResult(const Words&, std::size_t, const ConditionContext&)> eval;
};

bool Exactly(const Words& w, std::size_t at, std::size_t n) {
    return w.size() - at == n;
}

const std::vector<Test>& Tests() {
    static const std::vector<Test> tests = {
        {"menu-line", "menu-line ROW \"TEXT\" [dimmed|white]",
         [](const Words& w, std::size_t at, std::string*) {
             return (Exactly(w, at, 2) ||
                     (Exactly(w, at, 3) && (w[at + 2] == "dimmed" || w[at + 2] == "white"))) &&
                    IsInteger(w[at]);
         },
         [](const Words& w, std::size_t at, const ConditionContext& c) {
             const MenuView m = CurrentMenu(c);
             const long long row = ToInt(w[at]);
             if (row < 0 || row >= MenuView::kRows) return Result(false, "row out of range");
             const MenuRow& r = m.rows[row];
             bool ok = r.present && r.text == w[at + 1];
             if (ok && w.size() - at == 3) ok = (w[at + 2] == "dimmed") == r.dimmed;
             const std::string actual = r.present
                                            ? "row " + std::to_string(row) + " reads " + Quote(r.text) +
                                                  (r.dimmed ? " (dimmed)" : "")
                                            : "row " + std::to_string(row) + " is empty; " + MenuSummary(m);
             return Result(ok, actual);
         }},
        {"menu-contains", "menu-contains \"TEXT\"",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1); },
         [](const Words& w, std::size_t at, const ConditionContext& c) {
             const MenuView m = CurrentMenu(c);
             bool found = false;
             for (const MenuRow& r : m.rows) found = found || (r.present && r.text == w[at]);
             return Result(found, MenuSummary(m));
         }},
        {"highlight", "highlight ROW|\"TEXT\"",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1); },
         [](const Words& w, std::size_t at, const ConditionContext& c) {
             const MenuView m = CurrentMenu(c);
             bool ok;
             if (IsInteger(w[at])) {
                 ok = m.highlightRow == ToInt(w[at]);
             } else {
                 ok = m.highlightRow >= 0 && m.highlightRow < MenuView::kRows &&
                      m.rows[m.highlightRow].text == w[at];
             }
             return Result(
                 ok, "the highlight is on row " + std::to_string(m.highlightRow) + "; " + MenuSummary(m));
         }},
        {"menu", "menu open|closed",
         [](const Words& w, std::size_t at, std::string*) {
             return Exactly(w, at, 1) && (w[at] == "open" || w[at] == "closed");
         },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             const bool open = menu.menuPage != PAGE_CLOSED;
             return Result(open == (w[at] == "open"), std::string("the menu is ") +
                                                          (open ? "open on the " : "") +
                                                          (open ? PageName(menu.menuPage) : "closed"));
         }},
        {"page", "page main|builder|roster-full|category|female|male|gang|all|custom|invalid-model|closed|N",
         [](const Words& w, std::size_t at, std::string*) {
             return Exactly(w, at, 1) && PageOfWord(w[at]) > -100;
         },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             return Result(menu.menuPage == PageOfWord(w[at]), std::string("the menu page is the ") +
                                                                   PageName(menu.menuPage) + " (" +
                                                                   std::to_string(menu.menuPage) + ")");
         }},
        {"bodyguards", "bodyguards N",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1) && IsInteger(w[at]); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             const int n = OccupiedSlots();
             return Result(n == ToInt(w[at]), std::to_string(n) + " slots are occupied");
         }},
        {"slot", "slot N TEST (see below)",
         [](const Words& w, std::size_t at, std::string* e) {
             if (w.size() - at < 2 || !IsInteger(w[at]) || ToInt(w[at]) < 0 || ToInt(w[at]) > 6) return false;
             for (const SlotTest& t : SlotTests()) {
                 if (w[at + 1] != t.name) continue;
                 if (w.size() - at - 2 != static_cast<std::size_t>(t.args)) {
                     *e = std::string("usage: slot N ") + t.usage;
                     return false;
                 }
                 if (std::string(t.name) == "attacks") {
                     Who who;
                     std::size_t used = 0;
                     return ParseWho(w, at + 2, &who, &used) && used == 2;
                 }
                 if ((std::string(t.name) == "outfit" || std::string(t.name) == "health" ||
                      std::string(t.name) == "max-health" || std::string(t.name) == "weapons" ||
                      std::string(t.name) == "downed-checks") &&
                     !IsInteger(w[at + 2]))
                     return false;
                 return true;
             }
             *e = "unknown slot test \"" + w[at + 1] + "\"";
             return false;
         },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             const int slot = static_cast<int>(ToInt(w[at]));
             const SlotView v = ViewOfSlot(slot);
             for (const SlotTest& t : SlotTests()) {
                 if (w[at + 1] == t.name) {
                     ConditionResult r = t.eval(v, w, at + 2);
                     r.actual = "slot " + std::to_string(slot) + ": " + r.actual;
                     return r;
                 }
             }
             return Result(false, "unknown slot test");
         }},
        {"hired", "hired MODEL (some slot holds a bodyguard of this model)",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             std::vector<std::string> models;
             bool found = false;
             for (int s = 0; s < ROSTER_SIZE; ++s) {
                 const SlotView v = ViewOfSlot(s);
                 if (!v.occupied) continue;
                 models.push_back(std::to_string(s) + ": " + v.model);
                 found = found || SameText(v.model, w[at]);
             }
             return Result(found, "the roster holds " + Join(models));
         }},
        {"prompt", "prompt \"TEXT\"",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             std::vector<std::string> shown;
             bool found = false;
             for (const ShownPrompt& p : ShownPrompts()) {
                 shown.push_back(p.text);
                 found = found || SameText(p.text, w[at]);
             }
             return Result(found, "prompts shown: " + Join(shown));
         }},
        {"file-contains", "file-contains FILE \"TEXT\"",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 2); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             bool exists = false;
             const std::string text = FileText(w[at], &exists);
             if (!exists) return Result(false, w[at] + " does not exist");
             return Result(text.find(w[at + 1]) != std::string::npos, w[at] + " holds " + Quote(text));
         }},
        {"file-equals", "file-equals FILE \"TEXT\"",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 2); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             bool exists = false;
             const std::string text = FileText(w[at], &exists);
             if (!exists) return Result(false, w[at] + " does not exist");
             return Result(text == w[at + 1], w[at] + " holds " + Quote(text));
         }},
        {"file-exists", "file-exists FILE",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             bool exists = false;
             FileText(w[at], &exists);
             return Result(exists, w[at] + (exists ? " exists" : " does not exist"));
         }},
        {"money", "money DOLLARS",
         [](const Words& w, std::size_t at, std::string*) {
             long long c;
             return Exactly(w, at, 1) && ParseDollars(w[at], &c);
         },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             long long cents = 0;
             ParseDollars(w[at], &cents);
             const std::int64_t money = standin::GetWorld().player.money;
             return Result(money == cents, "the player has " + Dollars(money));
         }},
        {"charged", "charged CENTS (all charges since the start, as passed to ChargePlayer)",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1) && IsInteger(w[at]); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             long long total = 0;
             std::string list;
             for (std::int32_t c : standin::GetWorld().player.charges) {
                 total += c;
                 list += (list.empty() ? "" : " + ") + std::to_string(c);
             }
             return Result(total == ToInt(w[at]), "charged " + std::to_string(total) + " cents" +
                                                      (list.empty() ? " (no charge)" : " (" + list + ")"));
         }},
        {"charges", "charges N (how many times ChargePlayer was called)",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1) && IsInteger(w[at]); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             const auto n = static_cast<long long>(standin::GetWorld().player.charges.size());
             return Result(n == ToInt(w[at]), std::to_string(n) + " charges");
         }},
        {"event", "event \"TEXT\" (an event of the last action contains it)",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1); },
         [](const Words& w, std::size_t at, const ConditionContext& c) {
             if (!c.session) return Result(false, "no events");
             const std::vector<Event> events = c.session->Log().Since(c.eventsFrom);
             std::string seen;
             for (const Event& e : events) {
                 if (Lower(e.text).find(Lower(w[at])) != std::string::npos) return Result(true, e.text);
                 seen += (seen.empty() ? "" : " | ") + e.text;
             }
             return Result(false, "events: " + (seen.empty() ? std::string("none") : seen));
         }},
        {"player", "player alive|dead|on-foot|mounted|in-vehicle",
         [](const Words& w, std::size_t at, std::string*) {
             return Exactly(w, at, 1) && (w[at] == "alive" || w[at] == "dead" || w[at] == "on-foot" ||
                                          w[at] == "mounted" || w[at] == "in-vehicle");
         },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             const PlayerView p = ViewOfPlayer();
             bool ok = false;
             if (w[at] == "alive") ok = p.alive;
             if (w[at] == "dead") ok = !p.alive;
             if (w[at] == "on-foot") ok = p.moving == "on foot";
             if (w[at] == "mounted") ok = p.moving == "mounted";
             if (w[at] == "in-vehicle") ok = p.moving == "in a vehicle";
             return Result(ok,
                           std::string("the player is ") + (p.alive ? "alive" : "dead") + " and " + p.moving);
         }},
        {"formation", "formation N|Auto (the main page's formation)",
         [](const Words& w, std::size_t at, std::string*) {
             return Exactly(w, at, 1) && (IsInteger(w[at]) || SameText(w[at], "auto"));
         },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             const long long want = SameText(w[at], "auto") ? FORMATION_AUTO : ToInt(w[at]);
             return Result(formationMode == want, "formationMode is " + std::to_string(formationMode));
         }},
        {"group-formation", "group-formation N (what the game's group was given)",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 1) && IsInteger(w[at]); },
         [](const Words& w, std::size_t at, const ConditionContext&) {
             standin::World& world = standin::GetWorld();
             auto it = world.groupFormation.find(world.player.group);
             const int f = it == world.groupFormation.end() ? -1 : it->second;
             return Result(f == ToInt(w[at]), it == world.groupFormation.end()
                                                  ? std::string("no formation was set")
                                                  : "the group's formation is " + std::to_string(f));
         }},
        {"no-stale-handles", "no-stale-handles (the plug-in never used a handle it gave back)",
         [](const Words& w, std::size_t at, std::string*) { return Exactly(w, at, 0); },
         [](const Words&, std::size_t, const ConditionContext&) {
             const auto& uses = standin::GetWorld().staleUses;
             if (uses.empty()) return Result(true, "no stale handle used");
             const standin::StaleUse& u = uses.front();
             return Result(false, std::to_string(uses.size()) + " stale uses, first: " + u.call + " with " +
                                      std::to_string(u.handle) + " in frame " + std::to_string(u.frame));
         }},
    };
    return tests;
}

}  // namespace

bool ParseDollars(const std::string& text, long long* cents) {
    std::string t = text;
    bool negative = false;
    if (!t.empty() && t[0] == '-') {
        negative = true;
        t = t.substr(1);
    }
    if (!t.empty() && t[0] == '$') t = t.substr(1);
    if (t.empty() || t.size() > 15) return false;
    long long whole = 0, part = 0;
    std::size_t i = 0;
    for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i)
        whole = whole * 10 + (t[i] - '0');
    if (i == 0) return false;
    if (i < t.size()) {
        if (t[i] != '.' || t.size() - i - 1 != 2) return false;
        for (std::size_t j = i + 1; j < t.size(); ++j) {
            if (!std::isdigit(static_cast<unsigned char>(t[j]))) return false;
            part = part * 10 + (t[j] - '0');
        }
    }
    *cents = (whole * 100 + part) * (negative ? -1 : 1);
    return true;
}

bool CheckCondition(const std::vector<std::string>& words, std::size_t at, std::string* error) {
    if (at >= words.size()) {
        *error = "a condition is missing";
        return false;
    }
    for (const Test& t : Tests()) {
        if (words[at] != t.name) continue;
        error->clear();
        if (t.check(words, at + 1, error)) return true;
        if (error->empty()) *error = std::string("usage: ") + t.usage;
        return false;
    }
    *error = "unknown condition \"" + words[at] + "\"";
    return false;
}

ConditionResult EvaluateCondition(const std::vector<std::string>& words, std::size_t at,
                                  const ConditionContext& context) {
    for (const Test& t : Tests()) {
        if (words[at] == t.name) return t.eval(words, at + 1, context);
    }
    return Result(false, "unknown condition");
}

std::string ConditionHelp() {
    std::string out;
    for (const Test& t : Tests()) out += std::string("  ") + t.usage + "\n";
    out += "  slot tests:\n";
    for (const SlotTest& t : SlotTests()) out += std::string("    slot N ") + t.usage + "\n";
    return out;
}

}  // namespace sim
