// What the player and the world do to the plug-in's bodyguards in the
// simulator, where the game would have the player act: target or aim at
// someone, complete a prompt, hurt or kill a ped, ride, drive, die and come
// back, walk about, enter a saloon. Each action is noted in the event log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "event_log.h"

namespace sim {

// The peds the simulator put into the world itself: strangers to target and
// aim at, and the player's horse. A fresh world forgets them.
struct Extras {
    std::vector<std::int32_t> strangers;
    std::int32_t horse = 0;
};
Extras& GetExtras();
void ForgetExtras();

// A stranger ped near the player; its handle.
std::int32_t SpawnStranger(EventLog& log, const std::string& model = "A_M_M_ValTownfolk_01");

// Entities the player can pick: occupied slots first (slot order), then the strangers.
std::vector<std::int32_t> PickableEntities();

void SetTarget(EventLog& log, std::int32_t entity);  // 0 = none
void SetAim(EventLog& log, std::int32_t entity);     // 0 = none

// Completes a prompt the player sees now; false (and nothing done) when it is not shown.
bool CompleteShownPrompt(EventLog& log, std::int32_t prompt);
// Completes the shown prompt with this text (case-insensitive); false when none is shown.
bool CompletePromptByText(EventLog& log, const std::string& text);

void DamagePed(EventLog& log, std::int32_t ped, int amount);
void KillPed(EventLog& log, std::int32_t ped);
void HealPed(EventLog& log, std::int32_t ped);

// The player: on a horse, in a vehicle, dead or alive, where he stands.
void SetMounted(EventLog& log, bool mounted);
void SetInVehicle(EventLog& log, bool inVehicle);
void KillPlayer(EventLog& log);
void RespawnPlayer(EventLog& log);
// Walks the player next to a ped (within reach of a "Help" prompt).
void WalkTo(EventLog& log, std::int32_t ped);
// Walks the player `metres` away along the world's y axis.
void WalkAway(EventLog& log, float metres);
// Into a saloon (the first of the plug-in's saloon interiors) or out of any interior.
void SetInSaloon(EventLog& log, bool inside);
void SetInterior(EventLog& log, std::int32_t interior);

// The slot's ped, or 0 when the slot is free or out of range.
std::int32_t PedOfSlot(int slot);

}  // namespace sim
