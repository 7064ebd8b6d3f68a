// What every hired bodyguard does each frame: prompts and orders, group upkeep
// and formation, attack orders, going down, revive and death.
#pragma once

#include <cstdint>

#include "roster/prompts.h"
#include "roster/roster.h"

struct BehaviourState {
    // Caches of the player, refreshed by each bodyguard's periodic step.
    std::int32_t playerPed = 0;
    std::int32_t playerGroup = 0;
    std::int32_t playerRelationshipGroup = 0;
    std::int32_t targetEntity = 0;       // what the player targets, asked once per frame
    std::int32_t nextFormationTime = 0;  // game time of the next formation refresh
    bool onFootSettingsActive = false;   // the on-foot settings were last applied (one flag for all)
};
extern BehaviourState behaviour;

constexpr const char* SMOKE_SCENARIO = "WORLD_HUMAN_SMOKE";
constexpr int DOWNED_HEALTH = 500;
constexpr int BLEED_OUT_CHECKS = 50;
constexpr float REVIVE_DISTANCE = 1.5f;

// Periods of the game-time deadlines, in milliseconds.
constexpr std::int32_t FORMATION_PERIOD_MS = 5000;
constexpr std::int32_t FOLLOWING_PERIOD_MS = 2000;
constexpr std::int32_t DOWNED_CHECK_PERIOD_MS = 5000;

// Config flag 130 goes with the expanded order prompts; 158 with walking on foot.
constexpr std::int32_t CONFIG_FLAG_COMMANDS = 130;
constexpr std::int32_t CONFIG_FLAG_ON_FOOT = 158;

// Group formations the "Auto" setting switches between.
constexpr int FORMATION_MOUNTED = 5;
constexpr int FORMATION_ON_FOOT = 0;
constexpr float GROUP_SEPARATION_RANGE = 8000.0f;
constexpr float FOLLOW_SETTING_ON_FOOT = 1.0f;
constexpr float FOLLOW_SETTING_NORMAL = 50.0f;

// Game time `ms` after `now`. The game's clock is a 32-bit millisecond count;
// the sum wraps with it instead of overflowing.
inline std::int32_t GameTimeAfter(std::int32_t now, std::int32_t ms) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(now) + static_cast<std::uint32_t>(ms));
}

// Whether the game time `deadline` lies before `now`: the signed comparison of
// the two, made on their difference so that it holds across the clock's wrap
// past the largest 32-bit value. (Comparing the values themselves would find a
// deadline set just before the wrap, which wrapped already, passed in every
// frame until the clock wraps too: a downed bodyguard would bleed out in
// seconds.)
inline bool GameTimePassed(std::int32_t deadline, std::int32_t now) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(deadline)) >
           0;
}

// The bodyguard section of the frame: target query, attack key, follow-all key,
// formation refresh, then the pass over the seven slots.
void BodyguardSection();
void BodyguardPass();

// Command prompts and orders.
void TargetQuery();
// Returns false when the record was dismissed (its turn ends).
bool UpdateCommandPrompts(BodyguardRecord& record);
void OrderStay(BodyguardRecord& record);
void OrderFollow(BodyguardRecord& record);

// Following and formations.
void FollowAllKeyCheck();
void FormationRefresh();
// Refreshes the player caches, then runs the downed, staying or following step.
void PeriodicStep(BodyguardRecord& record);
void StayingStep(BodyguardRecord& record);
void FollowingStep(BodyguardRecord& record);

// Combat, downed and revive.
void AttackKeyCheck();
void HelpPromptStep(BodyguardRecord& record);
void DownedDetection(BodyguardRecord& record);
void ReviveBodyguard(BodyguardRecord& record);
void DownedStep(BodyguardRecord& record);
float CoordDistance(float x1, float y1, float z1, float x2, float y2, float z2);
