// A game start driven through the menu: key and control helpers that wait out
// the input gate, the save file's text, and a counter of completed saves.
#pragma once

#include <string>
#include <vector>

#include "game_test.h"

class MenuGameTest : public GameTest {
  protected:
    void TearDown() override;

    // A frontend control held for one frame; the gate is waited out.
    void Pad(const char* control);
    // Opens the menu with the menu key; the main page is on screen.
    void OpenMenu();
    // Moves the main page's highlight to `item` with the down arrow.
    void MoveTo(int item);

    // The save file's 43 values (the file is expected to be well formed).
    std::vector<int> SavedValues();
    // The save text of a roster with every slot free.
    static std::string AllFreeSave(int formation = 11);

    // Counts the saves that complete from now on: each one puts a new
    // "Tavrossimer.dat" in place.
    void StartCountingSaves();
    int SavesCounted();

    int watchFd_ = -1;
    int savesCounted_ = 0;
};
