// The attack key, going down, the "Help" prompt that revives, bleeding out and
// death of a downed bodyguard.
//
// With ALLOW_REVIVE on, a bodyguard spawns with 500 health more than
// BODYGUARD_HEALTH; below 500 it goes down instead of fighting on. The player
// can help it up while standing next to it on foot; otherwise it is checked
// every 5000 ms and dies at the 51st check, or at once when the player is dead.
#include "behaviour/behaviour.h"
#include "config/settings.h"
#include "game/natives.h"
#include "host/keyboard.h"

namespace {

void KnockDown(std::int32_t ped) {
    SetPedToRagdoll(ped, 10000, 15000, 0, 1, 1, 1);
}

}  // namespace

void AttackKeyCheck() {
    if (!KeyCodeUsable(ATTACK_KEY) || !KeyJustReleased(ATTACK_KEY)) return;
    ResetKeyState(ATTACK_KEY);
    const std::int32_t player = GetPlayerId();
    std::int32_t target = 0;
    GetPlayerAimedEntity(player, &target);
    if (IsEntityAPed(target) == 0) return;
    // Staying, following and downed bodyguards all get the order.
    for (const BodyguardRecord& r : roster) {
        if (r.ped == 0) continue;
        AddPedTarget(r.ped, target, 1);
        TaskCombatPed(r.ped, target, 0, 0);
    }
}

void HelpPromptStep(BodyguardRecord& r) {
    bool active = false;
    if (r.downed) {
        behaviour.playerPed = GetPlayerPed();
        if (IsPedOnFoot(behaviour.playerPed) != 0) {
            const Vector3 b = GetEntityCoords(r.ped, 1, 0);
            const Vector3 p = GetEntityCoords(behaviour.playerPed, 1, 0);
            active = CoordDistance(p.x, p.y, p.z, b.x, b.y, b.z) < REVIVE_DISTANCE;
        }
    }
    SetPromptActive(r.helpPrompt, active, active);
    if (PromptHasCompleted(r.helpPrompt) != 0) ReviveBodyguard(r);
}

void ReviveBodyguard(BodyguardRecord& r) {
    SetPromptActive(r.helpPrompt, false, false);
    const std::int32_t health = GetEntityMaxHealth(r.ped, 0);
    SetEntityHealth(r.ped, health, 0);
    r.downed = false;
    r.downedChecks = 0;
    ClearPedTasks(r.ped, 1, 1);
}

void DownedDetection(BodyguardRecord& r) {
    if (!ALLOW_REVIVE || r.downed) return;
    if (GetEntityHealth(r.ped) < DOWNED_HEALTH) {
        r.downed = true;
        KnockDown(r.ped);
    }
}

void DownedStep(BodyguardRecord& r) {
    if (IsEntityDead(r.ped) != 0) {
        DismissBodyguard(r);
        return;
    }
    if (IsPedRagdoll(r.ped) == 0) KnockDown(r.ped);
    RefreshPedRagdoll(r.ped);
    const std::int32_t variant = RandomIntInRange(9, 12);
    PlayPedPain(r.ped, variant, 1.0f, 0, 0);
    r.downedChecks += 1;
    // The player's death is asked only while the bodyguard still has checks left.
    if (r.downedChecks > BLEED_OUT_CHECKS || IsEntityDead(behaviour.playerPed) != 0) {
        SetEntityHealth(r.ped, 0, 0);
        DismissBodyguard(r);
        return;
    }
    r.nextUpdateTime = GameTimeAfter(GetGameTimer(), DOWNED_CHECK_PERIOD_MS);
}

float CoordDistance(float x1, float y1, float z1, float x2, float y2, float z2) {
    return GetDistanceBetweenCoords(x1, y1, z1, x2, y2, z2);
}
