// The seven bodyguard slots: the plug-in's only store of hired bodyguards.
#pragma once

#include <cstdint>

#include "persist/save_file.h"

constexpr int ROSTER_SIZE = 7;

// Every hired bodyguard joins this named set of the game; the script registers
// it once at startup.
constexpr const char* NAMED_SET = "Tavrossimer";
constexpr int NAMED_SET_KIND = 3;

// The group formation chosen in the menu and saved with the roster: 0 to 10 is
// one of the game's formations; FORMATION_AUTO lets the behaviour pick one by
// whether the player is mounted.
constexpr int FORMATION_AUTO = 11;
extern int formationMode;

struct BodyguardRecord {
    std::int32_t ped = 0;  // 0: the slot is free
    std::int32_t modelCategory = -1;
    std::int32_t modelIndex = -1;
    std::int32_t sidearm = 0;
    std::int32_t secondSidearm = 0;
    std::int32_t longarm = 0;
    std::int32_t outfit = 0;  // -1: none given
    std::int32_t blip = 0;
    std::int32_t dismissPrompt = 0;
    std::int32_t helpPrompt = 0;
    std::int32_t stayPrompt = 0;
    std::int32_t followPrompt = 0;
    std::int32_t nextUpdateTime = 0;  // game time (ms) before which the periodic step waits
    bool downed = false;
    std::int32_t downedChecks = 0;
    bool staying = false;
    std::int32_t showCommandsPrompt = 0;
    std::int32_t hideCommandsPrompt = 0;
    bool promptsCreated = false;
    bool commandsShown = false;
    // A saved bodyguard whose model cannot be used at this start (the custom
    // list is missing or shorter, or the game does not offer the model now)
    // waits here while its slot stays free: the save file keeps its line, so it
    // comes back at a later start. A hire into the slot or a dismissal ends it.
    bool held = false;
    SavedLoadout heldLoadout;
};

extern BodyguardRecord roster[ROSTER_SIZE];

// Puts the record back to the free slot's state, BodyguardRecord{}.
void ClearRecord(BodyguardRecord& record);

// Lowest free slot, or -1 when all seven are taken.
int FirstFreeSlot();

// Hires a bodyguard into the first free slot: creates, dresses and arms the ped
// near (x, y, z), joins it to the player's group, gives it health, its "Help"
// prompt, its name and blip. -1 for a weapon or outfit means none. Returns the
// slot, or -1 when the roster is full or the model never loaded.
int HireBodyguard(int category, int modelIndex, int outfit, int sidearm, int secondSidearm, int longarm,
                  float x, float y, float z);
// The same into the free slot `slot`; returns it, or -1 when that slot is not
// a free slot of the roster or the model never loaded.
int HireBodyguardInto(int slot, int category, int modelIndex, int outfit, int sidearm, int secondSidearm,
                      int longarm, float x, float y, float z);

// Loads the model (waiting a bounded time) and creates the ped; 0 when the model
// never loaded.
std::int32_t CreateBodyguardPed(std::int32_t model, float x, float y, float z);

// How long CreateBodyguardPed waits for a model before giving up, in
// milliseconds of the host's tick count, and the most one frame counts for.
constexpr std::uint32_t MODEL_LOAD_TIME_LIMIT_MS = 15000;
constexpr std::uint32_t MODEL_WAIT_STEP_LIMIT_MS = 1000;

// Hands the ped back to the game, removes blip and prompts, clears the slot and
// writes the save file.
void DismissBodyguard(BodyguardRecord& record);
void DismissAll();
// Deletes the ped of a bodyguard that never really joined (the builder's
// preview), or moves it out of the way when the game keeps it, then dismisses
// it. A slot number outside the roster names nobody: nothing happens.
void DeleteBodyguard(int slot);

// The six fields of a record that the save file keeps.
SavedLoadout LoadoutOf(const BodyguardRecord& record);
void SetLoadout(BodyguardRecord& record, const SavedLoadout& loadout);

// Writes every slot's loadout (or its held record) and formationMode to the
// save file.
void SaveRoster();
// Reads the save file into the slots' loadout fields and formationMode; a
// missing, short or damaged file loads as far as it goes.
void LoadRoster();

// What the startup makes of a saved record: it comes back, it is broken (its
// slot is cleared), or its model cannot be used at this start (it waits in the
// save file). CheckSavedRanges makes the three checks that need no game call:
// the model list, the row within it, and the two weapon rows.
enum class RecordCheck { Usable, Broken, ModelUnusableNow };
RecordCheck CheckSavedRanges(const BodyguardRecord& record);

// Startup: brings the loaded records back beside the player, each at
// (base.x, base.y - 2.0 + i, base.z) for saved record i.
void RespawnSavedRoster(float baseX, float baseY, float baseZ);
