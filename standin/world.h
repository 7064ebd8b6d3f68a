// The stand-in game world: everything the plug-in can observe or change through
// game functions, kept as plain data so tests and the simulator can set it up,
// drive it and look at it. Every clock is driven by the frame driver.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace standin {

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

struct GivenWeapon {
    std::uint32_t hash = 0;
    int a = 0, b = 0, place = 0;
    bool infiniteAmmo = false;
};

struct Ped {
    std::int32_t handle = 0;
    std::uint32_t model = 0;
    Vec3 pos;
    int health = 150, maxHealth = 150;
    bool dead = false;
    bool ragdoll = false;   // runs a ragdoll task
    bool exists = true;     // false once deleted
    bool deleted = false;   // DeletePed removed it
    bool released = false;  // handed back to the game (ReleasePedHandle)
    bool scriptOwned = false;
    bool survivesDeletion = false;  // a test can make DeletePed fail for this ped
    bool isPlayer = false;
    std::int32_t group = 0;  // group it is a member of (0: none)
    std::int32_t relationshipGroup = 0;
    std::int32_t promptGroup = 0;  // the ped's own prompt group id
    std::map<int, bool> configFlags;
    std::map<int, int> attributes;
    std::int32_t scenario = 0;          // scenario hash it runs (0: none)
    std::int32_t combatTarget = 0;      // the ped it fights (0: none); see World::InCombat
    bool crouching = false;             // moves crouched (sneaking)
    std::vector<std::int32_t> targets;  // AddPedTarget
    int outfit = -1;
    int outfitCount = 20;
    std::vector<GivenWeapon> weapons;
    std::string displayName;
    std::set<std::string> namedSets;
    float seeingRange = 0, hearingRange = 0;
    int intOptionA = 0, intOptionB = 0;
    bool teleportsToLeader = false;  // may teleport to its group's leader
    bool ambientAnimations = false;  // may play ambient animations
    // As last set (-1: never): random outfit variation, placed on the ground
    // properly, position frozen.
    int randomOutfitVariation = -1, placeOnGround = -1, frozen = -1;
    std::int32_t mount = 0;  // the horse it rides (0: none)
    bool inVehicle = false;  // no game function the plug-in calls reads it
    int painCount = 0, lastPainVariant = 0;
    int ragdollCount = 0;
};

struct Blip {
    std::int32_t handle = 0;
    std::uint32_t style = 0;
    std::int32_t entity = 0;
    std::string name;
    std::int32_t sprite = 0;
    bool exists = true;
};

struct Prompt {
    std::int32_t handle = 0;
    std::int32_t control = 0;
    std::string controlName;  // when the control hash came from a name the world has seen
    std::string text;
    std::int32_t holdTimeMs = 0;  // how long the control is held to complete it
    bool grouped = false;
    std::int32_t group = 0;
    int groupPage = 0;
    bool registrationEnded = false;
    bool enabled = false, visible = false;
    bool deleted = false;
    int completedFrame = -1;  // its hold completes in this frame (PromptHasCompleted)
};

struct DisplayItem {
    enum Kind { Sprite, Rect, Text } kind = Text;
    float x = 0, y = 0, width = 0, height = 0, heading = 0;
    int r = 255, g = 255, b = 255, a = 255;
    bool colourSet = false;  // text: SetTextColor came before it
    float scaleX = 0, scaleY = 0;
    bool scaleSet = false;
    std::string text;       // text as handed to the game (with its markup)
    std::string plainText;  // text with the font markup removed
    std::string dictionary, texture;
    int trailing1 = 0, trailing2 = 0;
};

struct Player {
    std::int32_t id = 0;
    std::int32_t ped = 1;
    bool pedExists = true;
    std::int32_t group = 7;
    std::int32_t relationshipGroup = 0;  // set from the name "PLAYER" at world start
    std::int64_t money = 100000;         // cents
    std::int32_t target = 0;             // entity the player targets (0: none)
    std::int32_t aimed = 0;              // entity the player aims at (0: none)
    std::int32_t interior = 0;
    std::vector<std::int32_t> charges;  // every ChargePlayer amount
};

// A use of a handle the plug-in had already given back to the game.
struct StaleUse {
    int frame;
    std::string call;
    std::int32_t handle;
};

// Handle look-ups without a map search. Handles are handed out in sequence
// from a base, so a handle's offset from it indexes a flat table of pointers
// into the map (whose nodes never move, and are never erased). An entry is
// filled the first time its handle is found; a handle outside the table is
// looked up in the map each time. It is not copied: a copy would point into
// another world's map.
template <typename T, std::int32_t Base>
class HandleIndex {
  public:
    HandleIndex() = default;
    HandleIndex(const HandleIndex&) = delete;
    HandleIndex& operator=(const HandleIndex&) = delete;

    T* Find(std::map<std::int32_t, T>& all, std::int32_t handle) {
        const std::uint32_t i = static_cast<std::uint32_t>(handle) - static_cast<std::uint32_t>(Base);
        if (i < entries_.size() && entries_[i] != nullptr) return entries_[i];
        auto it = all.find(handle);
        if (it == all.end()) return nullptr;
        if (i < entries_.size()) entries_[i] = &it->second;
        return &it->second;
    }

  private:
    std::array<T*, 4096> entries_{};
};

constexpr std::int32_t FIRST_PED_HANDLE = 100, FIRST_BLIP_HANDLE = 5000, FIRST_PROMPT_HANDLE = 9000;

struct World {
    // Clocks, all advanced by the driver once per frame.
    int frame = 0;
    int frameMs = 33;
    std::int64_t timeMs = 0;            // time since the world started
    std::int32_t gameTimer = 0;         // GetGameTimer
    std::uint32_t tickCount = 0;        // Windows GetTickCount
    std::uint32_t tickCountLeapMs = 0;  // added to the tick count each frame, on top of frameMs
    std::int32_t menuTimer = 100000;    // GetMenuTimer, restarted by SetMenuTimer

    Player player;
    std::map<std::int32_t, Ped> peds;
    std::map<std::int32_t, Blip> blips;
    std::map<std::int32_t, Prompt> prompts;
    std::int32_t nextPedHandle = FIRST_PED_HANDLE;
    std::int32_t nextBlipHandle = FIRST_BLIP_HANDLE;
    std::int32_t nextPromptHandle = FIRST_PROMPT_HANDLE;
    HandleIndex<Ped, 0> pedIndex;  // the player's ped (1) and the others share one table
    HandleIndex<Blip, FIRST_BLIP_HANDLE> blipIndex;
    HandleIndex<Prompt, FIRST_PROMPT_HANDLE> promptIndex;

    // Models.
    std::map<std::uint32_t, std::string> hashNames;  // every name HashOfName has seen
    // The game knows the catalogue's models and these (which a user can
    // declare); it refuses any other name, even one that differs from a known
    // name only by a stray space (the name is hashed with it).
    std::set<std::string> extraModels;
    std::set<std::uint32_t> unavailableModels;        // IsModelAvailable answers 0 even for a known model
    std::set<std::uint32_t> invalidModels;            // IsModelValid answers 0 even for a known model
    int modelLoadFrames = 1;                          // frames from request to loaded; -1 never
    std::map<std::uint32_t, int> modelLoadFramesFor;  // per-model override
    std::map<std::uint32_t, int> modelReadyFrame;     // requested models: frame they are loaded
    std::map<std::uint32_t, int> outfitCounts;        // per-model outfit count (default 20)
    int modelRequests = 0, modelReleases = 0;
    bool safePositionFails = false;  // FindSafePosition finds nothing and writes nothing
    bool createPedFails = false;     // CreatePed makes no ped and answers 0

    // Groups and sets.
    std::map<std::int32_t, int> groupFormation;
    std::map<std::int32_t, float> groupSeparation;
    std::set<std::string> namedSets;

    // Frontend controls (pressed, just released: read even while the game
    // disables them) and the keyboard-in-use flag.
    std::set<std::int32_t> controlsHeld;
    std::set<std::int32_t> controlsTriggered;  // this frame only
    bool usingKeyboard = true;

    // Random numbers: scripted values first, then the seeded generator.
    std::deque<int> scriptedRandom;
    std::mt19937 rng{12345};

    // Text handles of this frame and the frame's display list.
    std::map<std::uint64_t, std::string> texts;
    std::uint64_t nextTextHandle = 0x7000000000000001ull;
    std::vector<DisplayItem> display;
    DisplayItem pendingText;  // the scale and colour set for the next text only

    int sounds = 0;
    std::string lastSound, lastSoundSet;
    std::vector<StaleUse> staleUses;

    // Advances the frame counter and every clock by frameMs; the game's 32-bit
    // clocks wrap as the game's do.
    void AdvanceClocks();

    // Helpers for tests and the simulator.
    Ped* FindPed(std::int32_t handle) { return pedIndex.Find(peds, handle); }
    Prompt* FindPrompt(std::int32_t handle) { return promptIndex.Find(prompts, handle); }
    Blip* FindBlip(std::int32_t handle) { return blipIndex.Find(blips, handle); }
    Ped& PlayerPed() { return peds[player.ped]; }
    std::int32_t SpawnPed(std::uint32_t model, Vec3 pos);  // a stranger, owned by the game
    std::uint32_t HashName(const std::string& name);       // the game's name hash, remembered
    std::string NameOfHash(std::uint32_t hash) const;
    bool KnownModel(std::uint32_t hash) const;
    // Health set (0 or less: dead, more: alive), lowered by `amount`, or 0. A
    // ped that dies fights nobody any more, and nobody fights it.
    void SetHealth(Ped& ped, int health);
    void Damage(std::int32_t ped, int amount);
    void Kill(std::int32_t ped) {
        if (Ped* p = FindPed(ped)) SetHealth(*p, 0);
    }
    // A live ped fighting, or fought by, a live ped is in combat.
    bool InCombat(std::int32_t ped) const;
    // `attacker` fights `target` (a stranger whose target is the player starts
    // a fight with him); EndFights: `ped` fights nobody and nobody fights it.
    void StartFight(std::int32_t attacker, std::int32_t target);
    void EndFights(std::int32_t ped);
    bool CompletePrompt(std::int32_t prompt);  // completes it for the next frame, if shown
    int NextRandom(int min, int max);
    std::vector<const Ped*> PedsInNamedSet(const std::string& set) const;
};

World& GetWorld();
// A fresh world: the player standing, no peds but the player's, clocks at their start.
void ResetWorld();

// The game's name hash: Jenkins one-at-a-time over the lower-cased name.
std::uint32_t GameHash(const char* name);

}  // namespace standin
