// One simulator run: the plug-in loaded into the stand-in host, the world
// advanced frame by frame, keys fed to the plug-in as a person types them, and
// every frame's events noted. The interactive screen and the scenario runner
// both drive the game through it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "call_log.h"
#include "event_log.h"
#include "world.h"

namespace sim {

// How every fresh world is set up: kept across restarts.
struct WorldSetup {
    std::uint32_t seed = 12345;
    int frameMs = 33;
    int modelLoadFrames = 1;
    std::vector<std::string> unavailableModels;  // IsModelAvailable answers 0
    std::vector<std::string> invalidModels;      // IsModelValid answers 0
    std::vector<std::string> knownModels;        // models the game knows beyond the catalogue
    std::deque<int> pendingRandom;               // scripted random numbers for the next world only
};

class Session {
  public:
    explicit Session(EventLog& log) : log_(log) {}

    WorldSetup& Setup() { return setup_; }

    // A fresh world and a game start in the current folder (the plug-in reads
    // its files there), then frames until the plug-in runs its frame loop.
    void Start();
    // The game ends and starts again: the plug-in reads its files again. With
    // freshWorld the world starts anew too (the player's surroundings, the
    // old bodyguards' peds).
    void Restart(bool freshWorld = true);
    void End();
    bool Started() const { return started_; }

    // One frame: queued keys delivered, clocks advanced, the script run for a
    // frame, then the frame's events noted.
    void Frame();
    void Frames(int count) {
        for (int i = 0; i < count; ++i) Frame();
    }
    void RunMs(int ms);

    // A key pressed once, as a person does it. Keys go to the plug-in one at a
    // time: while the menu is open, each waits until the menu's input gate is
    // open again. An arrow key is held down until the menu acts on it (or half
    // a second passes), since the menu reads the arrows as held; other keys
    // are pressed and released within one frame.
    void QueueKey(int vk);
    // True when no key is queued or held and the menu would take input now.
    bool KeysIdle() const;
    void SettleKeys(int maxFrames = 200) {
        for (int i = 0; i < maxFrames && !KeysIdle(); ++i) Frame();
    }
    int QueuedKeys() const { return static_cast<int>(keyQueue_.size()) + (current_.vk >= 0 ? 1 : 0); }

    // The menu as last drawn. While the script sleeps inside a frame (a model
    // loading, the pause after a spawn) nothing is drawn; the menu stays open,
    // so the last drawing is kept until the next one.
    const std::vector<standin::DisplayItem>& ShownDisplay() const { return shownDisplay_; }

    EventLog& Log() { return log_; }
    const EventLog& Log() const { return log_; }
    // When set, every game call of every frame is described into it; left out
    // are drawing and text, the menu timer, control and keyboard queries, name
    // hashing and the host's own calls.
    void SetCallSink(std::vector<std::string>* sink) { callSink_ = sink; }
    // Frames and game time over all the game starts of this run.
    long long TotalFrames() const { return totalFrames_; }
    long long TotalMs() const { return totalMs_; }
    int Starts() const { return starts_; }

  private:
    void Launch(bool freshWorld, const std::string& message);
    struct PendingKey {
        int vk = -1;
        bool navigation = false;
        std::int64_t deadlineMs = 0;
    };

    void Settle();
    bool LastFrameCalled(const char* name) const;
    bool MenuGateOpenNextFrame() const;
    bool ScriptTakesKeysNextFrame() const;
    void DeliverKeys();
    void ReleaseKeys();

    EventLog& log_;
    WorldSetup setup_;
    bool started_ = false;
    long long totalFrames_ = 0, totalMs_ = 0;
    int starts_ = 0;
    bool sawFrameLoop_ = false;     // the plug-in's frame loop has run since the start
    bool lastFrameTicked_ = false;  // the last frame ran a whole frame of that loop
    std::deque<int> keyQueue_;
    PendingKey current_;
    std::vector<standin::Call> lastCalls_;
    std::vector<standin::DisplayItem> shownDisplay_;
    std::vector<std::string>* callSink_ = nullptr;
};

}  // namespace sim
