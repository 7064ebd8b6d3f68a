// A test fixture that is one game start: its own empty working folder (where the
// plug-in's files live), a fresh world and call log, and helpers to drive the
// plug-in through the stand-in.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "call_log.h"
#include "driver.h"
#include "vk_codes.h"
#include "world.h"

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    standin::World& World() { return standin::GetWorld(); }
    standin::CallLog& Log() { return standin::GetCallLog(); }

    // Files in the test's working folder.
    void WriteFile(const std::string& name, const std::string& content);
    std::string ReadFile(const std::string& name);
    bool FileExists(const std::string& name);
    std::vector<std::string> FolderEntries();
    // Writes a settings file with the given lines under [SETTINGS] (before StartAndSettle).
    void WriteSettings(const std::string& lines);

    // Loads the plug-in (reading the settings file present now) and runs frames
    // until the script is in its frame loop (the player's ped exists by default).
    void StartAndSettle(int frames = 3);
    // Taps a key and runs one frame, then waits out the menu's input gate.
    void Press(int vk);
    // Runs enough frames for the menu's 150 ms input gate to open again.
    void WaitGate();
    // Holds an arrow key for one frame, lets it go and waits out the gate.
    void Arrow(int vk);
    // Presses Down until the menu's item variable `item` reads `target`.
    void MoveTo(const int& item, int target);

    std::string folder_;
    std::string previousFolder_;
};

// A frame rate timed behaviour is checked at: the length of each frame, and
// whether one frame half-way lasts HITCH_MS instead (a loading screen).
struct FramePace {
    int frameMs;
    bool hitch;
};
constexpr int HITCH_MS = 3000;
// 250, 144, 60, 30 and 20 frames a second, each without and with the hitch.
const std::vector<FramePace>& FramePaces();
void PrintTo(const FramePace& pace, std::ostream* out);
std::string PaceName(const ::testing::TestParamInfo<FramePace>& info);
// The length of the next frame of a run at `pace` that has lasted `elapsed` ms:
// with the hitch, the first frame from `hitchAt` on lasts HITCH_MS (`hitchDone`
// remembers it); every other one the pace's frame.
int PacedFrameMs(const FramePace& pace, std::int64_t elapsed, std::int64_t hitchAt, bool& hitchDone);
// Expects a periodic event `interval` ms after the one before it in the first
// frame past its period: more than `period`, at most `period` plus the frame it
// came in (`frameMs`). `what` names the event in a failure.
void ExpectFirstFrameAfterPeriod(std::int64_t interval, std::int64_t period, std::int64_t frameMs,
                                 const std::string& what = "");
// Runs frames at `pace` for at least `ms` of game time, calling `afterFrame`
// after each one; the world's frameMs is `pace.frameMs` afterwards.
void RunPaced(const FramePace& pace, int ms, const std::function<void()>& afterFrame);
