// The world and the plug-in's roster in words, for the terminal screen, the
// scenario transcript and the scenario expectations: who the player is and
// what he does, each roster slot's bodyguard, and the menu as drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "event_log.h"
#include "world.h"

namespace sim {

struct SlotView {
    bool occupied = false;
    std::int32_t ped = 0;
    std::string model;     // the game's model name
    std::string name;      // the name the plug-in gave the ped (may be empty)
    std::string gangName;  // "Dutch" for a gang member
    int health = 0, maxHealth = 0;
    bool dead = false;
    bool downed = false;
    int downedChecks = 0;
    bool staying = false;
    bool smoking = false;  // runs the staying scenario
    std::int32_t combatTarget = 0;
    bool inPlayerGroup = false;
    bool inCombat = false;       // fights someone, or someone fights it
    bool sensesLowered = false;  // seeing and hearing range cut down while the player sneaks
    int outfit = -1, outfitCount = 0;
    std::vector<std::string> weapons;  // names from the catalogue
    std::vector<std::string> prompts;  // texts of its prompts shown now
    bool builderPreview = false;       // the builder's bodyguard, not confirmed yet
    std::string State() const;         // "following", "staying", "downed 3/50", "dead", "attacking ..."
    std::string Label() const;         // "Dutch (CS_dutch)"
};

SlotView ViewOfSlot(int slot);
int OccupiedSlots();

// A prompt the player sees now: enabled, visible and not deleted, and either
// free-standing (the "Help" prompt) or tied to the prompt group of the ped
// the player targets.
struct ShownPrompt {
    std::int32_t handle = 0;
    std::string text;
    int slot = -1;  // the bodyguard it belongs to, -1 when unknown
};
std::vector<ShownPrompt> ShownPrompts();

// "slot 1 Dutch", "ped #104 (A_M_M_ValTownfolk_01)", "the player", "nobody".
std::string PedLabel(std::int32_t handle);
// The model name the world knows for a hash, else the hash in hex.
std::string ModelName(std::uint32_t model);

struct PlayerView {
    bool alive = true;
    std::string moving;      // "on foot", "mounted", "in a vehicle"
    bool crouching = false;  // moves crouched (sneaking)
    bool inCombat = false;   // fights someone, or someone fights him
    bool inSaloon = false;
};
PlayerView ViewOfPlayer();

// The menu as the frame drew it, by screen row.
struct MenuRow {
    bool present = false;
    std::string text;
    bool dimmed = false;
};
struct MenuView {
    static constexpr int kRows = 10;
    bool panel = false;  // the panel sprite was drawn
    int highlightRow = -1;
    MenuRow rows[kRows];
    std::vector<std::string> offRows;  // texts on rows outside 0..9
    bool Empty() const;
};
MenuView ViewOfMenu(const std::vector<standin::DisplayItem>& display);

// Several lines: the menu panel as text ("> Random Bodyguard" on the highlighted
// row, "(dim)" after dimmed lines).
std::vector<std::string> DescribeMenu(const MenuView& menu);
// The world in lines, for the screen and the transcript: the player, the
// keys and settings in force, each slot (its bodyguard's health, state,
// weapons and prompts, or free) and the strangers; `picked` is marked.
struct WorldLine {
    enum Tone { Plain, Bold, Dim, Good, Warn, Bad, Info } tone = Plain;
    std::string text;
    bool detail = false;  // a bodyguard's weapons and prompts: left out where room is short
};
std::vector<WorldLine> DescribeWorld(std::int32_t picked = 0);

// ---- what the player and the world do, where the game would have the player
// act; each action is noted in the event log.

// The peds the simulator put into the world itself: strangers to target and
// aim at, and the player's horse. A fresh world forgets them.
struct Extras {
    std::vector<std::int32_t> strangers;
    std::int32_t horse = 0;
};
Extras& GetExtras();
void ForgetExtras();

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

void SetMounted(EventLog& log, bool mounted);
void SetInVehicle(EventLog& log, bool inVehicle);
void KillPlayer(EventLog& log);
// The player crouches (sneaks) or stands up; on a horse or in a wagon he cannot crouch.
void SetCrouching(EventLog& log, bool crouching);
// `attacker` starts a fight with `target`; EndFights: nobody fights `ped` and it fights nobody.
void StartFight(EventLog& log, std::int32_t attacker, std::int32_t target);
void EndFights(EventLog& log, std::int32_t ped);
void RespawnPlayer(EventLog& log);
// Walks the player next to a ped (within reach of a "Help" prompt).
void WalkTo(EventLog& log, std::int32_t ped);
// Walks the player `metres` away along the world's y axis.
void WalkAway(EventLog& log, float metres);
// Into a saloon (the first of the plug-in's saloon interiors) or out of any interior.
void SetInSaloon(EventLog& log, bool inside);
void SetInterior(EventLog& log, std::int32_t interior);

// Why the world refuses a model name, in words; "" when it does not.
std::string ModelRefusal(const std::string& name);

// The slot's ped, or 0 when the slot is free or out of range.
std::int32_t PedOfSlot(int slot);

}  // namespace sim
