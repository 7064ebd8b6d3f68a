#include <algorithm>
#include <iterator>

#include "event_log.h"
#include "keys.h"
#include "menu/state.h"
#include "roster/roster.h"
#include "scenario.h"
#include "world.h"
#include "world_view.h"

namespace sim {

namespace {

using Words = std::vector<std::string>;

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) out += c == '\n' ? "\\n" : c == '"' ? "\\\"" : std::string(1, c);
    return out + "\"";
}

ConditionResult Result(bool ok, const std::string& actual) {
    return {ok, actual};
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

// A file's test: false when the file does not exist, else what `holds` says of its text.
template <typename Test>
ConditionResult FileTest(const std::string& name, Test holds) {
    std::string text;
    if (!ReadTextFile(name, &text)) return Result(false, name + " does not exist");
    return Result(holds(text), name + " holds " + Quote(text));
}

// Slot conditions: the words after "slot N". A free slot meets only the first, "empty".
struct SlotTest {
    const char* usage;  // the name, then the argument pattern (see CheckUsage)
    ConditionResult (*eval)(const SlotView& v, const Words& w);  // w: the words after the name
};

std::string Join(const std::vector<std::string>& v, const char* separator = ", ") {
    std::string out;
    for (const std::string& s : v) out += (out.empty() ? "" : separator) + s;
    return out.empty() ? "none" : out;
}

bool Contains(const std::vector<std::string>& list, const std::string& text) {
    for (const std::string& s : list) {
        if (SameText(s, text)) return true;
    }
    return false;
}

ConditionResult Number(long long have, const std::string& want, const std::string& actual) {
    return Result(have == ToInt(want), actual + std::to_string(have));
}

// A yes-or-no test, described either way.
ConditionResult Flag(bool is, const std::string& yes, const std::string& no) {
    return Result(is, is ? yes : no);
}

const SlotTest kSlotTests[] = {
    {"empty", [](const SlotView& v, const Words&) { return Result(false, "it holds " + v.Label()); }},
    {"occupied", [](const SlotView& v, const Words&) { return Result(true, "it holds " + v.Label()); }},
    {"model NAME", [](const SlotView& v,
                      const Words& w) { return Result(SameText(v.model, w[0]), "its model is " + v.model); }},
    {"name \"TEXT\"",
     [](const SlotView& v, const Words& w) {
         const std::string name = !v.name.empty() ? v.name : v.gangName;
         return Result(name == w[0], "its name is " + Quote(name));
     }},
    {"outfit N",
     [](const SlotView& v, const Words& w) { return Number(v.outfit, w[0], "it wears outfit "); }},
    {"weapon \"NAME\"",
     [](const SlotView& v, const Words& w) {
         return Result(Contains(v.weapons, w[0]), "it carries " + Join(v.weapons));
     }},
    {"weapons N",
     [](const SlotView& v, const Words& w) {
         return Result(static_cast<long long>(v.weapons.size()) == ToInt(w[0]),
                       "it carries " + Join(v.weapons));
     }},
    {"state following|staying|downed|dead|attacking",
     [](const SlotView& v, const Words& w) {
         return Result(v.State().compare(0, w[0].size(), Lower(w[0])) == 0, "it is " + v.State());
     }},
    {"health N", [](const SlotView& v, const Words& w) { return Number(v.health, w[0], "its health is "); }},
    {"max-health N",
     [](const SlotView& v, const Words& w) { return Number(v.maxHealth, w[0], "its maximum health is "); }},
    {"downed-checks N",
     [](const SlotView& v, const Words& w) {
         return Number(v.downedChecks, w[0], "the downed checks it has had: ");
     }},
    {"prompt \"TEXT\"",
     [](const SlotView& v, const Words& w) {
         return Result(Contains(v.prompts, w[0]), "its prompts shown: " + Join(v.prompts));
     }},
    {"in-group",
     [](const SlotView& v, const Words&) {
         return Flag(v.inPlayerGroup, "it is in the player's group", "it is not in the player's group");
     }},
    {"in-combat", [](const SlotView& v,
                     const Words&) { return Flag(v.inCombat, "it is in combat", "it is out of combat"); }},
    {"senses-lowered",
     [](const SlotView& v, const Words&) {
         return Flag(v.sensesLowered, "its senses are lowered", "its senses are as usual");
     }},
    {"attacks slot N|stranger N",
     [](const SlotView& v, const Words& w) {
         std::string unused;
         const std::int32_t target = ResolveWho(w, 0, &unused);
         return Result(target != 0 && v.combatTarget == target, "it attacks " + PedLabel(v.combatTarget));
     }},
};

struct Test {
    const char* usage;  // the name, then the argument pattern (see CheckUsage)
    const char* help;
    ConditionResult (*eval)(const Words& w, const ConditionContext& c);
};

const Test kTests[] = {
    {"menu-line ROW \"TEXT\" [dimmed|white]", "",
     [](const Words& w, const ConditionContext& c) {
         const MenuView m = ViewOfMenu(c.session->ShownDisplay());
         const long long row = ToInt(w[0]);
         if (row < 0 || row >= MenuView::kRows) return Result(false, "row out of range");
         const MenuRow& r = m.rows[row];
         bool ok = r.present && r.text == w[1];
         if (ok && w.size() == 3) ok = SameText(w[2], "dimmed") == r.dimmed;
         const std::string actual = r.present ? "row " + std::to_string(row) + " reads " + Quote(r.text) +
                                                    (r.dimmed ? " (dimmed)" : "")
                                              : "row " + std::to_string(row) + " is empty; " + MenuSummary(m);
         return Result(ok, actual);
     }},
    {"menu-contains \"TEXT\"", "",
     [](const Words& w, const ConditionContext& c) {
         const MenuView m = ViewOfMenu(c.session->ShownDisplay());
         bool found = false;
         for (const MenuRow& r : m.rows) found = found || (r.present && r.text == w[0]);
         return Result(found, MenuSummary(m));
     }},
    {"highlight ROW|\"TEXT\"", "",
     [](const Words& w, const ConditionContext& c) {
         const MenuView m = ViewOfMenu(c.session->ShownDisplay());
         const bool ok = IsInteger(w[0]) ? m.highlightRow == ToInt(w[0])
                                         : m.highlightRow >= 0 && m.highlightRow < MenuView::kRows &&
                                               m.rows[m.highlightRow].text == w[0];
         return Result(ok,
                       "the highlight is on row " + std::to_string(m.highlightRow) + "; " + MenuSummary(m));
     }},
    {"menu open|closed", "",
     [](const Words& w, const ConditionContext&) {
         const bool open = menu.menuPage != PAGE_CLOSED;
         return Result(open == SameText(w[0], "open"), std::string("the menu is ") +
                                                           (open ? "open on the " : "") +
                                                           (open ? PageName(menu.menuPage) : "closed"));
     }},
    {"page main|builder|roster-full|category|female|male|gang|all|custom|invalid-model|closed|N", "",
     [](const Words& w, const ConditionContext&) {
         return Result(menu.menuPage == PageOfWord(w[0]), std::string("the menu page is the ") +
                                                              PageName(menu.menuPage) + " (" +
                                                              std::to_string(menu.menuPage) + ")");
     }},
    {"bodyguards N", "",
     [](const Words& w, const ConditionContext&) {
         const int n = OccupiedSlots();
         return Result(n == ToInt(w[0]), std::to_string(n) + " slots are occupied");
     }},
    {"slot N TEST", "see below",
     [](const Words& w, const ConditionContext&) {
         const int slot = static_cast<int>(ToInt(w[0]));
         const SlotView v = ViewOfSlot(slot);
         const SlotTest* t = FindByName(kSlotTests, w[1]);
         ConditionResult r =
             v.occupied ? t->eval(v, Words(w.begin() + 2, w.end())) : Result(t == kSlotTests, "it is free");
         r.actual = "slot " + std::to_string(slot) + ": " + r.actual;
         return r;
     }},
    {"hired MODEL", "some slot holds a bodyguard of this model",
     [](const Words& w, const ConditionContext&) {
         std::vector<std::string> models;
         bool found = false;
         for (int s = 0; s < ROSTER_SIZE; ++s) {
             const SlotView v = ViewOfSlot(s);
             if (!v.occupied) continue;
             models.push_back(std::to_string(s) + ": " + v.model);
             found = found || SameText(v.model, w[0]);
         }
         return Result(found, "the roster holds " + Join(models));
     }},
    {"prompt \"TEXT\"", "",
     [](const Words& w, const ConditionContext&) {
         std::vector<std::string> shown;
         for (const ShownPrompt& p : ShownPrompts()) shown.push_back(p.text);
         return Result(Contains(shown, w[0]), "prompts shown: " + Join(shown));
     }},
    {"file-contains FILE \"TEXT\"", "",
     [](const Words& w, const ConditionContext&) {
         return FileTest(w[0], [&](const std::string& t) { return t.find(w[1]) != std::string::npos; });
     }},
    {"file-equals FILE \"TEXT\"", "",
     [](const Words& w, const ConditionContext&) {
         return FileTest(w[0], [&](const std::string& t) { return t == w[1]; });
     }},
    {"file-exists FILE", "",
     [](const Words& w, const ConditionContext&) {
         std::string text;
         return Flag(ReadTextFile(w[0], &text), w[0] + " exists", w[0] + " does not exist");
     }},
    {"money DOLLARS", "",
     [](const Words& w, const ConditionContext&) {
         long long cents = 0;
         ParseDollars(w[0], &cents);
         const std::int64_t money = standin::GetWorld().player.money;
         return Result(money == cents, "the player has " + Dollars(money));
     }},
    {"charged CENTS", "all charges since the start, as passed to ChargePlayer",
     [](const Words& w, const ConditionContext&) {
         long long total = 0;
         std::string list;
         for (std::int32_t c : standin::GetWorld().player.charges) {
             total += c;
             list += (list.empty() ? "" : " + ") + std::to_string(c);
         }
         return Result(total == ToInt(w[0]), "charged " + std::to_string(total) + " cents" +
                                                 (list.empty() ? " (no charge)" : " (" + list + ")"));
     }},
    {"charges N", "how many times ChargePlayer was called",
     [](const Words& w, const ConditionContext&) {
         const auto n = static_cast<long long>(standin::GetWorld().player.charges.size());
         return Result(n == ToInt(w[0]), std::to_string(n) + " charges");
     }},
    {"event \"TEXT\"", "an event of the last action contains it",
     [](const Words& w, const ConditionContext& c) {
         std::vector<std::string> seen;
         for (const Event& e : c.session->Log().Since(c.eventsFrom)) {
             if (Lower(e.text).find(Lower(w[0])) != std::string::npos) return Result(true, e.text);
             seen.push_back(e.text);
         }
         return Result(false, "events: " + Join(seen, " | "));
     }},
    {"player alive|dead|on-foot|mounted|in-vehicle|crouching|standing|in-combat|out-of-combat", "",
     [](const Words& w, const ConditionContext&) {
         const PlayerView p = ViewOfPlayer();
         // What the player is, in the condition's words.
         const std::string is[] = {p.alive ? "alive" : "dead",
                                   p.moving == "on foot"   ? "on-foot"
                                   : p.moving == "mounted" ? "mounted"
                                                           : "in-vehicle",
                                   p.crouching ? "crouching" : "standing",
                                   p.inCombat ? "in-combat" : "out-of-combat"};
         const bool ok = std::find(std::begin(is), std::end(is), Lower(w[0])) != std::end(is);
         return Result(ok, std::string("the player is ") + (p.alive ? "alive" : "dead") + ", " + p.moving +
                               (p.crouching ? ", crouching" : ", standing") +
                               (p.inCombat ? ", in combat" : ", out of combat"));
     }},
    {"formation N|Auto", "the main page's formation",
     [](const Words& w, const ConditionContext&) {
         const long long want = SameText(w[0], "auto") ? FORMATION_AUTO : ToInt(w[0]);
         return Result(formationMode == want, "formationMode is " + std::to_string(formationMode));
     }},
    {"group-formation N", "what the game's group was given",
     [](const Words& w, const ConditionContext&) {
         standin::World& world = standin::GetWorld();
         auto it = world.groupFormation.find(world.player.group);
         const int f = it == world.groupFormation.end() ? -1 : it->second;
         return Result(f == ToInt(w[0]), it == world.groupFormation.end()
                                             ? std::string("no formation was set")
                                             : "the group's formation is " + std::to_string(f));
     }},
    {"no-stale-handles", "the plug-in never used a handle it gave back",
     [](const Words&, const ConditionContext&) {
         const auto& uses = standin::GetWorld().staleUses;
         if (uses.empty()) return Result(true, "no stale handle used");
         const standin::StaleUse& u = uses.front();
         return Result(false, std::to_string(uses.size()) + " stale uses, first: " + u.call + " with " +
                                  std::to_string(u.handle) + " in frame " + std::to_string(u.frame));
     }},
};

}  // namespace

bool ParseDollars(const std::string& text, long long* cents) {
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t start = negative + (text.size() > negative && text[negative] == '$' ? 1 : 0);
    const std::string t = text.substr(start);
    const std::size_t dot = t.find('.');
    const std::string whole = t.substr(0, dot), part = dot == std::string::npos ? "" : t.substr(dot + 1);
    if (t.size() > 15 || !AllDigits(whole) ||
        (dot != std::string::npos && (part.size() != 2 || !AllDigits(part))))
        return false;
    *cents = (ToInt(whole) * 100 + (part.empty() ? 0 : ToInt(part))) * (negative ? -1 : 1);
    return true;
}

std::int32_t ResolveWho(const std::vector<std::string>& words, std::size_t at, std::string* failure) {
    Who who;
    std::size_t used = 0;
    ParseWho(words, at, &who, &used);
    switch (who.kind) {
        case Who::None: return 0;
        case Who::Player: return standin::GetWorld().player.ped;
        case Who::Horse:
            if (GetExtras().horse == 0) *failure = "the player has no horse yet (mount first)";
            return GetExtras().horse;
        case Who::Slot:
            if (PedOfSlot(who.number) == 0) *failure = "slot " + std::to_string(who.number) + " is free";
            return PedOfSlot(who.number);
        case Who::Stranger: break;
    }
    const auto& s = GetExtras().strangers;
    if (who.number <= static_cast<int>(s.size())) return s[who.number - 1];
    *failure = "there is no stranger " + std::to_string(who.number) + " (" + std::to_string(s.size()) +
               " spawned; use the stranger command)";
    return 0;
}

bool CheckCondition(const std::vector<std::string>& words, std::size_t at, std::string* error) {
    if (at >= words.size()) return Fail(error, "a condition is missing");
    const Test* t = FindByName(kTests, words[at]);
    if (!t) return Fail(error, "unknown condition \"" + words[at] + "\"");
    if (NameOf(t->usage) != "slot") return CheckUsage(t->usage, words, at + 1, error);
    // "slot N" and a slot test with its own usage.
    Who slot;
    std::size_t used = 0;
    if (words.size() - at < 3 || !ParseWho(words, at, &slot, &used))
        return Fail(error, "usage: " + std::string(t->usage));
    const SlotTest* s = FindByName(kSlotTests, words[at + 2]);
    if (!s) return Fail(error, "unknown slot test \"" + words[at + 2] + "\"");
    if (CheckUsage(s->usage, words, at + 3, error)) return true;
    return Fail(error, "usage: slot N " + std::string(s->usage));
}

ConditionResult EvaluateCondition(const std::vector<std::string>& words, std::size_t at,
                                  const ConditionContext& context) {
    return FindByName(kTests, words[at])
        ->eval(Words(words.begin() + static_cast<std::ptrdiff_t>(at) + 1, words.end()), context);
}

std::string ConditionHelp() {
    std::string out;
    for (const Test& t : kTests) {
        std::string usage = t.usage;
        if (*t.help) usage += " (" + std::string(t.help) + ")";
        out += "  " + usage + "\n";
    }
    out += "  slot tests:\n";
    for (const SlotTest& t : kSlotTests) out += std::string("    slot N ") + t.usage + "\n";
    return out;
}

}  // namespace sim
