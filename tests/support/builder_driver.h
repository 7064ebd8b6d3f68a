// Driving the menu with key events, the way a player reaches the builder and
// the model pages: arrows held for one frame, Enter and Backspace tapped, and
// the 150 ms input gate waited out after every action.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_test.h"
#include "script_calls.h"

class BuilderDriverTest : public GameTest {
  protected:
    void Left() { Arrow(VK_LEFT_KEY); }
    void Right() { Arrow(VK_RIGHT_KEY); }
    void Enter() { Press(VK_ENTER_KEY); }
    void Back() { Press(VK_BACK_KEY); }
    void Home() { Press(VK_HOME_KEY); }

    // From a closed menu: the menu key, then "Custom Bodyguard".
    void OpenBuilder();
    // From the builder: "Choose Model", then the category item (0 Female,
    // 1 Male, 2 Gang Member, 3 Custom list, 4 ALL).
    void OpenModelPage(int category);
    // On a model list page: Right `steps` times on the selector.
    void StepModel(int steps);
    // On a model list page: accept on "Spawn" and run until the hire is over.
    void AcceptSpawn();
    // From a closed menu: builder, model page, model index `index`, spawn.
    void SpawnModel(int category, int index);

    // The lines of the last frame as "row:text", dimmed ones as "row:~text".
    std::vector<std::string> Lines();
};
