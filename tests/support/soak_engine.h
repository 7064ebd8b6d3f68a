// A long random game: the whole plug-in on the stand-in, driven by a seeded mix
// of what a player and the game do (keys, frontend controls, targeting, prompt
// completions, damage, deaths, crouching, mounts, fights, settings and restarts), with
// the plug-in's promises checked after every single frame:
// - at most seven bodyguards, and the plug-in's live peds are exactly the peds
//   of the occupied slots, each once, each existing in the world;
// - every prompt and blip the plug-in holds belongs to an occupied slot, and
//   whatever it created for a bodyguard that has left is deleted or given back;
// - no game call gets a handle the plug-in has given back (see HandleUse in the
//   .cpp for what counts as given back) or one the game never gave out;
// - every menu state value and every loadout field stays within its range;
// - the save file on disk is always complete, and no other file appears;
// - every charge is the capped price;
// - after each restart the respawned roster is the saved one, with nobody twice,
//   and the next save writes back what was loaded.
//
// Shared by tests/soak_test.cpp and the fuzz targets; nothing here depends on
// GoogleTest. Runs in the current folder (the caller chooses it).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace soak {

struct Stats {
    long frames = 0;
    long actions = 0;
    long restarts = 0;
    long hires = 0;      // a slot became occupied
    long leaves = 0;     // a slot became free
    long respawned = 0;  // bodyguards brought back by restarts
    long promptsCompleted = 0;
    long charges = 0;
    long saves = 0;  // the save file's text changed
    int mostBodyguards = 0;
    long framesWithMenuOpen = 0;
    std::map<int, long> pagesSeen;  // menu.menuPage -> frames
};

class Engine {
  public:
    explicit Engine(std::uint64_t seed);

    // Writes the settings and custom list for a first start, starts the game
    // and runs it into its frame loop. Returns "" or what went wrong.
    std::string Begin();

    // One action chosen at random, with the frames it takes.
    std::string Step();

    // One action chosen by the caller (`kind` modulo the number of kinds),
    // `arg` choosing its details: for fuzzing.
    std::string Act(unsigned kind, unsigned arg);

    const Stats& GetStats() const { return stats_; }
    std::string Summary() const;

    // Ends the game (the folder's files stay).
    void End();

  private:
    std::string Frame();
    std::string Frames(int count);
    std::string Check();
    std::string CheckCalls();
    std::string CheckMenuState();
    std::string CheckRoster();
    std::string CheckFiles();
    std::string Restart();
    std::string StartAndRespawn();
    std::string CheckRespawn();
    void ConfigureRun(bool first);
    void PrepareWorld();
    std::string Fail(const std::string& what) const;
    void Note(const std::string& action);

    std::string Tap(int vk, unsigned arg);
    std::string Hold(int vk, unsigned arg);
    std::string HireMacro();
    std::string DismissMacro(unsigned arg);
    std::string BuildMacro(unsigned arg);
    std::vector<std::int32_t> Bodyguards() const;
    std::int32_t PickBodyguard(unsigned arg) const;
    std::int32_t PickPedOrNone(unsigned arg) const;

    std::mt19937_64 rng_;
    Stats stats_;
    std::deque<std::string> recent_;  // the last actions, for failure messages

    // The current game start.
    std::set<std::int32_t> pluginPeds_;   // every ped CreatePed gave the plug-in
    std::map<std::int32_t, int> goneAt_;  // plug-in ped -> frame it was deleted or released
    std::vector<std::int32_t> strangers_;
    std::int32_t horse_ = 0;
    int customCount_ = 0;
    std::set<std::uint32_t> unusableModels_;
    std::string savedAtRestart_;  // the save file's text when the game was restarted
    std::string lastSaveText_;
    std::int32_t occupiedBefore_[7] = {};
    int chargeCents_ = 0;
    bool modelsStall_ = false;
    bool inLoop_ = false;  // the script has reached its frame loop
};

}  // namespace soak
