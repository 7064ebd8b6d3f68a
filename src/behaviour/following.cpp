// The bodyguard section of the frame and its walk over the roster: group and
// relationship upkeep, the formation, the on-foot settings, holding a staying
// bodyguard in its scenario, and the FOLLOW_ALL key.
//
// The bodyguards follow as members of the player's group; the game steers
// them. The plug-in only keeps them in the group, keeps the group's formation
// in step with the menu's choice, and switches three follow settings while the
// player walks.
#include "behaviour/behaviour.h"
#include "config/settings.h"
#include "game/natives.h"
#include "host/keyboard.h"

BehaviourState behaviour;

namespace {

// The on-foot settings: flag 158 and both follow settings change together.
void ApplyOnFootSettings(std::int32_t ped) {
    SetPedConfigFlag(ped, CONFIG_FLAG_ON_FOOT, true);
    SetPedFollowSettingA(ped, FOLLOW_SETTING_ON_FOOT);
    SetPedFollowSettingB(ped, FOLLOW_SETTING_ON_FOOT);
    behaviour.onFootSettingsActive = true;
}

void ResetFollowSettings(std::int32_t ped) {
    SetPedConfigFlag(ped, CONFIG_FLAG_ON_FOOT, false);
    SetPedFollowSettingA(ped, FOLLOW_SETTING_NORMAL);
    SetPedFollowSettingB(ped, FOLLOW_SETTING_NORMAL);
    behaviour.onFootSettingsActive = false;
}

}  // namespace

void BodyguardSection() {
    TargetQuery();
    AttackKeyCheck();
    FollowAllKeyCheck();
    FormationRefresh();
    BodyguardPass();
}

void BodyguardPass() {
    for (BodyguardRecord& r : roster) {
        if (r.ped == 0) continue;
        if (!UpdateCommandPrompts(r)) continue;  // dismissed
        HelpPromptStep(r);
        DownedDetection(r);
        if (GameTimePassed(r.nextUpdateTime, GetGameTimer())) PeriodicStep(r);
    }
}

void FollowAllKeyCheck() {
    if (!KeyCodeUsable(FOLLOW_ALL) || !KeyJustReleased(FOLLOW_ALL)) return;
    ResetKeyState(FOLLOW_ALL);
    // Record 0 decides for everybody, even when it is free; free records take
    // the new state too (their game calls get handle 0), so a bodyguard hired
    // into one later starts in it.
    if (roster[0].staying) {
        for (BodyguardRecord& r : roster) OrderFollow(r);
    } else {
        for (BodyguardRecord& r : roster) OrderStay(r);
    }
}

void FormationRefresh() {
    const std::int32_t now = GetGameTimer();
    if (!GameTimePassed(behaviour.nextFormationTime, now)) return;
    int formation = formationMode;
    if (formation == FORMATION_AUTO)
        formation = GetMount(behaviour.playerPed) != 0 ? FORMATION_MOUNTED : FORMATION_ON_FOOT;
    SetGroupFormation(behaviour.playerGroup, formation);
    behaviour.nextFormationTime = GameTimeAfter(GetGameTimer(), FORMATION_PERIOD_MS);
}

void PeriodicStep(BodyguardRecord& r) {
    behaviour.playerPed = GetPlayerPed();
    behaviour.playerGroup = GetPlayerGroup(GetPlayerId());
    behaviour.playerRelationshipGroup = GetPedRelationshipGroupHash(behaviour.playerPed);
    if (r.downed) {
        DownedStep(r);
    } else if (r.staying) {
        StayingStep(r);
    } else {
        FollowingStep(r);
    }
}

void StayingStep(BodyguardRecord& r) {
    // A staying bodyguard that dies without going down first (revive off) must
    // leave the roster like a following one does.
    if (IsEntityDead(r.ped) != 0) {
        DismissBodyguard(r);
        return;
    }
    // The deadline is not renewed: this runs every frame, so a bodyguard pulled
    // out of its scenario goes back to it in the next frame.
    if (IsPedUsingScenario(r.ped, HashOfName(SMOKE_SCENARIO)) == 0) {
        TaskStartScenarioInPlace(r.ped, HashOfName(SMOKE_SCENARIO), 0, 0, 0, 1.0f, 0);
    }
}

void FollowingStep(BodyguardRecord& r) {
    const std::int32_t ped = r.ped;
    if (IsPedUsingScenario(ped, HashOfName(SMOKE_SCENARIO)) != 0) ClearPedTasks(ped, 1, 1);
    if (GetPedRelationshipGroupHash(ped) != behaviour.playerRelationshipGroup) {
        SetPedRelationshipGroupHash(ped, behaviour.playerRelationshipGroup);
    }
    if (IsPedGroupMember(ped, behaviour.playerGroup, 1) == 0) SetPedAsGroupMember(ped, behaviour.playerGroup);
    SetGroupSeparationRange(behaviour.playerGroup, GROUP_SEPARATION_RANGE);

    if (IsEntityDead(ped) != 0) {
        DismissBodyguard(r);
        return;
    }

    if (IsPedInAnyVehicle(behaviour.playerPed, 0) == 0 && IsPedInAnyVehicle(ped, 0) == 0) {
        if (IsPedOnFoot(behaviour.playerPed) != 0) {
            ApplyOnFootSettings(ped);
        } else if (GetPedConfigFlag(ped, CONFIG_FLAG_ON_FOOT, 1) != 0) {
            ResetFollowSettings(ped);
        }
    } else if (behaviour.onFootSettingsActive) {
        // One flag for all records: only the first following bodyguard whose
        // step runs after the player boards is reset here.
        ResetFollowSettings(ped);
    }

    r.nextUpdateTime = GameTimeAfter(GetGameTimer(), FOLLOWING_PERIOD_MS);
}
