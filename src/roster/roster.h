// The seven bodyguard slots: the plug-in's only store of hired bodyguards.
#pragma once

#include <cstdint>

constexpr int ROSTER_SIZE = 7;

struct BodyguardRecord {
    std::int32_t ped;  // 0: the slot is free
    std::int32_t modelCategory;
    std::int32_t modelIndex;
    std::int32_t sidearm;
    std::int32_t secondSidearm;
    std::int32_t longarm;
    std::int32_t outfit;  // -1: none given
    std::int32_t blip;
    std::int32_t dismissPrompt;
    std::int32_t helpPrompt;
    std::int32_t stayPrompt;
    std::int32_t followPrompt;
    std::int32_t nextUpdateTime;  // game time (ms) before which the periodic step waits
    bool downed;
    std::int32_t downedChecks;
    bool staying;
    std::int32_t showCommandsPrompt;
    std::int32_t hideCommandsPrompt;
    bool promptsCreated;
    bool commandsShown;
};

// A free slot: no ped, no model, every other field zero.
constexpr BodyguardRecord CLEARED_RECORD = {0, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, false, 0, false, 0, 0, false, false};

extern BodyguardRecord roster[ROSTER_SIZE];

void ClearRecord(BodyguardRecord& record);

// Lowest free slot, or -1 when all seven are taken.
int FirstFreeSlot();

// Hires a bodyguard into the first free slot: creates, dresses and arms the ped
// near (x, y, z), joins it to the player's group, gives it health, its "Help"
// prompt, its name and blip. -1 for a weapon or outfit means none. Returns the
// slot, or -1 when the roster is full or the model never loaded.
int HireBodyguard(int category, int modelIndex, int outfit, int sidearm, int secondSidearm, int longarm, float x,
                  float y, float z);

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
// Removes the builder's preview bodyguard (deleting its ped when asked) and
// resets the builder's choices; nothing happens when lastSpawnSlot is -1.
void DiscardBuilderBodyguard(int& lastSpawnSlot, int& lastSpawnCategory, int& lastSpawnModelIndex, bool deletePed);

// Startup: brings the loaded records back beside the player, each at
// (base.x, base.y - 2.0 + i, base.z) for saved record i.
void RespawnSavedRoster(float baseX, float baseY, float baseZ);
