// A test fixture that is one game start: its own empty working folder (where the
// plug-in's files live), a fresh world and call log, and helpers to drive the
// plug-in through the stand-in.
#pragma once

#include <gtest/gtest.h>

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

    // Loads the plug-in (reading the settings file present now) and runs frames
    // until the script is in its frame loop (the player's ped exists by default).
    void StartAndSettle(int frames = 3);
    // Taps a key and runs one frame, then waits out the menu's input gate.
    void Press(int vk);
    // Runs enough frames for the menu's 150 ms input gate to open again.
    void WaitGate();

    std::string folder_;
    std::string previousFolder_;
};
