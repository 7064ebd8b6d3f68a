// What every hired bodyguard does each frame: prompts and orders, group upkeep
// and formation, attack orders, going down, revive and death.
#pragma once

#include <cstdint>

#include "roster/roster.h"

// Caches of the player, refreshed by each bodyguard's periodic step.
extern std::int32_t playerPed;
extern std::int32_t playerGroup;
extern std::int32_t playerRelationshipGroup;
extern std::int32_t targetEntity;        // what the player targets, asked once per frame
extern std::int32_t nextFormationTime;   // game time of the next formation refresh
extern bool onFootSettingsActive;        // the on-foot settings were last applied (one flag for all)

constexpr const char* SMOKE_SCENARIO = "WORLD_HUMAN_SMOKE";
constexpr int DOWNED_HEALTH = 500;
constexpr int BLEED_OUT_CHECKS = 50;

// The bodyguard section of the frame: target query, attack key, follow-all key,
// formation refresh, then the pass over the seven slots.
void BodyguardSection();
void BodyguardPass();

// Prompt routines.
void CreateBodyguardPrompt(std::int32_t* prompt, const char* control, bool tieToGroup, std::int32_t ped,
                           const char* text, int number);
void SetPromptActive(std::int32_t prompt, bool enabled, bool visible);

// Command prompts and orders.
void TargetQuery();
// Returns false when the record was dismissed (its turn ends).
bool UpdateCommandPrompts(BodyguardRecord& record);
void OrderStay(BodyguardRecord& record);
void OrderFollow(BodyguardRecord& record);

// Following and formations.
void FollowAllKeyCheck();
void FormationRefresh();
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

// Puts the caches above back to their load values.
void ResetBehaviourState();
