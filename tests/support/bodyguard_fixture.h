// A game start with bodyguards put straight into the roster, for the behaviour
// suites: no hiring, no menu, just a ped in the world and its record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_test.h"
#include "script_calls.h"

// The calls a record's periodic step starts with, as an expected transcript
// ({player} for the player's ped handle).
constexpr char kPeriodicStepStart[] =
    "GetPlayerPed(); GetPlayerId(); GetPlayerGroup(0); GetPedRelationshipGroupHash({player})";

class BodyguardTest : public GameTest {
  protected:
    // Puts a bodyguard into roster slot `slot` as a hire leaves it: a ped `dx`
    // metres east of the player with `health` (also its maximum), in the
    // player's group and relationship group, and a "Help" prompt registered,
    // disabled and hidden. Returns the ped's handle.
    std::int32_t PlaceBodyguard(int slot, int health = 1000, float dx = 3.0f);

    // A ped that is not a bodyguard (someone to aim at).
    std::int32_t SpawnStranger();

    // The prompt exists, is enabled and visible.
    bool PromptActive(std::int32_t prompt);

    // Game calls since `mark` (host calls left out), optionally only those named `name`.
    std::vector<const standin::Call*> GameCalls(std::size_t mark, const char* name = nullptr);
    // Index in the game calls since `mark` of the first call named `name` at or
    // after position `from`, or -1.
    int IndexOf(std::size_t mark, const char* name, int from = 0);
    // The same, for a call whose first argument is `handle`.
    int IndexOfOn(std::size_t mark, const char* name, std::int32_t handle, int from = 0);

    // Runs frames until `ped`'s record in `slot` has made `count` downed checks
    // (at most `maxFrames`); returns whether it got there.
    bool RunUntilDownedChecks(int slot, int count, int maxFrames = 20000);
};

// The first argument's low 32 bits as a handle.
std::int32_t Handle(const standin::Call* call, std::size_t arg = 0);
