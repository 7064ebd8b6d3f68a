// The world and the plug-in's roster in words, for the terminal screen, the
// scenario transcript and the scenario expectations: who the player is and
// what he does, each roster slot's bodyguard, and the menu as drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world.h"

namespace sim {

struct SlotView {
    int slot = 0;
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
    std::string control;
    int slot = -1;  // the bodyguard it belongs to, -1 when unknown
};
std::vector<ShownPrompt> ShownPrompts();

// "slot 1 Dutch", "stranger #104 (A_M_M_ValTownfolk_01)", "the player", "nobody".
std::string PedLabel(std::int32_t handle);
// The model name the world knows for a hash, else the hash in hex.
std::string ModelName(std::uint32_t model);
// The weapon's name from the sidearm and longarm tables, else its hash in hex.
std::string WeaponName(std::uint32_t hash);
// The slot holding the ped, or -1.
int SlotOfPed(std::int32_t ped);

struct PlayerView {
    bool alive = true;
    std::string moving;      // "on foot", "mounted", "in a vehicle"
    std::int64_t money = 0;  // cents
    int health = 0;
    std::int32_t target = 0, aimed = 0;
    std::int32_t interior = 0;
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
// Screen row of a text's y and of a highlight centre's y.
int TextRowOfY(float y);
int HighlightRowOfY(float y);

// Several lines: the menu panel as text ("> Random Bodyguard" on the highlighted
// row, "(dim)" after dimmed lines).
std::vector<std::string> DescribeMenu(const MenuView& menu);
// Several lines: the player and every occupied slot.
std::vector<std::string> DescribeWorld();

}  // namespace sim
