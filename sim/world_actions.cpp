#include <algorithm>

#include "keys.h"
#include "roster/roster.h"
#include "script/frame_tick.h"
#include "world.h"
#include "world_view.h"

namespace sim {

namespace {
Extras theExtras;
}  // namespace

std::string ModelRefusal(const std::string& name) {
    standin::World& w = standin::GetWorld();
    const std::uint32_t hash = w.HashName(name);
    if (Trim(name) != name) return "it carries stray spaces, and the game hashes them with the name";
    if (w.unavailableModels.count(hash))
        return "the game does not offer it (IsModelAvailable 0: model-unavailable)";
    if (!w.KnownModel(hash))
        return "it is not a model the game knows (not in the catalogue, and not declared with --known-model)";
    if (w.invalidModels.count(hash)) return "the game does not take it (IsModelValid 0: model-invalid)";
    return "";
}

Extras& GetExtras() {
    return theExtras;
}
void ForgetExtras() {
    theExtras = Extras();
}

std::int32_t PedOfSlot(int slot) {
    return slot >= 0 && slot < ROSTER_SIZE ? roster[slot].ped : 0;
}

std::int32_t SpawnStranger(EventLog& log, const std::string& model) {
    standin::World& w = standin::GetWorld();
    const standin::Vec3 me = w.PlayerPed().pos;
    const float offset = 6.0f + 2.0f * static_cast<float>(theExtras.strangers.size() % 8);
    const std::int32_t h = w.SpawnPed(w.HashName(model), {me.x + offset, me.y + 4.0f, me.z});
    theExtras.strangers.push_back(h);
    log.Add(EventKind::Action, "A stranger appears: " + PedLabel(h));
    return h;
}

std::vector<std::int32_t> PickableEntities() {
    std::vector<std::int32_t> out;
    for (const BodyguardRecord& r : roster) {
        if (r.ped != 0) out.push_back(r.ped);
    }
    standin::World& w = standin::GetWorld();
    for (std::int32_t h : theExtras.strangers) {
        const standin::Ped* p = w.FindPed(h);
        if (p && p->exists) out.push_back(h);
    }
    return out;
}

void SetTarget(EventLog& log, std::int32_t entity) {
    standin::GetWorld().player.target = entity;
    log.Add(EventKind::Action,
            entity ? "The player targets " + PedLabel(entity) : "The player targets nobody");
}

void SetAim(EventLog& log, std::int32_t entity) {
    standin::GetWorld().player.aimed = entity;
    log.Add(EventKind::Action,
            entity ? "The player aims at " + PedLabel(entity) : "The player aims at nothing");
}

bool CompleteShownPrompt(EventLog& log, std::int32_t prompt) {
    for (const ShownPrompt& s : ShownPrompts()) {
        if (s.handle != prompt) continue;
        if (!standin::GetWorld().CompletePrompt(prompt)) return false;
        std::string whose = s.slot >= 0 ? " on " + PedLabel(roster[s.slot].ped) : "";
        log.Add(EventKind::Action, "The player completes \"" + s.text + "\"" + whose);
        return true;
    }
    return false;
}

bool CompletePromptByText(EventLog& log, const std::string& text) {
    for (const ShownPrompt& s : ShownPrompts()) {
        if (SameText(s.text, text)) return CompleteShownPrompt(log, s.handle);
    }
    return false;
}

void DamagePed(EventLog& log, std::int32_t ped, int amount) {
    standin::World& w = standin::GetWorld();
    const std::string who = PedLabel(ped);
    w.Damage(ped, amount);
    const standin::Ped* p = w.FindPed(ped);
    log.Add(EventKind::Action, who + " takes " + std::to_string(amount) + " damage (health " +
                                   std::to_string(p ? p->health : 0) + ")");
}

void KillPed(EventLog& log, std::int32_t ped) {
    const std::string who = PedLabel(ped);
    standin::GetWorld().Kill(ped);
    log.Add(EventKind::Action, who + " is killed");
}

void HealPed(EventLog& log, std::int32_t ped) {
    standin::Ped* p = standin::GetWorld().FindPed(ped);
    if (!p || p->dead) return;
    p->health = p->maxHealth;
    log.Add(EventKind::Action, PedLabel(ped) + " is healed to " + std::to_string(p->health));
}

void SetMounted(EventLog& log, bool mounted) {
    standin::World& w = standin::GetWorld();
    standin::Ped& me = w.PlayerPed();
    if (mounted && (theExtras.horse == 0 || !w.FindPed(theExtras.horse)))
        theExtras.horse =
            w.SpawnPed(w.HashName("A_C_Horse_Morgan_Bay"), {me.pos.x + 1.5f, me.pos.y, me.pos.z});
    me.mount = mounted ? theExtras.horse : 0;
    me.inVehicle = me.inVehicle && !mounted;
    me.crouching = me.crouching && !mounted;
    log.Add(EventKind::Action, mounted ? "The player mounts his horse" : "The player dismounts");
}

void SetInVehicle(EventLog& log, bool inVehicle) {
    standin::Ped& me = standin::GetWorld().PlayerPed();
    me.inVehicle = inVehicle;
    me.crouching = me.crouching && !inVehicle;
    if (inVehicle) me.mount = 0;
    log.Add(EventKind::Action,
            inVehicle ? "The player gets into a wagon" : "The player gets out of the wagon");
}

void KillPlayer(EventLog& log) {
    standin::World& w = standin::GetWorld();
    w.Kill(w.player.ped);
    log.Add(EventKind::Action, "The player is killed");
}

void SetCrouching(EventLog& log, bool crouching) {
    standin::Ped& me = standin::GetWorld().PlayerPed();
    if (crouching && (me.mount != 0 || me.inVehicle || me.dead))
        return log.Add(EventKind::Action, "The player cannot crouch on a horse, in a wagon or dead");
    me.crouching = crouching;
    log.Add(EventKind::Action, crouching ? "The player crouches (sneaks)" : "The player stands up");
}

void StartFight(EventLog& log, std::int32_t attacker, std::int32_t target) {
    standin::GetWorld().StartFight(attacker, target);
    log.Add(EventKind::Action, "A fight: " + PedLabel(attacker) + " attacks " + PedLabel(target));
}

void EndFights(EventLog& log, std::int32_t ped) {
    standin::GetWorld().EndFights(ped);
    log.Add(EventKind::Action, "The fights of " + PedLabel(ped) + " end");
}

void RespawnPlayer(EventLog& log) {
    standin::World& w = standin::GetWorld();
    standin::Ped& me = w.PlayerPed();
    w.SetHealth(me, me.maxHealth);
    me.mount = 0;
    me.inVehicle = false;
    me.crouching = false;
    log.Add(EventKind::Action, "The player respawns");
}

void WalkTo(EventLog& log, std::int32_t ped) {
    standin::World& w = standin::GetWorld();
    const standin::Ped* p = w.FindPed(ped);
    if (!p) return;
    w.PlayerPed().pos = {p->pos.x, p->pos.y + 1.0f, p->pos.z};
    log.Add(EventKind::Action, "The player walks up to " + PedLabel(ped));
}

void WalkAway(EventLog& log, float metres) {
    standin::Ped& me = standin::GetWorld().PlayerPed();
    me.pos.y += metres;
    log.Add(EventKind::Action, "The player walks " + std::to_string(static_cast<int>(metres)) + " m away");
}

void SetInterior(EventLog& log, std::int32_t interior) {
    standin::GetWorld().player.interior = interior;
    log.Add(EventKind::Action,
            interior ? "The player enters interior " + std::to_string(interior) : "The player steps outside");
}

void SetInSaloon(EventLog& log, bool inside) {
    standin::GetWorld().player.interior = inside ? SALOON_INTERIORS[0] : 0;
    log.Add(EventKind::Action,
            inside ? "The player walks into a saloon (interior " + std::to_string(SALOON_INTERIORS[0]) + ")"
                   : "The player steps out of the saloon");
}

}  // namespace sim
