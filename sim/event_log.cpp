#include "event_log.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <sstream>

#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "keys.h"
#include "menu/state.h"
#include "persist/custom_peds.h"
#include "persist/save_file.h"
#include "world.h"
#include "world_view.h"

namespace sim {

void EventLog::Add(EventKind kind, const std::string& text) {
    const standin::World& w = standin::GetWorld();
    events_.push_back({w.frame, w.timeMs, kind, text});
    ++count_;
    while (events_.size() > kKept) events_.pop_front();
}

std::vector<Event> EventLog::Since(std::uint64_t count) const {
    const std::uint64_t wanted =
        std::min<std::uint64_t>(count >= count_ ? 0 : count_ - count, events_.size());
    return std::vector<Event>(events_.end() - static_cast<std::ptrdiff_t>(wanted), events_.end());
}

namespace {

// The problems of saves that ended without success, and those of the save
// under way: a later step of the same save may still land it.
std::vector<std::string> saveProblems;
std::vector<std::string> currentSaveProblems;

SaveStamp StampOf(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0) return {};
    return {true, static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
            static_cast<std::int64_t>(st.st_size)};
}

}  // namespace

void NoteSaveStarted() {
    saveProblems.insert(saveProblems.end(), currentSaveProblems.begin(), currentSaveProblems.end());
    currentSaveProblems.clear();
}

void NoteSaveProblem(const std::string& what) {
    currentSaveProblems.push_back(what);
}

void NoteSaveLanded() {
    currentSaveProblems.clear();
}

WorldSnapshot TakeSnapshot() {
    standin::World& w = standin::GetWorld();
    WorldSnapshot s;
    s.menuPage = menu.menuPage;
    s.lastSpawnSlot = builder.lastSpawnSlot;
    for (int i = 0; i < ROSTER_SIZE; ++i) {
        s.slots[i] = roster[i];
        s.inCombat[i] = w.InCombat(roster[i].ped);
        if (const standin::Ped* p = w.FindPed(roster[i].ped)) s.seeingRange[i] = p->seeingRange;
    }
    s.playerDead = w.PlayerPed().dead;
    s.playerInCombat = w.InCombat(w.player.ped);
    auto f = w.groupFormation.find(w.player.group);
    s.formation = f == w.groupFormation.end() ? -1 : f->second;
    s.save = StampOf(SAVE_FILE_NAME);
    s.staleUses = w.staleUses.size();
    return s;
}

// Page numbers index these: the scenario word and the name shown.
constexpr const char* kPages[][2] = {{"closed", "closed"},
                                     {"main", "main page"},
                                     {"builder", "custom bodyguard builder"},
                                     {"roster-full", "roster-full notice"},
                                     {"category", "model categories"},
                                     {"female", "female models"},
                                     {"male", "male models"},
                                     {"gang", "gang members"},
                                     {"all", "all models"},
                                     {"custom", "custom list"},
                                     {"invalid-model", "invalid-model notice"}};

const char* PageName(int page) {
    return page >= 0 && page < static_cast<int>(std::size(kPages)) ? kPages[page][1] : "unknown page";
}

int PageOfWord(const std::string& word) {
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        if (Lower(word) == kPages[i][0]) return static_cast<int>(i);
    }
    return IsInteger(word) ? static_cast<int>(ToInt(word)) : -100;
}

std::string Dollars(std::int64_t cents) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s$%lld.%02lld", cents < 0 ? "-" : "", std::llabs(cents / 100),
                  std::llabs(cents % 100));
    return buf;
}

std::string DescribeSaveFile(const std::string& content) {
    std::istringstream in(content);
    std::vector<long long> values;
    long long v;
    constexpr std::size_t kValues = SAVE_FILE_VALUE_COUNT;
    while (values.size() < kValues && in >> v) values.push_back(v);
    // Each slot's values start with its model category; the formation comes last.
    constexpr std::size_t kPerSlot = (kValues - 1) / SAVED_SLOT_COUNT;
    int bodyguards = 0;
    for (std::size_t i = 0; i < values.size() && i < kValues - 1; i += kPerSlot) {
        if (values[i] >= 0 && values[i] <= CATEGORY_CUSTOM) ++bodyguards;
    }
    std::string out = std::to_string(bodyguards) + (bodyguards == 1 ? " bodyguard" : " bodyguards");
    if (values.size() < kValues)
        return out + " (" + std::to_string(values.size()) + " of " + std::to_string(kValues) + " values)";
    const long long formation = values[kValues - 1];
    return out + ", formation " +
           (formation == FORMATION_AUTO ? std::string("Auto") : std::to_string(formation));
}

namespace {

std::string SlotName(int slot, std::int32_t ped) {
    const SlotView v = ViewOfSlot(slot);
    if (v.occupied && v.ped == ped) return v.Label();
    const standin::Ped* p = standin::GetWorld().FindPed(ped);
    if (!p) return "ped #" + std::to_string(ped);
    return p->displayName.empty() ? ModelName(p->model) : p->displayName + " (" + ModelName(p->model) + ")";
}

void NoteRosterChanges(const WorldSnapshot& before, const WorldSnapshot& after, EventLog& log) {
    standin::World& w = standin::GetWorld();
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const BodyguardRecord& b = before.slots[s];
        const BodyguardRecord& a = after.slots[s];
        const std::string slot = "slot " + std::to_string(s);
        if (b.ped != 0 && b.ped != a.ped) {
            const standin::Ped* p = w.FindPed(b.ped);
            const std::string who = SlotName(s, b.ped);
            const char* what = !b.downed                            ? " died"
                               : b.downedChecks >= BLEED_OUT_CHECKS ? " died (bled out)"
                                                                    : " died while down";
            if (!p || !p->dead)
                what = p && p->deleted ? " was removed (builder discarded)" : " was dismissed";
            log.Add(p && p->dead ? EventKind::Death : EventKind::Dismiss,
                    who + what + "; " + slot + " is free");
        }
        if (a.ped != 0 && a.ped != b.ped) {
            const std::string who = SlotName(s, a.ped);
            log.Add(EventKind::Hire, after.lastSpawnSlot == s
                                         ? "Spawned " + who + " into " + slot + " for the builder"
                                         : "Hired " + who + " into " + slot);
            continue;
        }
        if (a.ped == 0 || a.ped != b.ped) continue;
        const std::string who = SlotName(s, a.ped);
        if (before.lastSpawnSlot == s && after.lastSpawnSlot != s)
            log.Add(EventKind::Hire, "Confirmed " + who + " in " + slot);
        if (!b.downed && a.downed) {
            const standin::Ped* p = w.FindPed(a.ped);
            log.Add(EventKind::Downed, who + " went down (health " + std::to_string(p ? p->health : 0) + ")");
        }
        if (b.downed && !a.downed) log.Add(EventKind::Revive, who + " was revived");
        if (a.downed && a.downedChecks > b.downedChecks)
            log.Add(EventKind::Downed, who + " is down: check " + std::to_string(a.downedChecks) + " of " +
                                           std::to_string(BLEED_OUT_CHECKS));
        if (!b.staying && a.staying) log.Add(EventKind::Order, who + " stays here");
        if (before.inCombat[s] != after.inCombat[s])
            log.Add(EventKind::Order, who + (after.inCombat[s] ? " is in combat" : " is out of combat"));
        // The seeing and hearing ranges: cut down while the player sneaks, back when he stands or fights.
        const float seeing = after.seeingRange[s], seen = before.seeingRange[s];
        if (seen > 0 && seeing != seen)
            log.Add(EventKind::Order, who + (seeing < seen ? "'s senses lowered" : "'s senses restored") +
                                          " (seeing and hearing range " +
                                          std::to_string(static_cast<int>(seeing)) + " m)");
        if (b.staying && !a.staying) log.Add(EventKind::Order, who + " follows the player");
    }
}

void NoteCalls(const std::vector<standin::Call>& calls, EventLog& log) {
    standin::World& w = standin::GetWorld();
    std::map<std::int32_t, int> attackOrders;
    for (const standin::Call& c : calls) {
        if (c.Is("ChargePlayer")) {
            log.Add(EventKind::Charge, "Charged " + Dollars(c.I(0)) + " (" + std::to_string(c.I(0)) +
                                           " cents); money now " + Dollars(w.player.money));
        } else if (c.Is("TaskCombatPed")) {
            ++attackOrders[c.I(1)];
        }
    }
    for (const auto& [target, n] : attackOrders) {
        log.Add(
            EventKind::Order,
            std::to_string(n) + (n == 1 ? " bodyguard attacks " : " bodyguards attack ") + PedLabel(target));
    }
}

}  // namespace

void NoteFrameEvents(const WorldSnapshot& before, const WorldSnapshot& after,
                     const std::vector<standin::Call>& calls, EventLog& log) {
    standin::World& w = standin::GetWorld();
    if (before.menuPage != after.menuPage) {
        log.Add(EventKind::Menu, after.menuPage == PAGE_CLOSED
                                     ? std::string("Menu closed")
                                     : (before.menuPage == PAGE_CLOSED ? "Menu opened: " : "Menu: ") +
                                           std::string(PageName(after.menuPage)));
        const std::size_t shown = static_cast<std::size_t>(menu.customModelIndex);
        if (after.menuPage == PAGE_INVALID_MODEL && shown < customPedNames.size())
            log.Add(EventKind::Warning, "The game refused the custom model \"" + customPedNames[shown] +
                                            "\": " + ModelRefusal(customPedNames[shown]));
    }
    NoteRosterChanges(before, after, log);
    NoteCalls(calls, log);
    if (before.formation != after.formation && after.formation >= 0)
        log.Add(EventKind::Order, "Group formation set to " + std::to_string(after.formation));
    if (!before.playerDead && after.playerDead) log.Add(EventKind::Player, "The player died");
    if (before.playerInCombat != after.playerInCombat)
        log.Add(EventKind::Player,
                after.playerInCombat ? "The player is in combat" : "The player is out of combat");
    if (before.playerDead && !after.playerDead) log.Add(EventKind::Player, "The player is alive again");
    if (after.save != before.save) {
        std::string saved;
        ReadTextFile(SAVE_FILE_NAME, &saved);
        log.Add(EventKind::Save, after.save.exists
                                     ? std::string("Saved ") + SAVE_FILE_NAME + ": " + DescribeSaveFile(saved)
                                     : std::string(SAVE_FILE_NAME) + " was removed");
    }
    // A save ends within the frame that made it: what is still noted did not land.
    NoteSaveStarted();
    for (const std::string& p : saveProblems) log.Add(EventKind::Warning, "Save failed: " + p);
    saveProblems.clear();
    for (std::size_t i = before.staleUses; i < after.staleUses && i < w.staleUses.size(); ++i) {
        const standin::StaleUse& u = w.staleUses[i];
        log.Add(EventKind::Warning, "the plug-in used handle " + std::to_string(u.handle) + " in " + u.call +
                                        " after giving it back to the game");
    }
}

}  // namespace sim
