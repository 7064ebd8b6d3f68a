#include "world_view.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "config/settings.h"
#include "driver.h"
#include "keys.h"
#include "menu/state.h"
#include "roster/roster.h"
#include "script/frame_tick.h"

namespace sim {

namespace {

std::string Hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

bool PromptShownNow(const standin::Prompt& p) {
    return !p.deleted && p.enabled && p.visible;
}

// A bodyguard's prompts, in the order the world panel lists them.
std::array<std::int32_t, 6> PromptsOf(const BodyguardRecord& r) {
    return {r.showCommandsPrompt, r.hideCommandsPrompt, r.stayPrompt,
            r.followPrompt,       r.dismissPrompt,      r.helpPrompt};
}

// The weapon's name from the sidearm and longarm tables, else its hash in hex.
std::string WeaponName(std::uint32_t hash) {
    if (hash == 0) return "nothing";
    for (int i = 0; i < SIDEARM_COUNT; ++i) {
        if (sidearmHashes[i] == hash) return sidearmNames[i];
    }
    for (int i = 0; i < LONGARM_COUNT; ++i) {
        if (longarmHashes[i] == hash) return longarmNames[i];
    }
    return Hex(hash);
}

}  // namespace

std::string SlotView::State() const {
    if (dead) return "dead";
    if (downed) return "downed " + std::to_string(downedChecks) + "/" + std::to_string(BLEED_OUT_CHECKS);
    if (combatTarget != 0) return "attacking " + PedLabel(combatTarget);
    if (staying) return smoking ? "staying (smoking)" : "staying";
    return "following";
}

std::string SlotView::Label() const {
    std::string who = !name.empty() ? name : (!gangName.empty() ? gangName : model);
    if (who != model && !model.empty()) who += " (" + model + ")";
    return who;
}

SlotView ViewOfSlot(int slot) {
    SlotView v;
    if (PedOfSlot(slot) == 0) return v;
    const BodyguardRecord& r = roster[slot];
    standin::World& w = standin::GetWorld();
    v.occupied = true;
    v.ped = r.ped;
    v.downed = r.downed;
    v.downedChecks = r.downedChecks;
    v.staying = r.staying;
    v.builderPreview = builder.lastSpawnSlot == slot;
    if (r.modelCategory == CATEGORY_GANG && r.modelIndex >= 0 && r.modelIndex < GANG_MEMBER_COUNT)
        v.gangName = gangMemberNames[r.modelIndex];
    if (const standin::Ped* p = w.FindPed(r.ped)) {
        v.model = ModelName(p->model);
        v.name = p->displayName;
        v.health = p->health;
        v.maxHealth = p->maxHealth;
        v.dead = p->dead;
        v.smoking = p->scenario != 0;
        v.combatTarget = p->combatTarget;
        v.inPlayerGroup = p->group != 0 && p->group == w.player.group;
        v.inCombat = w.InCombat(r.ped);
        v.sensesLowered = p->seeingRange > 0 && p->seeingRange < 10 && p->hearingRange < 10;
        v.outfit = p->outfit;
        v.outfitCount = p->outfitCount;
        for (const standin::GivenWeapon& g : p->weapons) {
            if (g.hash != 0) v.weapons.push_back(WeaponName(g.hash));
        }
    } else if (r.modelCategory >= 0 && r.modelCategory < CATEGORY_COUNT && r.modelIndex >= 0 &&
               r.modelIndex < modelCatalogue[r.modelCategory].count) {
        v.model = modelCatalogue[r.modelCategory].names[r.modelIndex];
    }
    for (std::int32_t h : PromptsOf(r)) {
        const standin::Prompt* p = w.FindPrompt(h);
        if (h != 0 && p && PromptShownNow(*p)) v.prompts.push_back(p->text);
    }
    return v;
}

int OccupiedSlots() {
    return static_cast<int>(std::count_if(std::begin(roster), std::end(roster),
                                          [](const BodyguardRecord& r) { return r.ped != 0; }));
}

std::vector<ShownPrompt> ShownPrompts() {
    standin::World& w = standin::GetWorld();
    std::int32_t targetGroup = 0;
    if (const standin::Ped* t = w.FindPed(w.player.target)) targetGroup = t->promptGroup;
    std::vector<ShownPrompt> out;
    for (const auto& [h, p] : w.prompts) {
        if (!PromptShownNow(p)) continue;
        if (p.grouped && (targetGroup == 0 || p.group != targetGroup)) continue;
        ShownPrompt s{h, p.text};
        for (int i = 0; i < ROSTER_SIZE && s.slot < 0; ++i) {
            const auto own = PromptsOf(roster[i]);
            if (roster[i].ped != 0 && std::find(own.begin(), own.end(), h) != own.end()) s.slot = i;
        }
        out.push_back(s);
    }
    return out;
}

std::string ModelName(std::uint32_t model) {
    const std::string n = standin::GetWorld().NameOfHash(model);
    return n.empty() ? Hex(model) : n;
}

std::string PedLabel(std::int32_t handle) {
    if (handle == 0) return "nobody";
    standin::World& w = standin::GetWorld();
    if (handle == w.player.ped) return "the player";
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
        if (roster[slot].ped == handle)
            return "slot " + std::to_string(slot) + " " + ViewOfSlot(slot).Label();
    }
    const standin::Ped* p = w.FindPed(handle);
    if (!p) return "entity #" + std::to_string(handle);
    if (w.PlayerPed().mount == handle) return "the player's horse #" + std::to_string(handle);
    return "ped #" + std::to_string(handle) + " (" + ModelName(p->model) + ")";
}

PlayerView ViewOfPlayer() {
    standin::World& w = standin::GetWorld();
    const standin::Ped& me = w.PlayerPed();
    PlayerView v;
    v.alive = !me.dead;
    v.moving = me.inVehicle ? "in a vehicle" : (me.mount != 0 ? "mounted" : "on foot");
    v.crouching = me.crouching;
    v.inCombat = w.InCombat(me.handle);
    for (int id : SALOON_INTERIORS) v.inSaloon = v.inSaloon || (id == w.player.interior && id != 0);
    return v;
}

bool MenuView::Empty() const {
    return !panel && highlightRow < 0 && offRows.empty() &&
           std::none_of(std::begin(rows), std::end(rows), [](const MenuRow& r) { return r.present; });
}

MenuView ViewOfMenu(const std::vector<standin::DisplayItem>& display) {
    MenuView m;
    for (const standin::DisplayItem& d : display) {
        switch (d.kind) {
            case standin::DisplayItem::Sprite: m.panel = true; break;
            case standin::DisplayItem::Rect:
                if (standin::IsHighlightBar(d)) m.highlightRow = standin::HighlightRowOfY(d.y);
                break;
            case standin::DisplayItem::Text: {
                const int row = standin::TextRowOfY(d.y);
                if (row >= 0 && row < MenuView::kRows)
                    m.rows[row] = {true, d.plainText, standin::IsDimmedText(d)};
                else
                    m.offRows.push_back(d.plainText);
                break;
            }
        }
    }
    return m;
}

std::vector<std::string> DescribeMenu(const MenuView& menu) {
    if (menu.Empty()) return {"(menu closed)"};
    std::vector<std::string> out;
    for (int r = 0; r < MenuView::kRows; ++r) {
        const MenuRow& row = menu.rows[r];
        std::string line = std::to_string(r) + (menu.highlightRow == r ? " > " : "   ");
        if (row.present) line += row.text + (row.dimmed ? "  (dim)" : "");
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out.push_back(line);
    }
    for (const std::string& t : menu.offRows) out.push_back("  (off the panel) " + t);
    return out;
}

std::vector<WorldLine> DescribeWorld(std::int32_t picked) {
    std::vector<WorldLine> out;
    standin::World& w = standin::GetWorld();
    const PlayerView p = ViewOfPlayer();
    out.push_back({p.alive ? WorldLine::Bold : WorldLine::Bad,
                   std::string("Player: ") + (p.alive ? "alive" : "DEAD") + ", " + p.moving +
                       (p.crouching ? ", crouching" : "") + (p.inCombat ? ", IN COMBAT" : "") + ", " +
                       Dollars(w.player.money) + ", health " + std::to_string(w.PlayerPed().health) +
                       (p.inSaloon ? ", in a saloon" : "")});
    out.push_back({WorldLine::Plain,
                   "  targets " + PedLabel(w.player.target) + "; aims at " + PedLabel(w.player.aimed)});
    out.push_back({WorldLine::Dim, "Keys: menu " + KeyLabel(SPAWN_MENU_KEY) + ", attack " +
                                       KeyLabel(ATTACK_KEY) + ", follow-all " + KeyLabel(FOLLOW_ALL)});
    for (const KeySetting& k : kKeySettings) {
        if (!KeyReachable(*k.value)) out.push_back({WorldLine::Warn, "  " + KeyProblem(k.name, *k.value)});
    }
    out.push_back(
        {WorldLine::Dim,
         "Settings: price $" + std::to_string(PRICE) + ", revive " + (ALLOW_REVIVE ? "on" : "off") +
             ", health " + std::to_string(spawnHealth) + ", saloons only " +
             (ONLY_IN_SALOONS ? "on" : "off") + ", formation " +
             (formationMode == FORMATION_AUTO ? std::string("Auto") : std::to_string(formationMode))});
    out.push_back({WorldLine::Bold,
                   "Bodyguards " + std::to_string(OccupiedSlots()) + "/" + std::to_string(ROSTER_SIZE)});
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const SlotView v = ViewOfSlot(s);
        const std::string head =
            std::string(v.occupied && v.ped == picked ? " > " : "   ") + "[" + std::to_string(s) + "] ";
        if (!v.occupied) {
            out.push_back({WorldLine::Dim, head + "free"});
            continue;
        }
        const WorldLine::Tone tone = v.dead      ? WorldLine::Bad
                                     : v.downed  ? WorldLine::Warn
                                     : v.staying ? WorldLine::Info
                                                 : WorldLine::Plain;
        // Health and state first: they stay in sight on a narrow screen.
        out.push_back({tone, head + std::to_string(v.health) + "/" + std::to_string(v.maxHealth) + " " +
                                 v.State() + (v.inCombat ? ", in combat" : "") +
                                 (v.sensesLowered ? ", senses lowered" : "") + "  " + v.Label() +
                                 "  outfit " + (v.outfit < 0 ? std::string("-") : std::to_string(v.outfit)) +
                                 "/" + std::to_string(v.outfitCount) +
                                 (v.builderPreview ? "  (builder)" : "") +
                                 (w.player.target == v.ped ? "  <targeted>" : "")});
        std::string detail;
        for (const std::string& n : v.weapons) detail += (detail.empty() ? "" : ", ") + n;
        detail = "       " + (detail.empty() ? std::string("unarmed") : detail);
        if (!v.prompts.empty()) detail += "  |";
        for (const std::string& t : v.prompts) detail += " [" + t + "]";
        out.push_back({WorldLine::Dim, detail, true});
    }
    const std::vector<std::int32_t>& strangers = GetExtras().strangers;
    if (!strangers.empty()) out.push_back({WorldLine::Bold, "Strangers"});
    for (std::size_t i = 0; i < strangers.size(); ++i) {
        const standin::Ped* ped = w.FindPed(strangers[i]);
        if (!ped) continue;
        out.push_back({ped->dead ? WorldLine::Bad : WorldLine::Plain,
                       std::string(strangers[i] == picked ? " > " : "   ") + std::to_string(i + 1) + ". " +
                           PedLabel(strangers[i]) + "  hp " + std::to_string(ped->health) +
                           (ped->dead ? "  dead" : "") +
                           (w.player.target == strangers[i] ? "  <targeted>" : "") +
                           (w.player.aimed == strangers[i] ? "  <aimed at>" : "")});
    }
    return out;
}

}  // namespace sim
